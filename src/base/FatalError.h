#pragma once

// The launcher's one way of reporting an internal impossibility: the process
// ends at once, without any dialog, with the status code as its exit code.
// Nothing catches it.

// Status codes (HRESULT values) raised by the launcher.
constexpr long kFatalFail = static_cast<long>(0x80004005L);          // E_FAIL
constexpr long kFatalOutOfMemory = static_cast<long>(0x8007000EL);   // E_OUTOFMEMORY
constexpr long kFatalInvalidArg = static_cast<long>(0x80070057L);    // E_INVALIDARG
constexpr long kFatalBounds = static_cast<long>(0x8000000BL);        // E_BOUNDS
constexpr long kFatalOverflow = static_cast<long>(0x80070216L);      // arithmetic overflow

[[noreturn]] void RaiseFatalError(long hr);
