#pragma once

// The launcher's version, as the launch trace reports it.
#define JL_LAUNCHER_VERSION L"1.0.0"
