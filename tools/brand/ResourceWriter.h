#pragma once

// Replaces every resource of a PE file by a new set, in memory, without any
// Windows call: the resource section is built anew in place of the old one,
// the sections after it move in the file (and in memory, when only the base
// relocations live there), and the section table, the image size, the
// resource directory and the checksum follow.

#include "Bytes.h"
#include "ResourceTree.h"

#include <string>
#include <vector>

// False with the reason, leaving file alone, when the file has no resource
// section of its own or when the resources would have to grow over a section
// that cannot move. A certificate table must be removed first: the changed
// file would no longer match it.
bool ReplaceResources(Bytes& file, const std::vector<StoredResource>& resources, std::wstring& reason);
