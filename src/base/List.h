#pragma once

#include "base/FatalError.h"
#include "base/Heap.h"
#include "base/Text.h"

#include <new>

// A growable array on the process heap (capacity 1, doubling). Elements are
// moved when the array grows. An index outside the list raises the fatal
// error with E_BOUNDS.
template <typename T>
class List {
public:
    List() = default;
    List(const List& other) { AppendAll(other); }
    List(List&& other) noexcept : m_items(other.m_items), m_count(other.m_count), m_capacity(other.m_capacity)
    {
        other.m_items = nullptr;
        other.m_count = other.m_capacity = 0;
    }
    ~List()
    {
        Clear();
        HeapRelease(m_items);
    }
    List& operator=(const List& other)
    {
        if (this != &other) {
            Clear();
            AppendAll(other);
        }
        return *this;
    }
    List& operator=(List&& other) noexcept
    {
        if (this != &other) {
            Clear();
            HeapRelease(m_items);
            m_items = other.m_items;
            m_count = other.m_count;
            m_capacity = other.m_capacity;
            other.m_items = nullptr;
            other.m_count = other.m_capacity = 0;
        }
        return *this;
    }

    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    T& operator[](int index)
    {
        CheckIndex(index);
        return m_items[index];
    }
    const T& operator[](int index) const
    {
        CheckIndex(index);
        return m_items[index];
    }

    T& Append(const T& item)
    {
        T copy(item);
        return Append(static_cast<T&&>(copy));
    }
    T& Append(T&& item)
    {
        T* source = &item;
        if (source >= m_items && source < m_items + m_count) {
            // An element of this list: growing moves it, so follow it.
            int index = static_cast<int>(source - m_items);
            Grow(m_count + 1);
            source = m_items + index;
        } else {
            Grow(m_count + 1);
        }
        T* slot = new (m_items + m_count) T(static_cast<T&&>(*source));
        ++m_count;
        return *slot;
    }
    void AppendAll(const List& other)
    {
        // other may be this list: only the items it holds now are appended.
        int count = other.m_count;
        for (int i = 0; i < count; ++i)
            Append(other.m_items[i]);
    }
    void RemoveAt(int index)
    {
        CheckIndex(index);
        for (int i = index; i + 1 < m_count; ++i)
            m_items[i] = static_cast<T&&>(m_items[i + 1]);
        m_items[--m_count].~T();
    }
    void Clear()
    {
        while (m_count > 0)
            m_items[--m_count].~T();
    }
    // Exchanges two elements (used by sorts that must keep stability rules).
    void Swap(int a, int b)
    {
        CheckIndex(a);
        CheckIndex(b);
        if (a == b)
            return;
        T tmp(static_cast<T&&>(m_items[a]));
        m_items[a] = static_cast<T&&>(m_items[b]);
        m_items[b] = static_cast<T&&>(tmp);
    }

    T* begin() { return m_items; }
    T* end() { return m_items + m_count; }
    const T* begin() const { return m_items; }
    const T* end() const { return m_items + m_count; }

private:
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= m_count)
            RaiseFatalError(kFatalBounds);
    }
    void Grow(int needed)
    {
        if (needed <= m_capacity)
            return;
        int capacity = m_capacity ? m_capacity : 1;
        while (capacity < needed) {
            if (capacity > 0x3FFFFFFF)
                RaiseFatalError(kFatalOutOfMemory);
            capacity *= 2;
        }
        T* items = static_cast<T*>(HeapAllocate(CheckedArrayBytes(static_cast<size_t>(capacity), sizeof(T))));
        for (int i = 0; i < m_count; ++i) {
            new (items + i) T(static_cast<T&&>(m_items[i]));
            m_items[i].~T();
        }
        HeapRelease(m_items);
        m_items = items;
        m_capacity = capacity;
    }

    T* m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

using StringList = List<String>;
using AnsiList = List<AnsiString>;
