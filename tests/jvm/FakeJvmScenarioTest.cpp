// Tests of the stand-in Java runtime that create a VM, each in a child
// process: FakeJvmChild.<name> runs there, FakeJvm.<...> checks the outcome.
#include "FakeJvmTestSupport.h"

// ======================= scenarios in a child process =======================

TEST(FakeJvmChild, Basics) {
  CHILD_ONLY(L"Basics");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  ASSERT_EQ(Create(lib, {"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar", "-Dname=v\xFC", "-Xmx512m",
                         "-Xms64M", "-Xss1m", "-Xrs", "-verbose:gc", "-XX:+UseG1GC", "abort", "exit"},
                   &vm, &env),
            JNI_OK);
  ASSERT_TRUE(vm && env);
  JavaVM* second = nullptr;
  JNIEnv* secondEnv = nullptr;
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &second, &secondEnv), JNI_EEXIST);
  EXPECT_EQ(second, nullptr);

  // Strings: UTF-16 in, modified UTF-8 out (U+0000 as C0 80, non-BMP as two 3-byte surrogates).
  std::wstring text(L"a\0\u00fc\U0001F600", 5);
  jstring s = JStr(env, text);
  EXPECT_EQ(env->GetStringLength(s), 5);
  EXPECT_EQ(Utf(env, s), "a\xC0\x80\xC3\xBC\xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(env->GetStringUTFLength(s), 11);
  EXPECT_EQ(WStr(env, env->NewStringUTF("a\xC0\x80\xC3\xBC\xED\xA0\xBD\xED\xB8\x80")), text);
  // The String(char[]) constructor the launcher uses.
  jclass stringClass = env->FindClass("java/lang/String");
  jcharArray chars = env->NewCharArray(5);
  env->SetCharArrayRegion(chars, 0, 5, reinterpret_cast<const jchar*>(text.data()));
  jobject fromChars = env->NewObject(stringClass, env->GetMethodID(stringClass, "<init>", "([C)V"), chars);
  EXPECT_EQ(WStr(env, static_cast<jstring>(fromChars)), text);
  env->SetCharArrayRegion(chars, 3, 3, reinterpret_cast<const jchar*>(text.data()));
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayIndexOutOfBoundsException");

  // Object arrays.
  jobjectArray array = env->NewObjectArray(2, stringClass, nullptr);
  EXPECT_EQ(env->GetArrayLength(array), 2);
  EXPECT_EQ(env->GetObjectArrayElement(array, 0), nullptr);
  env->SetObjectArrayElement(array, 1, s);
  EXPECT_TRUE(env->IsSameObject(env->GetObjectArrayElement(array, 1), s));
  env->SetObjectArrayElement(array, 2, s);
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayIndexOutOfBoundsException: Index 2 out of bounds for length 2");
  env->SetObjectArrayElement(array, 0, stringClass);
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayStoreException: java.lang.Class");

  // Lookups that fail leave the exception a real VM leaves.
  EXPECT_EQ(env->FindClass("com/example/Missing"), nullptr);
  EXPECT_TRUE(env->ExceptionCheck());
  EXPECT_EQ(TakeException(env), L"java.lang.NoClassDefFoundError: com/example/Missing");
  jclass noMain = env->FindClass("test.NoMain");  // dotted names resolve too
  ASSERT_NE(noMain, nullptr);
  EXPECT_EQ(env->GetStaticMethodID(noMain, "main", "([Ljava/lang/String;)V"), nullptr);
  EXPECT_EQ(TakeException(env), L"java.lang.NoSuchMethodError: main");
  EXPECT_EQ(env->ExceptionOccurred(), nullptr);

  // Output redirection into a real file, then appending and truncating.
  std::wstring outFile = TempPath(L"out.txt");
  jobject out = FileStream(env, outFile, false);
  ASSERT_NE(out, nullptr);
  SetStream(env, "setOut", out);
  std::pair<jobject, jobject> err = ByteStream(env);
  SetStream(env, "setErr", err.second);
  RunMain(env, "test/PrintOut", {L"a", L"\u00fc"});
  EXPECT_EQ(ReadBytes(outFile), "out:a\r\nout:\xC3\xBC\r\n");
  EXPECT_EQ(ToString(env, err.first), L"err:a\r\nerr:\u00fc\r\n");
  SetStream(env, "setOut", FileStream(env, outFile, true));
  RunMain(env, "test/PrintOut", {L"b"});
  EXPECT_EQ(ReadBytes(outFile), "out:a\r\nout:\xC3\xBC\r\nout:b\r\n");
  SetStream(env, "setOut", FileStream(env, outFile, false));
  RunMain(env, "test/PrintOut", {L"c"});
  EXPECT_EQ(ReadBytes(outFile), "out:c\r\n");
  EXPECT_EQ(FileStream(env, TempPath(L"no_such_folder\\out.txt"), false), nullptr);
  EXPECT_EQ(TakeException(env).rfind(L"java.io.FileNotFoundException: ", 0), 0u);

  // An exception escaping main, its stack trace and ExceptionDescribe.
  RunMain(env, "test/Throws", {});
  jthrowable thrown = env->ExceptionOccurred();
  ASSERT_NE(thrown, nullptr);
  env->ExceptionClear();
  std::pair<jobject, jobject> trace = ByteStream(env);
  env->CallVoidMethod(thrown, env->GetMethodID(env->GetObjectClass(thrown), "printStackTrace",
                                               "(Ljava/io/PrintStream;)V"), trace.second);
  EXPECT_EQ(ToString(env, trace.first), L"java.lang.IllegalStateException: boom\n\tat test.Throws.main(Main.java)\n");
  std::pair<jobject, jobject> described = ByteStream(env);
  SetStream(env, "setErr", described.second);
  env->Throw(thrown);
  env->ExceptionDescribe();
  EXPECT_FALSE(env->ExceptionCheck());
  EXPECT_EQ(ToString(env, described.first),
            L"Exception in thread \"main\" java.lang.IllegalStateException: boom\n\tat test.Throws.main(Main.java)\n");
  RunMain(env, "test/Exit", {L"x"});
  EXPECT_EQ(TakeException(env), L"java.lang.NumberFormatException: For input string: \"x\"");

  // main on this thread and on an attached one; a thread that is not attached has no env.
  RunMain(env, "test/RecordArgs", {L"one", L"t\u00e9st \"q\"", L""});
  std::thread other([vm] {
    JNIEnv* none = reinterpret_cast<JNIEnv*>(1);
    EXPECT_EQ(vm->GetEnv(reinterpret_cast<void**>(&none), JNI_VERSION_1_2), JNI_EDETACHED);
    EXPECT_EQ(none, nullptr);
    JNIEnv* mine = nullptr;
    ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&mine), nullptr), JNI_OK);
    RunMain(mine, "test/RecordArgs", {L"from other"});
    EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
  });
  other.join();
  EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
  DeleteFileW(outFile.c_str());
}

