#include "base/Paths.h"
#include "base/Timestamp.h"
#include "core/LauncherApp.h"

namespace {

enum class JavaStream { Out, Err };

// Points System.out or System.err at a new print stream on the file path
// (appending or truncating). False when any step fails; the stream is then
// left as the VM set it up.
bool RedirectStream(LauncherApp& app, JavaStream stream, const String& path, bool append)
{
    JNIEnv* env = app.m_pJniEnv;
    CreateParentDirectories(path);  // a failure shows as a failed FileOutputStream below

    jstring javaPath = app.NewJavaString(path);
    if (!javaPath)
        return false;
    jclass fileStreamClass = env->FindClass("java/io/FileOutputStream");
    jmethodID fileStreamInit =
        fileStreamClass ? env->GetMethodID(fileStreamClass, "<init>", "(Ljava/lang/String;Z)V") : nullptr;
    jobject fileStream = fileStreamInit
                             ? env->NewObject(fileStreamClass, fileStreamInit, javaPath, append ? JNI_TRUE : JNI_FALSE)
                             : nullptr;
    if (!fileStream)
        return false;

    jclass printStreamClass = env->FindClass("java/io/PrintStream");
    jmethodID printStreamInit =
        printStreamClass ? env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V") : nullptr;
    jobject printStream = printStreamInit ? env->NewObject(printStreamClass, printStreamInit, fileStream) : nullptr;
    if (!printStream)
        return false;

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
    JNIEnv* env = m_pJniEnv;
    if (!m_outputFile.IsEmpty() && !RedirectStream(*this, JavaStream::Out, m_outputFile, m_outputAppend) &&
        env->ExceptionOccurred())
        env->ExceptionDescribe();
    if (!m_errorFile.IsEmpty() && !RedirectStream(*this, JavaStream::Err, m_errorFile, m_errorAppend) &&
        env->ExceptionOccurred())
        env->ExceptionDescribe();
}
