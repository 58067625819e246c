#pragma once

// Test support: a copy of some input placed at the very end of committed
// memory, directly followed by a page that cannot be touched. A parser that
// reads one element past the input (past the terminator, when there is one)
// faults at once instead of reading neighbouring heap memory unnoticed.
//
//   GuardedInput<wchar_t> in(L"abc", 3, /*terminate=*/false);
//   Parse(in.get(), 3);   // reading in.get()[3] faults

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <new>

template <class Ch>
class GuardedInput {
public:
    // Copies count elements of data; with terminate a zero element follows
    // them (and is the last readable element).
    GuardedInput(const Ch* data, size_t count, bool terminate)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t bytes = (count + (terminate ? 1 : 0)) * sizeof(Ch);
        const size_t dataPages = bytes == 0 ? 1 : (bytes + page - 1) / page;
        m_size = (dataPages + 1) * page;
        m_base = static_cast<unsigned char*>(VirtualAlloc(nullptr, m_size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!m_base)
            throw std::bad_alloc();
        DWORD oldProtection = 0;
        unsigned char* guard = m_base + dataPages * page;
        if (!VirtualProtect(guard, page, PAGE_NOACCESS, &oldProtection)) {
            VirtualFree(m_base, 0, MEM_RELEASE);
            throw std::bad_alloc();
        }
        m_data = reinterpret_cast<Ch*>(guard - bytes);
        if (count)
            std::memcpy(m_data, data, count * sizeof(Ch));
        if (terminate)
            m_data[count] = Ch(0);
    }
    ~GuardedInput() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedInput(const GuardedInput&) = delete;
    GuardedInput& operator=(const GuardedInput&) = delete;

    // The first element; the input (and its terminator) ends where the guard
    // page begins.
    const Ch* get() const { return m_data; }

private:
    unsigned char* m_base = nullptr;
    size_t m_size = 0;
    Ch* m_data = nullptr;
};
