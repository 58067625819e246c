// A library in the place of a JVM library that lacks both JNI entry points.
extern "C" __declspec(dllexport) int FakeJvmWithoutEntryPoints() { return 0; }
