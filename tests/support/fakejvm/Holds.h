// Points at which the stand-in runtime waits for a test, as a real VM takes
// its time: each is a named event given by an environment variable and is
// waited for at most kHoldLimitMs. Without the variable nothing waits.
//
//   JL_FAKEJVM_CREATE_HOLD  JNI_CreateJavaVM, before it does anything
//   JL_FAKEJVM_MAIN_HOLD    main of test.Hold and test.HoldThrows
//   JL_FAKEJVM_END_HOLD     after test.Hold's main: DestroyJavaVM waits, as
//                           for a program whose windows are still open
//
// JL_FAKEJVM_TIMES names a file to which "loaded" (the JVM library was
// mapped) and "main" (main started) are appended with the precise system
// time in 100 ns units, for scripts/bench.
#pragma once

#include <string>

namespace fakejvm {

constexpr unsigned long kHoldLimitMs = 60000;

// Waits for the event named by the variable; false when the variable is not set.
bool WaitForHold(const wchar_t* variable);
void WriteTime(const wchar_t* event);

}  // namespace fakejvm
