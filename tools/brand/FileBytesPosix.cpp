// Files through POSIX calls, for the tool's build on Linux.

#include "FileBytes.h"

#include "Utf8.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<what>: <the system's text for code> (error <code>)".
std::wstring SystemError(const std::wstring& what, int code)
{
    return what + L": " + Utf8ToUtf16(strerror(code)) + L" (error " + std::to_wstring(code) + L")";
}

// A file descriptor, closed when the owner goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int get() const { return m_fd; }
    bool Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd < 0 || close(fd) == 0;
    }

private:
    int m_fd;
};

// A temporary file that is deleted unless it was renamed into place.
class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput()
    {
        if (!m_path.empty())
            unlink(m_path.c_str());
    }
    bool Write(const std::wstring& folder, const Bytes& bytes, std::wstring& error)
    {
        std::string pattern = Utf16ToUtf8(folder) + "/.jlb-XXXXXX";
        Descriptor file(mkstemp(&pattern[0]));
        if (file.get() < 0) {
            int code = errno;
            error = SystemError(L"cannot create a file in " + folder, code);
            return false;
        }
        m_path = pattern;
        // The mode a new file gets (mkstemp makes it private), executable like the launcher.
        mode_t mask = umask(0);
        umask(mask);
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t written = write(file.get(), bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = ENOSPC;  // a write that takes nothing: the disk is full
                break;
            }
            done += static_cast<size_t>(written);
        }
        if (done < bytes.size() || fchmod(file.get(), 0777 & ~mask) != 0 || fsync(file.get()) != 0 ||
            !file.Close()) {
            int code = errno;
            error = SystemError(L"cannot write " + Utf8ToUtf16(m_path), code);
            return false;
        }
        return true;
    }
    bool RenameTo(const std::wstring& target, std::wstring& error)
    {
        if (rename(m_path.c_str(), Utf16ToUtf8(target).c_str()) != 0) {
            int code = errno;
            error = SystemError(L"cannot write " + target, code);
            return false;
        }
        m_path.clear();
        return true;
    }

private:
    std::string m_path;
};

}  // namespace

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L'/');
    if (slash == std::wstring::npos)
        return L".";
    return path.substr(0, slash == 0 ? 1 : slash);
}

bool ReadFileBytes(const std::wstring& path, size_t limit, Bytes& bytes, std::wstring& error)
{
    Descriptor file(open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status;
    if (file.get() < 0 || fstat(file.get(), &status) != 0 || S_ISDIR(status.st_mode)) {
        int code = file.get() < 0 || !S_ISDIR(status.st_mode) ? errno : EISDIR;
        error = SystemError(L"cannot open " + path, code);
        return false;
    }
    if (static_cast<unsigned long long>(status.st_size) > limit) {
        error = path + L" is too large (more than " + std::to_wstring(limit / (1024 * 1024)) + L" MiB)";
        return false;
    }
    bytes.assign(static_cast<size_t>(status.st_size), 0);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int code = errno;
            error = SystemError(L"cannot read " + path, code);
            return false;
        }
        if (got == 0)
            break;  // the file shrank meanwhile: keep what was there
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return true;
}

bool ReplaceFileBytes(const std::wstring& path, const Bytes& bytes, std::wstring& error)
{
    TemporaryOutput temporary;
    return temporary.Write(FolderOf(path), bytes, error) && temporary.RenameTo(path, error);
}

std::wstring DecodeAnsi(const uint8_t* data, size_t size)
{
    // Windows-1252: Latin-1 but for 0x80 to 0x9F (the five unassigned
    // bytes map to the C1 controls of the same value, as on Windows).
    static const uint16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i] >= 0x80 && data[i] < 0xA0 ? kHigh[data[i] - 0x80] : data[i]);
    return text;
}
