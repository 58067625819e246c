#pragma once

// A resource update of one executable file that starts from no resources at
// all (BeginUpdateResourceW deleting the existing ones): the caller writes
// back what it keeps. Deleting single resources is not used because Wine
// leaves them in place. Nothing reaches the file unless Commit succeeds; an
// update that is dropped is discarded.

#include "Bytes.h"

#include "base/UniqueResource.h"

#include <windows.h>

#include <string>

struct UpdateHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { EndUpdateResourceW(v, TRUE); }  // discard
};
using UniqueUpdateHandle = UniqueResource<UpdateHandleTraits>;

class ResourceUpdate {
public:
    // False with a message when the file cannot be opened for updating.
    bool Begin(const std::wstring& path, std::wstring& error);
    bool Put(LPCWSTR type, LPCWSTR name, WORD language, const Bytes& data);
    // Writes every change to the file. Afterwards the update is over.
    bool Commit();
    // The message for the first failed Put or Commit.
    const std::wstring& Error() const { return m_error; }

private:
    UniqueUpdateHandle m_handle;
    std::wstring m_path;
    std::wstring m_error;
};
