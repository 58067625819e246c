#include "core/LauncherApp.h"

void LauncherApp::SetWorkingDirectory() {}
void LauncherApp::PrepareEnvironment() {}
bool LauncherApp::LoadJvmLibrary(const String&) { return false; }
DWORD LauncherApp::GetDefaultStackSize() { return 0; }
bool LauncherApp::CreateJavaVm() { return false; }
bool LauncherApp::AssembleVmOptions() { return false; }
bool LauncherApp::InvokeMain() { return false; }
