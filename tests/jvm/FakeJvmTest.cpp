// Tests of the stand-in Java runtime (tests/support/fakejvm) that need no VM:
// default arguments, exports, the splash library and the log reader.
#include "FakeJvmTestSupport.h"

// ======================= in-process tests (no VM created) =======================

TEST(FakeJvm, DefaultArgsFillJavaStackSizeOfTheJdk11Record) {
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  auto getDefault = Entry<GetDefaultArgsFn>(lib, "JNI_GetDefaultJavaVMInitArgs");
  ASSERT_NE(getDefault, nullptr);
  // Field order of the JNI 1.1 record up to javaStackSize; the rest is padding.
  struct Record {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    unsigned char rest[96];
  };
  const struct { const wchar_t* variable; jint version; jint expectedStack; jint expectedResult; } cases[] = {
      {L"1048576", JNI_VERSION_1_1, 1048576, JNI_OK},
      {L"-5", JNI_VERSION_1_1, -5, JNI_OK},
      {L"", JNI_VERSION_1_1, 0, JNI_OK},
      {L"1048576", JNI_VERSION_1_2, 0x77777777, JNI_OK},   // only the 1.1 record carries the size
      {L"1048576", 0x00020000, 0x77777777, JNI_EVERSION},
  };
  for (const auto& c : cases) {
    ScopedEnv env(Env{{L"JL_FAKEJVM_DEFAULT_STACK", c.variable}});
    Record r;
    memset(&r, 0, sizeof(r));
    r.version = c.version;
    r.javaStackSize = 0x77777777;
    EXPECT_EQ(getDefault(&r), c.expectedResult) << c.variable;
    EXPECT_EQ(r.javaStackSize, c.expectedStack == 0x77777777 ? 0x77777777 : c.expectedStack) << c.variable;
    EXPECT_EQ(r.nativeStackSize, 0);
    EXPECT_EQ(r.checkSource, 0);
  }
}

TEST(FakeJvm, VariantsExportWhatTheContractSays) {
  HMODULE plain = LoadFake(L"plain\\jvm.dll");
  HMODULE helper = LoadFake(L"helper\\jvm.dll");
  HMODULE nocreate = LoadFake(L"nocreate\\jvm.dll");
  ASSERT_TRUE(plain && helper && nocreate);
  ASSERT_NE(plain, helper);
  EXPECT_NE(GetProcAddress(plain, "JNI_CreateJavaVM"), nullptr);
  EXPECT_NE(GetProcAddress(plain, "JNI_GetDefaultJavaVMInitArgs"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, "JVM_FindClassFromBootLoader"), nullptr);
  EXPECT_NE(GetProcAddress(helper, "JVM_FindClassFromBootLoader"), nullptr);
  EXPECT_EQ(GetProcAddress(nocreate, "JNI_CreateJavaVM"), nullptr);
  EXPECT_EQ(GetProcAddress(nocreate, "JNI_GetDefaultJavaVMInitArgs"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, "JNI_CreateJavaVM@12"), nullptr);  // undecorated names only
  EXPECT_NE(LoadFake(L"java.dll"), nullptr);
}

TEST(FakeJvm, SplashLibraryRecordsItsCallsInOrder) {
  std::wstring logPath = TempPath(L"splash.log");
  DeleteFileW(logPath.c_str());
  ScopedEnv env(Env{{L"JL_FAKEJVM_LOG", logPath}});
  HMODULE lib = LoadFake(L"splashscreen.dll");
  ASSERT_NE(lib, nullptr);
  Entry<void (*)()>(lib, "SplashInit")();
  Entry<int (*)(const char*)>(lib, "SplashLoadFile")("C:\\app\\splash pic.png");
  Entry<void (*)(const char*, const char*)>(lib, "SplashSetFileJarName")("C:\\app\\splash pic.png", "");
  Entry<void (*)()>(lib, "SplashClose")();
  FakeJvmLog log = FakeJvmLog::Read(logPath);
  DeleteFileW(logPath.c_str());
  std::vector<std::vector<std::wstring>> expected = {
      {L"splash", L"SplashInit"},
      {L"splash", L"SplashLoadFile", L"C:\\app\\splash pic.png"},
      {L"splash", L"SplashSetFileJarName", L"C:\\app\\splash pic.png", L""},
      {L"splash", L"SplashClose"},
  };
  EXPECT_EQ(log.All(L"splash"), expected);
}

TEST(FakeJvm, LogReaderUndoesEscapesAndDecodesUtf8) {
  std::wstring path = TempPath(L"reader.log");
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fputs("option\t-Da=b\\tc\\\\d\\ne\r\narg\t\xC3\xBC\xF0\x9F\x98\x80\n\nmainend\n", f);
  fclose(f);
  FakeJvmLog log = FakeJvmLog::Read(path);
  DeleteFileW(path.c_str());
  EXPECT_EQ(log.Values(L"option"), std::vector<std::wstring>{L"-Da=b\tc\\d\ne"});
  EXPECT_EQ(log.Values(L"arg"), std::vector<std::wstring>{L"\u00fc\U0001F600"});
  EXPECT_TRUE(log.Has(L"mainend"));
  EXPECT_FALSE(log.Has(L"main"));
  EXPECT_TRUE(FakeJvmLog::Read(path).records.empty());
}

