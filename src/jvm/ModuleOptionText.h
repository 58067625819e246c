#pragma once

#include "base/Text.h"

// The texts of the module options, free of system calls.

// The items of a separated list with the blanks around each removed and the
// empty ones left out, joined again by separator: "a; ;b;" gives "a;b" and
// "javafx.controls, javafx.fxml" gives "javafx.controls,javafx.fxml". The
// runtime takes neither empty items nor blanks inside a module name.
String CompactList(const String& text, wchar_t separator);
