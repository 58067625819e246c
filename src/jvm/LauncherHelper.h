#pragma once

#include "core/LauncherApp.h"

// The runtime's own launcher helper, sun.launcher.LauncherHelper, whose
// checkAndLoadMain(printToStderr, mode, text) loads the main class the way
// the runtime's launcher does and reports what fails on the standard error
// stream.
struct LauncherHelper {
    jclass helperClass = nullptr;
    jmethodID checkAndLoadMain = nullptr;  // null: the runtime has no helper
};

// The helper's modes: text is a class name, or "module" / "module/class".
constexpr jint kLoadByClassName = 1;
constexpr jint kLoadFromModule = 3;

// Found through JVM_FindClassFromBootLoader; a runtime without that entry
// point, the class or the method has none (a failed method lookup leaves its
// exception pending).
LauncherHelper FindLauncherHelper(JNIEnv* env, FindClassFromBootLoaderFunction findBootClass);

// Whether a dotted class name loads through the system class loader, asked
// as the helper asks (without initialising the class). Any exception is
// cleared: the helper reports the failure itself.
bool MainClassLoads(JNIEnv* env, jstring dottedName);

// Calls checkAndLoadMain. A class the helper rejects ends the program in the
// call; the user is told instead, naming shownName when the class does not
// load (classLoads false) and the missing main method otherwise, and the
// launch ends with -1.
jobject CallCheckAndLoadMain(LauncherApp& app, const LauncherHelper& helper, jint mode, jstring text, bool classLoads,
                             const String& shownName);
