#pragma once

#include <windows.h>

// One move-only owner for every kind of OS resource. Traits give the type, the
// value that means "nothing owned" and the function that releases it. Release
// keeps the thread's last-error value, so cleanup on a failure path never hides
// the error that caused it.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : m_value(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Type get() const { return m_value; }
    explicit operator bool() const { return IsValid(m_value); }
    bool valid() const { return IsValid(m_value); }

    // Releases what is owned (if anything) and takes value.
    void reset(Type value = Traits::Invalid())
    {
        Type old = m_value;
        m_value = value;
        if (IsValid(old) && old != value) {
            DWORD lastError = GetLastError();
            Traits::Close(old);
            SetLastError(lastError);
        }
    }
    // Gives up ownership without releasing.
    Type release()
    {
        Type value = m_value;
        m_value = Traits::Invalid();
        return value;
    }
    // For out-parameters: releases what is owned and returns the slot.
    Type* put()
    {
        reset();
        return &m_value;
    }

private:
    static bool IsValid(Type value) { return value != Traits::Invalid() && Traits::AlsoValid(value); }
    Type m_value = Traits::Invalid();
};

struct HandleTraits {  // threads, events, mappings, processes: invalid as NULL
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type v) { return v != INVALID_HANDLE_VALUE; }
    static void Close(Type v) { CloseHandle(v); }
};
struct FileHandleTraits {  // CreateFileW: invalid as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool AlsoValid(Type v) { return v != nullptr; }
    static void Close(Type v) { CloseHandle(v); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool AlsoValid(Type v) { return v != nullptr; }
    static void Close(Type v) { FindClose(v); }
};
struct MappedViewTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { UnmapViewOfFile(v); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { RegCloseKey(v); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { FreeLibrary(v); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { DeleteObject(v); }
};
struct DcTraits {  // CreateCompatibleDC and friends
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { DeleteDC(v); }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueDc = UniqueResource<DcTraits>;
