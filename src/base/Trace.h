#pragma once

#include "base/List.h"
#include "base/Text.h"

// The launch trace: a diagnostics channel that says why a launch went the
// way it did. When the environment variable JLAUNCH_TRACE names a file,
// StartTrace opens it for appending and every event becomes one line of
// UTF-8 text:
//
//     <milliseconds since the start> ms [<process id>] <event>
//
// Without the variable, or when the file cannot be opened, nothing is
// written and every JL_TRACE costs the test of one flag: its arguments are
// not evaluated. Each line goes to the file with one write on a handle opened
// for appending, so launches that share a trace file do not mix their lines.

extern bool g_traceOn;

// Reads JLAUNCH_TRACE once and opens the file it names; a file that cannot be
// opened is ignored. Called first thing in the process.
void StartTrace();
// Opens path as the trace file; false when it cannot be opened, and tracing
// then stays off.
bool OpenTrace(const wchar_t* path);
// Closes the trace file; tracing is off afterwards.
void StopTrace();

// One event line; format (ASCII) as FormatText: %s UTF-16 text, %d, %u. Control
// characters in the text are written as \r, \n, \t or \xNN, so one event
// stays one line.
void TraceLine(const char* format, ...);
// One line per item: "<label> <n>: <item>", n counting from 1.
void TraceList(const wchar_t* label, const StringList& items);
// The same for 8-bit texts in the thread's ANSI code page.
void TraceAnsiList(const wchar_t* label, const AnsiList& items);

#define JL_TRACE(...) (g_traceOn ? TraceLine(__VA_ARGS__) : void())
#define JL_TRACE_IF(condition, ...) ((g_traceOn && (condition)) ? TraceLine(__VA_ARGS__) : void())
// Runs a function that writes trace lines of its own.
#define JL_TRACE_CALL(call) (g_traceOn ? (call) : void())
