// The module system of the stand-in runtime (helper variant): the modules
// that the module path and the runtime's release file make observable, the
// boot layer resolved while the VM is created, and the helper's module mode.
#pragma once

#include <string>

#include "ClassTable.h"

namespace fakejvm {

// "--module-path=" and "--add-modules=" with a value; other options false.
bool NoteModuleOption(const char* option);
// Resolves the main module (-Djdk.module.main) and the added modules. One
// that is not observable ends the VM as a real one does while it starts: its
// text on the standard error stream (and a "bootlayer" record), the abort
// hook, exit code 1.
void ResolveBootLayer(AbortHook abortHook);
// checkAndLoadMain's mode 3 for "module/class" (the stand-in's modules name
// no main class of their own): the class; a class it cannot find is reported
// on stream and ends the program (System.exit(1)); a module outside the boot
// layer throws InternalError and gives null.
const ClassInfo* ModuleMainClass(const std::wstring& text, const Ref& stream);

}  // namespace fakejvm
