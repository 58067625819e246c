// Records of the stand-in runtime: one line per record, fields separated by
// a TAB, UTF-8, appended to the file named by JL_FAKEJVM_LOG (no variable, no
// log). Backslash, TAB, CR and LF inside a field are escaped as \\, \t, \r
// and \n; FakeJvmLog.h undoes that.
#pragma once

#include <initializer_list>
#include <string>

namespace fakejvm {

void WriteRecord(std::initializer_list<std::wstring> fields);

// Writes "fakejvm: <message>" to the log (record "fatal") and to standard
// error, then ends the process with kFatalExitCode. Used for every misuse a
// real VM would crash on or reject, so that faults surface loudly.
[[noreturn]] void FailLoudly(const std::wstring& message);

constexpr unsigned kFatalExitCode = 0x4A4E49;

}  // namespace fakejvm
