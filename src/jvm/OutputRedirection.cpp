#include "base/Paths.h"
#include "base/Timestamp.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"

namespace {

enum class JavaStream { Out, Err };

// A new print stream on a new file stream for path (appending or
// truncating), after the folders on the way to it were made. Null when any
// step fails.
jobject OpenPrintStream(LauncherApp& app, const String& path, bool append)
{
    JNIEnv* env = app.m_pJniEnv;
    CreateFoldersFor(path);  // a failure shows as a failed FileOutputStream below

    jstring javaPath = app.NewJavaString(path);
    if (!javaPath)
        return nullptr;
    jclass fileStreamClass = env->FindClass("java/io/FileOutputStream");
    jmethodID fileStreamInit =
        fileStreamClass ? env->GetMethodID(fileStreamClass, "<init>", "(Ljava/lang/String;Z)V") : nullptr;
    jobject fileStream = fileStreamInit
                             ? env->NewObject(fileStreamClass, fileStreamInit, javaPath, append ? JNI_TRUE : JNI_FALSE)
                             : nullptr;
    if (!fileStream)
        return nullptr;

    jclass printStreamClass = env->FindClass("java/io/PrintStream");
    jmethodID printStreamInit =
        printStreamClass ? env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V") : nullptr;
    return printStreamInit ? env->NewObject(printStreamClass, printStreamInit, fileStream) : nullptr;
}

// Points System.out or System.err at the print stream. False when that
// fails; the stream is then left as it was and a pending exception has been
// described.
bool SetSystemStream(JNIEnv* env, JavaStream stream, jobject printStream)
{
    jclass system = env->FindClass("java/lang/System");
    jmethodID setter = system ? env->GetStaticMethodID(system, stream == JavaStream::Out ? "setOut" : "setErr",
                                                       "(Ljava/io/PrintStream;)V")
                              : nullptr;
    if (!setter)
        return false;
    env->CallStaticVoidMethod(system, setter, printStream);
    if (env->ExceptionOccurred()) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

// Redirects one stream; returns the print stream it now writes to, or null
// when the redirection failed (a pending exception is then described).
jobject RedirectStream(LauncherApp& app, JavaStream stream, const String& path, bool append)
{
    JNIEnv* env = app.m_pJniEnv;
    jobject printStream = OpenPrintStream(app, path, append);
    bool redirected = printStream && SetSystemStream(env, stream, printStream);
    if (g_traceOn) {
        // Relative names are taken from the current folder, as Java does.
        String full;
        GetFullPath(path, full);
        JL_TRACE("%s to %s (%s): %s", stream == JavaStream::Out ? L"standard output" : L"standard error",
                 full.IsEmpty() ? path.CStr() : full.CStr(), append ? L"appended" : L"replaced",
                 redirected ? L"redirected" : L"failed");
    }
    if (redirected)
        return printStream;
    if (env->ExceptionOccurred())
        env->ExceptionDescribe();
    return nullptr;
}

// Two names of one file: equal once both are full paths, ignoring case as
// the file system does.
bool NameTheSameFile(const String& first, const String& second)
{
    String firstFull;
    String secondFull;
    if (!GetFullPath(first, firstFull) || !GetFullPath(second, secondFull))
        return false;
    return CompareStringOrdinal(firstFull.CStr(), firstFull.Length(), secondFull.CStr(), secondFull.Length(), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

void LauncherApp::RedirectOutput()
{
    bool outputStamped = !m_outputFile.IsEmpty() && m_outputFile.Contains(L'%');
    bool errorStamped = !m_errorFile.IsEmpty() && m_errorFile.Contains(L'%');
    if (outputStamped || errorStamped) {
        // One reading of the clock for both names, so that they match.
        SYSTEMTIME now;
        GetLocalTime(&now);
        if (outputStamped)
            ExpandTimestamp(m_outputFile, now);
        if (errorStamped)
            ExpandTimestamp(m_errorFile, now);
    }

    // Output and errors sent to one file share one stream: two streams would
    // each write from their own position and overwrite each other. The file
    // is appended to when either setting asks for it.
    bool shared = !m_outputFile.IsEmpty() && !m_errorFile.IsEmpty() && NameTheSameFile(m_outputFile, m_errorFile);
    jobject output = nullptr;
    if (!m_outputFile.IsEmpty())
        output = RedirectStream(*this, JavaStream::Out, m_outputFile,
                                m_outputAppend || (shared && m_errorAppend));
    if (m_errorFile.IsEmpty())
        return;
    JL_TRACE_IF(shared && output, "standard error to the stream of standard output");
    if (shared && output)
        SetSystemStream(m_pJniEnv, JavaStream::Err, output);  // describes its own failure
    else
        RedirectStream(*this, JavaStream::Err, m_errorFile, m_errorAppend);
}