TEST(FakeJvm, BasicsScenario) {
  ChildResult r = RunChild(L"Basics", {{L"OZ_JVM_PATH", L"C:\\rt\\bin\\server\\jvm.dll"}, {L"OZ_JVM_HOME", L""}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  const FakeJvmLog& log = r.log;
  EXPECT_EQ(log.Values(L"version"), (std::vector<std::wstring>{L"0x00010002", L"0x00010002"}));
  EXPECT_EQ(log.Values(L"ignoreUnrecognized"), (std::vector<std::wstring>{L"0", L"0"}));
  std::vector<std::wstring> options = log.Values(L"option");
  ASSERT_EQ(options.size(), 12u);
  EXPECT_EQ(options[0], L"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar");
  EXPECT_EQ(options[8], L"abort");
  EXPECT_EQ(options[9], L"exit");
  EXPECT_EQ(log.Values(L"create"), (std::vector<std::wstring>{L"0", L"-5"}));
  EXPECT_EQ(log.Env(L"OZ_JVM_PATH"), L"C:\\rt\\bin\\server\\jvm.dll");
  EXPECT_EQ(log.Env(L"OZ_JVM_HOME"), L"");
  EXPECT_FALSE(log.Env(L"Path").empty());
  EXPECT_EQ(log.Values(L"cwd").size(), 2u);
  std::vector<std::wstring> found = log.Values(L"findclass");
  EXPECT_NE(std::find(found.begin(), found.end(), L"test.NoMain"), found.end());
  EXPECT_NE(std::find(found.begin(), found.end(), L"com/example/Missing"), found.end());
  EXPECT_EQ(log.Values(L"main"), (std::vector<std::wstring>{L"test/PrintOut", L"test/PrintOut", L"test/PrintOut",
                                                           L"test/Throws", L"test/Exit", L"test/RecordArgs",
                                                           L"test/RecordArgs"}));
  EXPECT_EQ(log.Values(L"arg"), (std::vector<std::wstring>{L"a", L"\u00fc", L"b", L"c", L"x", L"one",
                                                          L"t\u00e9st \"q\"", L"", L"from other"}));
  EXPECT_EQ(log.Values(L"mainend").size(), 7u);
  std::vector<std::wstring> threads = log.Values(L"thread");
  ASSERT_EQ(threads.size(), 7u);
  EXPECT_EQ(threads[5], L"same");
  EXPECT_EQ(threads[6], L"other");
  for (const std::wstring& stack : log.Values(L"stack")) EXPECT_GT(std::stoull(stack), 64u * 1024u);
  EXPECT_EQ(log.Values(L"describe"), std::vector<std::wstring>{L"java.lang.IllegalStateException: boom"});
  EXPECT_EQ(log.Values(L"attach").size(), 1u);
  EXPECT_EQ(log.All(L"detach").size(), 2u);
  EXPECT_TRUE(log.Has(L"destroy"));
  EXPECT_FALSE(log.Has(L"fatal"));
  EXPECT_FALSE(log.Has(L"uncaught"));
}

TEST(FakeJvmChild, Rejects) {
  CHILD_ONLY(L"Rejects");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  for (const char* bad : {"-Xbogus", "-Xmx512MB", "-Xss", "-D", "-D=x", "-client", "-XX:", "--add-opens=x",
                          "-verbosegc", "vfprintf", "Exit", ""}) {
    EXPECT_EQ(Create(lib, {"-Xmx512m", bad, "abort", "exit"}, &vm, &env), JNI_ERR) << bad;
    EXPECT_EQ(env, nullptr);
  }
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env, JNI_VERSION_1_1), JNI_EVERSION);
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env, 0x00020000), JNI_EVERSION);
  // A failed creation leaves the way open for a good one.
  EXPECT_EQ(Create(lib, {"-Dx", "-Xmx1g", "-verbose", "abort", "exit"}, &vm, &env, JNI_VERSION_1_8), JNI_OK);
  EXPECT_NE(env, nullptr);
}

