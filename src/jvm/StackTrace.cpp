#include "base/Encoding.h"
#include "core/LauncherApp.h"

namespace {

// A new object of a class through its constructor; null on any failure.
jobject NewInstance(JNIEnv* env, const char* className, const char* signature, jobject argument)
{
    jclass cls = env->FindClass(className);
    jmethodID constructor = cls ? env->GetMethodID(cls, "<init>", signature) : nullptr;
    if (!constructor)
        return nullptr;
    return argument ? env->NewObject(cls, constructor, argument) : env->NewObject(cls, constructor);
}

// Prints a failure of the launcher's own calls and clears it.
void DescribePending(JNIEnv* env)
{
    if (env->ExceptionOccurred())
        env->ExceptionDescribe();
}

}  // namespace

// The uncaught exception arrives pending. A VM may refuse every other JNI
// call while an exception is pending, so it is cleared while its trace is
// printed into a byte stream, and then raised again and described: that
// prints it on the program's standard error stream, as the VM would have.
// When no trace can be had the exception is left pending, as it came.
String LauncherApp::GetStackTraceText(jthrowable throwable)
{
    JNIEnv* env = m_pJniEnv;
    env->ExceptionClear();
    jobject bytes = NewInstance(env, "java/io/ByteArrayOutputStream", "()V", nullptr);
    jobject print = bytes ? NewInstance(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", bytes) : nullptr;
    jclass throwableClass = print ? env->GetObjectClass(throwable) : nullptr;
    jmethodID printStackTrace =
        throwableClass ? env->GetMethodID(throwableClass, "printStackTrace", "(Ljava/io/PrintStream;)V") : nullptr;
    if (!printStackTrace) {
        env->ExceptionClear();
        env->Throw(throwable);
        return String();
    }
    env->CallVoidMethod(throwable, printStackTrace, print);
    DescribePending(env);
    env->Throw(throwable);
    env->ExceptionDescribe();

    jclass bytesClass = env->GetObjectClass(bytes);
    jmethodID toString = bytesClass ? env->GetMethodID(bytesClass, "toString", "()Ljava/lang/String;") : nullptr;
    jstring trace = toString ? static_cast<jstring>(env->CallObjectMethod(bytes, toString)) : nullptr;
    DescribePending(env);
    if (!trace)
        return String();
    const char* utf = env->GetStringUTFChars(trace, nullptr);
    if (!utf) {
        DescribePending(env);
        return String();
    }
    String text = DecodeModifiedUtf8(utf);
    env->ReleaseStringUTFChars(trace, utf);
    return text;
}
