#pragma once

#include "base/Text.h"

// Names of the objects through which the starts of a single-instance
// application meet, built from the identity of the launcher's executable
// (see ExecutableIdentity): the instance block and the registered message
// carry the name alone, the others add a suffix. The name is "jlaunch_" and
// sixteen hexadecimal digits, whatever the identity's length.
String InstanceObjectName(const String& identity, const wchar_t* suffix = L"");

// What identifies an executable file however its path is spelled (case,
// short names, drive letter or network path): its volume's serial number and
// its file index. A file that cannot be opened is identified by its path in
// capitals.
String ExecutableIdentity(const String& path);

// Manual-reset event, signalled just before main runs in the first instance.
constexpr wchar_t kReadyEventSuffix[] = L"_upr_evt";
// Message with which the first instance tells a later start that it has
// taken the arguments out of the block, so that the next start may write.
constexpr wchar_t kTakenMessageSuffix[] = L"_upr_ack";
// Mutex that later starts hold while their arguments are in the block.
constexpr wchar_t kTurnMutexSuffix[] = L"_upr_turn";

// How long a later start waits for a first instance that is still setting
// up, and for its listener to accept the message.
constexpr unsigned kSetUpWaitMs = 5000;
