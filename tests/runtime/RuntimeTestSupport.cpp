#include "RuntimeTestSupport.h"

#include "core/Messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace runtime_test {

namespace {

std::vector<std::wstring>& CapturedTexts()
{
    static std::vector<std::wstring> texts;
    return texts;
}

int CaptureMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT)
{
    CapturedTexts().push_back(text ? text : L"");
    return IDOK;
}

}  // namespace

void MakeRuntime(const std::wstring& home, const std::vector<std::wstring>& vms, bool withJavaDll,
                 const std::string& jvmBytes)
{
    std::wstring base = home;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    MakeDirs(base + L"\\bin");
    if (withJavaDll)
        WriteBytes(base + L"\\bin\\java.dll", "java");
    for (const std::wstring& vm : vms)
        WriteBytes(base + L"\\bin\\" + vm + L"\\jvm.dll", jvmBytes);
}

std::string MinimalPeImage(WORD machine, LONG ntOffset)
{
    bool pe32 = machine == IMAGE_FILE_MACHINE_I386;
    size_t optionalSize = pe32 ? sizeof(IMAGE_OPTIONAL_HEADER32) : sizeof(IMAGE_OPTIONAL_HEADER64);
    std::string bytes(ntOffset + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) + optionalSize, '\0');

    IMAGE_DOS_HEADER dos = {};
    dos.e_magic = IMAGE_DOS_SIGNATURE;
    dos.e_lfanew = ntOffset;
    std::memcpy(&bytes[0], &dos, sizeof(dos));

    size_t at = ntOffset;
    DWORD signature = IMAGE_NT_SIGNATURE;
    std::memcpy(&bytes[at], &signature, sizeof(signature));
    at += sizeof(signature);

    IMAGE_FILE_HEADER file = {};
    file.Machine = machine;
    file.SizeOfOptionalHeader = static_cast<WORD>(optionalSize);
    file.Characteristics = IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_DLL;
    std::memcpy(&bytes[at], &file, sizeof(file));
    at += sizeof(file);

    WORD magic = pe32 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC : IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    std::memcpy(&bytes[at], &magic, sizeof(magic));
    return bytes;
}

std::wstring WindowsPathFromEnv(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        return std::wstring();
    std::wstring path = L"Z:";
    for (const char* p = value; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    if (path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring ExeDirectory()
{
    return ExeFolder() + L"\\";
}

MessageCapture::MessageCapture()
{
    CapturedTexts().clear();
    SetMessageBoxFunction(CaptureMessageBox);
}

MessageCapture::~MessageCapture()
{
    SetMessageBoxFunction(nullptr);
}

const std::vector<std::wstring>& MessageCapture::Texts() const
{
    return CapturedTexts();
}

void MessageCapture::Clear()
{
    CapturedTexts().clear();
}

}  // namespace runtime_test
