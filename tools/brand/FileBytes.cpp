#include "FileBytes.h"

#include "base/UniqueResource.h"

std::wstring SystemError(const std::wstring& what, DWORD code)
{
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = what + L": ";
    if (length && text) {
        while (length && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
            --length;
        message.append(text, length);
        message += L" ";
    }
    LocalFree(text);
    return message + L"(error " + std::to_wstring(code) + L")";
}

bool ReadFileBytes(const std::wstring& path, size_t limit, Bytes& bytes, std::wstring& error)
{
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD code = GetLastError();
        error = SystemError(L"cannot open " + path, code);
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) {
        DWORD code = GetLastError();
        error = SystemError(L"cannot read " + path, code);
        return false;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        error = path + L" is too large (more than " + std::to_wstring(limit / (1024 * 1024)) + L" MiB)";
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), 0);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot read " + path, code);
            return false;
        }
        if (read == 0)
            break;  // the file shrank meanwhile: keep what was there
        done += read;
    }
    bytes.resize(done);
    return true;
}
