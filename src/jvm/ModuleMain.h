#pragma once

#include "core/ExitSink.h"

class LauncherApp;

// Watches the creation of a VM for a main module. The runtime resolves the
// main module and the added ones while it starts; one it cannot find ends
// the program there, with its own text on the standard error stream, which
// a windowed application does not show. The user is told that the main
// module cannot be loaded (whichever module was missing, the runtime's text
// names it) and the launch ends with -1. Without a main module it does
// nothing.
class MainModuleResolution : public ExitSink {
public:
    explicit MainModuleResolution(LauncherApp& app);
    ~MainModuleResolution();
    MainModuleResolution(const MainModuleResolution&) = delete;
    MainModuleResolution& operator=(const MainModuleResolution&) = delete;

    void Exit(int code) override;
    void Abort() override;

private:
    [[noreturn]] void ReportAndEnd();

    LauncherApp& m_app;
    ExitSink* m_previous;
    bool m_watching;
};
