#include "ResourceUpdate.h"

#include "FileBytes.h"

namespace {

std::wstring Describe(LPCWSTR id)
{
    return IS_INTRESOURCE(id) ? L"#" + std::to_wstring(LOWORD(id)) : std::wstring(id);
}

}  // namespace

bool ResourceUpdate::Begin(const std::wstring& path, std::wstring& error)
{
    m_path = path;
    m_handle.reset(BeginUpdateResourceW(path.c_str(), TRUE));
    if (!m_handle) {
        DWORD code = GetLastError();
        error = SystemError(L"cannot update the resources of " + path, code);
        return false;
    }
    return true;
}

bool ResourceUpdate::Put(LPCWSTR type, LPCWSTR name, WORD language, const Bytes& data)
{
    // The call does not write through the pointer; it takes a non-const one.
    if (UpdateResourceW(m_handle.get(), type, name, language, const_cast<uint8_t*>(data.data()),
                        static_cast<DWORD>(data.size())))
        return true;
    DWORD code = GetLastError();
    if (m_error.empty())
        m_error = SystemError(L"cannot write resource " + Describe(type) + L"/" + Describe(name) + L" in " + m_path,
                              code);
    return false;
}

bool ResourceUpdate::Commit()
{
    if (EndUpdateResourceW(m_handle.release(), FALSE))
        return true;
    DWORD code = GetLastError();
    m_error = SystemError(L"cannot write the resources of " + m_path, code);
    return false;
}