TEST(FakeJvm, RejectsScenario) {
  ChildResult r = RunChild(L"Rejects");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  std::vector<std::wstring> results = r.log.Values(L"create");
  ASSERT_EQ(results.size(), 15u);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(results[i], L"-1") << i;
  EXPECT_EQ(results[12], L"-3");
  EXPECT_EQ(results[13], L"-3");
  EXPECT_EQ(results[14], L"0");
  EXPECT_EQ(r.log.Values(L"version").back(), L"0x00010008");
}

TEST(FakeJvmChild, Forced) {
  CHILD_ONLY(L"Forced");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env), -77);
  EXPECT_EQ(vm, nullptr);
  EXPECT_EQ(env, nullptr);
}

TEST(FakeJvm, ForcedCreationResult) {
  ChildResult r = RunChild(L"Forced", {{L"JL_FAKEJVM_CREATE_RESULT", L"-77"}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"create"), std::vector<std::wstring>{L"-77"});
  EXPECT_EQ(r.log.Values(L"option"), (std::vector<std::wstring>{L"abort", L"exit"}));
}

TEST(FakeJvmChild, Exit) {
  CHILD_ONLY(L"Exit");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Exit", {L"7", L"ignored"});
  ADD_FAILURE() << "System.exit returned";
}

TEST(FakeJvm, SystemExitCallsTheHookAndEndsTheProcess) {
  ChildResult r = RunChild(L"Exit");
  EXPECT_EQ(r.exitCode, 7u) << r.output;
  EXPECT_EQ(r.log.Values(L"exit"), std::vector<std::wstring>{L"7"});
  EXPECT_NE(r.output.find("exit hook 7"), std::string::npos) << r.output;
  EXPECT_EQ(r.log.Values(L"arg"), (std::vector<std::wstring>{L"7", L"ignored"}));
}

