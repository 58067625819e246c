// Stands in for a runtime's bin\java.dll, which runtime discovery looks for.
extern "C" __declspec(dllexport) int FakeJavaLibrary() { return 0; }
