#include "runtime/PeImageView.h"

#include <stddef.h>
#include <stdint.h>
#include <string.h>

namespace {

using ImageNtHeaderFunction = PIMAGE_NT_HEADERS(WINAPI*)(PVOID);

// The part of the NT headers that is read: the signature and the file header.
constexpr size_t kNtHeadBytes = sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);

// offset .. offset + kNtHeadBytes lies inside a view of viewSize bytes.
bool FitsNtHead(uintptr_t offset, size_t viewSize)
{
    return viewSize >= kNtHeadBytes && offset <= viewSize - kNtHeadBytes;
}

}  // namespace

bool PeImageView::Open(const String& path)
{
    Close();
    m_path = path;
    m_file.reset(CreateFileW(path.CStr(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        return false;
    // Nobody can write the file while it is open without write sharing, so
    // the size read here is the size of the mapping made next.
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(m_file.get(), &fileSize) || fileSize.QuadPart <= 0 ||
        static_cast<unsigned long long>(fileSize.QuadPart) > SIZE_MAX)
        return false;
    m_mapping.reset(CreateFileMappingW(m_file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!m_mapping)
        return false;
    m_view.reset(MapViewOfFile(m_mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!m_view)
        return false;
    m_viewSize = static_cast<size_t>(fileSize.QuadPart);
    m_valid = LocateNtHeaders(m_viewSize);
    return m_valid;
}

bool PeImageView::LocateNtHeaders(size_t viewSize)
{
    const BYTE* base = static_cast<const BYTE*>(m_view.get());
    if (viewSize < sizeof(IMAGE_DOS_HEADER))
        return false;
    const IMAGE_DOS_HEADER* dosHeader = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dosHeader->e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    // ImageNtHeader follows e_lfanew without knowing the view's size.
    LONG offset = dosHeader->e_lfanew;
    if (offset < 0 || !FitsNtHead(static_cast<uintptr_t>(offset), viewSize))
        return false;

    UniqueModule dbghelp(LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!dbghelp)
        return false;
    auto imageNtHeader = reinterpret_cast<ImageNtHeaderFunction>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp.get(), "ImageNtHeader")));
    const BYTE* ntHeaders = imageNtHeader ? reinterpret_cast<const BYTE*>(imageNtHeader(m_view.get())) : nullptr;
    dbghelp.reset();

    if (!ntHeaders || ntHeaders < base || !FitsNtHead(static_cast<uintptr_t>(ntHeaders - base), viewSize))
        return false;
    m_ntHeaders = reinterpret_cast<const IMAGE_NT_HEADERS*>(ntHeaders);
    return m_ntHeaders->Signature == IMAGE_NT_SIGNATURE;
}

void PeImageView::Close()
{
    m_valid = false;
    m_ntHeaders = nullptr;
    m_viewSize = 0;
    m_view.reset();
    m_mapping.reset();
    m_file.reset();
    m_path.Clear();
}

WORD PeImageView::Machine() const
{
    return m_valid ? m_ntHeaders->FileHeader.Machine : 0;
}

WORD PeImageView::Subsystem() const
{
    if (!m_valid)
        return 0;
    // The field sits at the same offset in 32-bit and 64-bit optional headers.
    const size_t fieldEnd = offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem) + sizeof(WORD);
    static_assert(offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem) == offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem),
                  "subsystem offset");
    size_t optionalStart = static_cast<size_t>(reinterpret_cast<const BYTE*>(&m_ntHeaders->OptionalHeader) -
                                               static_cast<const BYTE*>(m_view.get()));
    if (m_ntHeaders->FileHeader.SizeOfOptionalHeader < fieldEnd || optionalStart > m_viewSize ||
        m_viewSize - optionalStart < fieldEnd)
        return 0;
    WORD subsystem;
    memcpy(&subsystem, reinterpret_cast<const BYTE*>(&m_ntHeaders->OptionalHeader) +
                           offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem), sizeof(subsystem));
    return subsystem;
}