TEST(FakeJvmChild, Helper) {
  CHILD_ONLY(L"Helper");
  HMODULE lib = LoadFake(L"helper\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  ASSERT_EQ(Create(lib, {"abort", "exit"}, &vm, &env), JNI_OK);
  auto boot = Entry<FindBootClassFn>(lib, "JVM_FindClassFromBootLoader");
  jclass helper = boot(env, "sun/launcher/LauncherHelper");
  ASSERT_NE(helper, nullptr);
  EXPECT_EQ(boot(env, "test/RecordArgs"), nullptr);  // not a boot class
  EXPECT_FALSE(env->ExceptionCheck());
  jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
  ASSERT_NE(check, nullptr);
  jobject dotted = env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, L"test.RecordArgs"));
  EXPECT_TRUE(env->IsSameObject(dotted, env->FindClass("test/RecordArgs")));
  jobject slashed = env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, L"test/Throws"));
  EXPECT_TRUE(env->IsSameObject(slashed, env->FindClass("test/Throws")));

  // A class the helper rejects ends the program with 1; nothing comes back.
  std::wstring rejected = EnvironmentVariable(L"JL_FAKEJVM_TEST_CLASS");
  env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, rejected));
  ADD_FAILURE() << "checkAndLoadMain returned";
}

TEST(FakeJvm, LauncherHelperVariant) {
  ChildResult r = RunChild(L"Helper", {{L"JL_FAKEJVM_TEST_CLASS", L"com.example.Missing"}});
  EXPECT_EQ(r.exitCode, 1u) << r.output;
  EXPECT_EQ(r.log.Values(L"bootloader"), (std::vector<std::wstring>{L"sun/launcher/LauncherHelper", L"test/RecordArgs"}));
  EXPECT_EQ(r.log.Values(L"checkAndLoadMain"),
            (std::vector<std::wstring>{L"test.RecordArgs", L"test/Throws", L"com.example.Missing"}));
  EXPECT_NE(r.output.find("Error: Could not find or load main class com.example.Missing"), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("exit hook 1"), std::string::npos) << r.output;

  r = RunChild(L"Helper", {{L"JL_FAKEJVM_TEST_CLASS", L"test.NoMain"}});
  EXPECT_EQ(r.exitCode, 1u) << r.output;
  EXPECT_NE(r.output.find("Error: Main method not found in class test.NoMain"), std::string::npos) << r.output;
  EXPECT_EQ(r.log.Values(L"exit"), std::vector<std::wstring>{L"1"});
}

TEST(FakeJvmChild, Linger) {
  CHILD_ONLY(L"Linger");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/SecondaryInt", {});
  JavaVM* vm = v.vm;
  std::thread worker([vm] {
    JNIEnv* env = nullptr;
    ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr), JNI_OK);
    Sleep(300);
    jclass cls = env->FindClass("test/SecondaryInt");
    EXPECT_EQ(env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)V"), nullptr);
    env->ExceptionClear();
    jmethodID secondary = env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)I");
    ASSERT_NE(secondary, nullptr);
    EXPECT_EQ(env->CallStaticIntMethod(cls, secondary, Args(env, {L"a", L"b"})), 2);
    vm->DetachCurrentThread();
  });
  ASSERT_EQ(vm->DetachCurrentThread(), JNI_OK);
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);  // waits for the attached worker
  ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 200u);
  EXPECT_LT(waited, 10000u);
  worker.join();
}

TEST(FakeJvm, DestroyWaitsForAttachedThreads) {
  ChildResult r = RunChild(L"Linger", {{L"JL_FAKEJVM_LINGER_MS", L"20000"}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"secondary"), std::vector<std::wstring>{L"int"});
  EXPECT_EQ(r.log.Values(L"arg"), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(FakeJvmChild, Uncaught) {
  CHILD_ONLY(L"Uncaught");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Throws", {});
  EXPECT_EQ(v.vm->DetachCurrentThread(), JNI_OK);
}

TEST(FakeJvm, DetachPrintsAnExceptionLeftPending) {
  ChildResult r = RunChild(L"Uncaught");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("Exception in thread \"main\" java.lang.IllegalStateException: boom"), std::string::npos)
      << r.output;
  EXPECT_EQ(r.log.Values(L"uncaught"), std::vector<std::wstring>{L"java.lang.IllegalStateException: boom"});
  EXPECT_FALSE(r.log.Has(L"describe"));
}

TEST(FakeJvmChild, EndedAttached) {
  CHILD_ONLY(L"EndedAttached");
  Vm v = CreateOrFail(L"plain");
  JavaVM* vm = v.vm;
  std::thread([vm] {
    JNIEnv* env = nullptr;
    EXPECT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr), JNI_OK);
  }).join();
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
}

