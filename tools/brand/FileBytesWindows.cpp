// Files through the Win32 API.

#include "FileBytes.h"

#include "base/UniqueResource.h"

#include <windows.h>

#include <algorithm>

namespace {

// "<what>: <the system's text for code> (error <code>)".
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

// A temporary file that is deleted unless it was renamed into place.
class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    // A new empty file in folder.
    bool Create(const std::wstring& folder, std::wstring& error)
    {
        std::wstring path(MAX_PATH + 16, L'\0');  // the size the call requires
        if (!GetTempFileNameW(folder.c_str(), L"jlb", 0, &path[0])) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot create a file in " + folder, code);
            return false;
        }
        path.resize(wcslen(path.c_str()));
        m_path = path;
        return true;
    }
    bool Write(const Bytes& bytes, std::wstring& error)
    {
        UniqueFileHandle file(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        size_t done = 0;
        while (file && done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24)), written = 0;
            if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
                break;
            done += written;
        }
        if (!file || done < bytes.size() || !FlushFileBuffers(file.get())) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot write " + m_path, code);
            return false;
        }
        return true;
    }
    bool RenameTo(const std::wstring& target, std::wstring& error)
    {
        if (!MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot write " + target, code);
            return false;
        }
        m_path.clear();
        return true;
    }

private:
    std::wstring m_path;
};

}  // namespace

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
    // A root keeps its backslash: "C:\" and "\", not the current folder of drive C:.
    bool root = slash == 0 || (slash == 2 && path[1] == L':');
    return path.substr(0, root ? slash + 1 : slash);
}

bool ReplaceFileBytes(const std::wstring& path, const Bytes& bytes, std::wstring& error)
{
    TemporaryOutput temporary;
    return temporary.Create(FolderOf(path), error) && temporary.Write(bytes, error) &&
           temporary.RenameTo(path, error);
}

std::wstring DecodeAnsi(const uint8_t* data, size_t size)
{
    int length = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), nullptr, 0);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), &text[0], length);
    return text;
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
