#pragma once

#include "base/Text.h"

#include <stdint.h>

// Rules of the restart exit code, free of system calls. When the Java
// program ends with the "Restart Code", the launcher starts its own
// executable again; a mark in the new process's environment tells it which
// process to wait for, which single-instance role to take and how often the
// application has restarted lately.

// Restarts within kRestartWindowMs after which the next one is refused.
constexpr int kRestartsPerWindow = 5;
constexpr uint64_t kRestartWindowMs = 60000;
// How long a restarted launcher waits for the one that started it to end.
constexpr unsigned kRestartWaitMs = 10000;

// "Restart Code": a decimal number from 1 to 255; anything else is 0, no
// restart.
int RestartCodeFromText(const String& value);

struct RestartMark {
    unsigned long parentId = 0;        // the process that restarted this one
    uint64_t times[kRestartsPerWindow] = {};  // restarts of the last minute, in ms since the system started
    int count = 0;
    String instanceName;               // the single-instance role handed on, or empty
};

// "<parent id>;<time>,<time>,...;<instance name>", numbers in hexadecimal.
String FormatRestartMark(const RestartMark& mark);
// False for text of another form (mark then as constructed).
bool ParseRestartMark(const String& text, RestartMark& mark);

// Whether one more restart at now is allowed. False when kRestartsPerWindow
// restarts lie within the window before now; otherwise the restart at now is
// added and the times that have left the window are dropped.
bool RecordRestart(RestartMark& mark, uint64_t now);