TEST(FakeJvm, DestroyDoesNotWaitForAThreadThatEndedAttached) {
  ChildResult r = RunChild(L"EndedAttached");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"endedattached"), std::vector<std::wstring>{L"Thread-0"});
}

TEST(FakeJvmChild, CdeclExitHook) {
  CHILD_ONLY(L"CdeclExitHook");
  g_exitHook = reinterpret_cast<void*>(&CdeclExitHook);
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Exit", {L"3"});
}

TEST(FakeJvm, ExitHookMustUseTheJniCallingConvention) {
  ChildResult r = RunChild(L"CdeclExitHook");
#if defined(__i386__)
  EXPECT_EQ(r.exitCode, kFatal) << r.output;
  EXPECT_EQ(r.log.Values(L"fatal"),
            std::vector<std::wstring>{L"the exit hook does not use the JNICALL (__stdcall) convention"});
#else
  EXPECT_EQ(r.exitCode, 3u) << r.output;  // one calling convention on x64
#endif
}

// Misuse that a real VM would crash on ends the process loudly.
TEST(FakeJvmChild, Unimplemented) {
  CHILD_ONLY(L"Unimplemented");
  Vm v = CreateOrFail(L"plain");
  v.env->MonitorEnter(v.env->FindClass("java/lang/String"));
}

TEST(FakeJvmChild, WrongReturnType) {
  CHILD_ONLY(L"WrongReturnType");
  Vm v = CreateOrFail(L"plain");
  jclass cls = v.env->FindClass("test/SecondaryInt");
  jmethodID m = v.env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)I");
  v.env->CallStaticVoidMethod(cls, m, Args(v.env, {}));
}

TEST(FakeJvmChild, DeletedReference) {
  CHILD_ONLY(L"DeletedReference");
  Vm v = CreateOrFail(L"plain");
  jclass cls = v.env->FindClass("test/RecordArgs");
  v.env->DeleteLocalRef(cls);
  v.env->GetStaticMethodID(cls, "main", "([Ljava/lang/String;)V");
}

TEST(FakeJvmChild, ForeignEnv) {
  CHILD_ONLY(L"ForeignEnv");
  Vm v = CreateOrFail(L"plain");
  JNIEnv* env = v.env;
  std::thread([env] { env->FindClass("java/lang/String"); }).join();
}

TEST(FakeJvmChild, WrongArgument) {
  CHILD_ONLY(L"WrongArgument");
  Vm v = CreateOrFail(L"plain");
  jclass printClass = v.env->FindClass("java/io/PrintStream");
  v.env->NewObject(printClass, v.env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"),
                   JStr(v.env, L"not a stream"));
}

TEST(FakeJvm, MisuseFailsLoudly) {
  const struct { const wchar_t* scenario; const wchar_t* message; } cases[] = {
      {L"Unimplemented", L"unimplemented JNI slot "},
      {L"WrongReturnType", L"CallStaticVoidMethodV used on test/SecondaryInt.secondaryMain([Ljava/lang/String;)I"},
      {L"DeletedReference", L"deleted reference used"},
      {L"ForeignEnv", L"JNIEnv used on a thread it does not belong to"},
      {L"WrongArgument", L"argument 1 of java/io/PrintStream.<init>(Ljava/io/OutputStream;)V has class java/lang/String"},
  };
  for (const auto& c : cases) {
    ChildResult r = RunChild(c.scenario);
    EXPECT_EQ(r.exitCode, kFatal) << r.output;
    std::vector<std::wstring> fatal = r.log.Values(L"fatal");
    ASSERT_EQ(fatal.size(), 1u);
    EXPECT_EQ(fatal[0].rfind(c.message, 0), 0u) << std::string(fatal[0].begin(), fatal[0].end());
    EXPECT_NE(r.output.find("fakejvm: "), std::string::npos);
  }
  ChildResult r = RunChild(L"Unimplemented");
  size_t slot = offsetof(JNINativeInterface_, MonitorEnter) / sizeof(void*);
  EXPECT_EQ(r.log.Values(L"fatal"), std::vector<std::wstring>{L"unimplemented JNI slot " + std::to_wstring(slot)});
}
