#pragma once

#include <stddef.h>

// The "release" file in a runtime's home folder: KEY="value" lines written by
// the runtime's maker. Only the maker's name is read from it.

// True when the IMPLEMENTOR line of the file's text names IBM ("IBM ..." or
// "International Business Machines ..."). Quotes around the value, blanks
// around it and CR LF line ends are allowed; nothing past length is read.
bool ReleaseTextNamesIbm(const char* text, size_t length);
