#pragma once

#include "base/FatalError.h"
#include "base/Heap.h"

#include <stdint.h>

// A text with value semantics and an explicit length, stored on the process
// heap and always kept zero-terminated for system calls. Positions and counts
// outside the text raise the fatal error (E_INVALIDARG); a position plus a
// count beyond the largest int raises the overflow code.
//
// BasicText<wchar_t> (String) holds UTF-16; BasicText<char> (AnsiString) holds
// 8-bit text in the thread's ANSI code page, used only at the JNI and
// splash-library borders.
template <typename Ch>
class BasicText {
public:
    static constexpr int npos = -1;

    BasicText() = default;
    BasicText(const Ch* text) { Append(text); }  // NOLINT: implicit from literals
    BasicText(const Ch* text, int length) { Append(text, length); }
    BasicText(const BasicText& other) { Append(other.m_data, other.m_length); }
    BasicText(BasicText&& other) noexcept
        : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity)
    {
        other.m_data = nullptr;
        other.m_length = other.m_capacity = 0;
    }
    ~BasicText() { HeapRelease(m_data); }

    BasicText& operator=(const BasicText& other)
    {
        if (this != &other) {
            // Clear, not just a zero length: an empty source appends nothing
            // and the old characters would still sit behind the terminator.
            Clear();
            Append(other.m_data, other.m_length);
        }
        return *this;
    }
    BasicText& operator=(BasicText&& other) noexcept
    {
        if (this != &other) {
            HeapRelease(m_data);
            m_data = other.m_data;
            m_length = other.m_length;
            m_capacity = other.m_capacity;
            other.m_data = nullptr;
            other.m_length = other.m_capacity = 0;
        }
        return *this;
    }
    BasicText& operator=(const Ch* text)
    {
        BasicText copy(text);
        return *this = static_cast<BasicText&&>(copy);
    }

    int Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    // Never null: an empty text gives a pointer to a zero.
    const Ch* CStr() const { return m_data ? m_data : EmptyText(); }

    Ch operator[](int index) const
    {
        if (index < 0 || index >= m_length)
            RaiseFatalError(kFatalInvalidArg);
        return m_data[index];
    }
    void SetAt(int index, Ch c)
    {
        if (index < 0 || index >= m_length)
            RaiseFatalError(kFatalInvalidArg);
        m_data[index] = c;
    }
    // The last character, or 0 for an empty text.
    Ch Last() const { return m_length ? m_data[m_length - 1] : Ch(0); }

    void Clear() { Truncate(0); }
    void Truncate(int length)
    {
        if (length < 0 || length > m_length)
            RaiseFatalError(kFatalInvalidArg);
        m_length = length;
        if (m_data)
            m_data[length] = 0;
    }

    BasicText& Append(const Ch* text, int length)
    {
        if (length < 0)
            RaiseFatalError(kFatalInvalidArg);
        if (length == 0)
            return *this;
        int newLength = CheckedSum(m_length, length);
        // text may point into this text's own buffer, which Reserve can move.
        if (text >= m_data && text < m_data + m_capacity) {
            int offset = static_cast<int>(text - m_data);
            Reserve(newLength);
            text = m_data + offset;
        } else {
            Reserve(newLength);
        }
        for (int i = 0; i < length; ++i)
            m_data[m_length + i] = text[i];
        m_length = newLength;
        m_data[m_length] = 0;
        return *this;
    }
    BasicText& Append(const Ch* text) { return text ? Append(text, Measure(text)) : *this; }
    BasicText& Append(const BasicText& text) { return Append(text.m_data, text.m_length); }
    BasicText& Append(Ch c) { return Append(&c, 1); }
    BasicText& operator+=(const BasicText& text) { return Append(text); }
    BasicText& operator+=(const Ch* text) { return Append(text); }
    BasicText& operator+=(Ch c) { return Append(c); }

    // count < 0 means "to the end".
    BasicText Mid(int start, int count = -1) const
    {
        CheckRange(start, count);
        return BasicText(CStr() + start, count < 0 ? m_length - start : count);
    }
    BasicText Left(int count) const { return Mid(0, count); }
    // Without the blanks and tabs at either end.
    BasicText Trimmed() const
    {
        int start = 0;
        int end = m_length;
        while (start < end && (m_data[start] == ' ' || m_data[start] == '\t'))
            ++start;
        while (end > start && (m_data[end - 1] == ' ' || m_data[end - 1] == '\t'))
            --end;
        return Mid(start, end - start);
    }
    void Remove(int start, int count)
    {
        CheckRange(start, count);
        if (count == 0)
            return;  // also keeps an empty text without storage untouched
        for (int i = start + count; i <= m_length; ++i)
            m_data[i - count] = m_data[i];
        m_length -= count;
    }
    void Insert(int position, const BasicText& text)
    {
        if (position < 0 || position > m_length)
            RaiseFatalError(kFatalInvalidArg);
        if (&text == this) {
            // The text is about to be cut: insert a copy of it.
            BasicText copy(text);
            Insert(position, copy);
            return;
        }
        BasicText tail = Mid(position);
        Truncate(position);
        Append(text);
        Append(tail);
    }

    int Find(Ch c, int start = 0) const
    {
        if (start < 0 || start > m_length)
            RaiseFatalError(kFatalInvalidArg);
        for (int i = start; i < m_length; ++i)
            if (m_data[i] == c)
                return i;
        return npos;
    }
    int Find(const Ch* text, int start = 0) const
    {
        if (start < 0 || start > m_length)
            RaiseFatalError(kFatalInvalidArg);
        int n = Measure(text);
        for (int i = start; i + n <= m_length; ++i)
            if (SameChars(m_data + i, text, n))
                return i;
        return npos;
    }
    int ReverseFind(Ch c) const
    {
        for (int i = m_length - 1; i >= 0; --i)
            if (m_data[i] == c)
                return i;
        return npos;
    }
    bool Contains(Ch c) const { return Find(c) != npos; }
    bool StartsWith(const Ch* text) const
    {
        int n = Measure(text);
        return n <= m_length && SameChars(CStr(), text, n);
    }
    bool EndsWith(const Ch* text) const
    {
        int n = Measure(text);
        return n <= m_length && SameChars(CStr() + m_length - n, text, n);
    }
    void ReplaceAll(Ch from, Ch to)
    {
        for (int i = 0; i < m_length; ++i)
            if (m_data[i] == from)
                m_data[i] = to;
    }

    bool Equals(const Ch* text) const
    {
        int n = Measure(text);
        return n == m_length && SameChars(CStr(), text, n);
    }
    bool operator==(const BasicText& other) const
    {
        return m_length == other.m_length && SameChars(CStr(), other.CStr(), m_length);
    }
    bool operator!=(const BasicText& other) const { return !(*this == other); }
    // Case-insensitive for the ASCII letters, exact for every other character.
    bool EqualsNoCase(const Ch* text) const
    {
        int n = Measure(text);
        if (n != m_length)
            return false;
        for (int i = 0; i < n; ++i)
            if (FoldAscii(m_data[i]) != FoldAscii(text[i]))
                return false;
        return true;
    }

    // Writable storage of at least capacity characters plus the terminator, for
    // system calls that fill a buffer. Finish with SetLength.
    Ch* GetBuffer(int capacity)
    {
        if (capacity < 0)
            RaiseFatalError(kFatalInvalidArg);
        Reserve(capacity);
        return m_data;
    }
    // Ends a GetBuffer call: length characters are valid. A length beyond the
    // storage raises the fatal error.
    void SetLength(int length)
    {
        if (length < 0 || length > m_capacity)
            RaiseFatalError(kFatalInvalidArg);
        m_length = length;
        if (m_data)
            m_data[length] = 0;
    }
    // Sets the length to the characters before the first zero in the buffer.
    void SetLengthToTerminator()
    {
        int n = 0;
        while (m_data && n < m_capacity && m_data[n])
            ++n;
        SetLength(n);
    }

    static int Measure(const Ch* text)
    {
        int n = 0;
        if (text)
            while (text[n]) {
                if (n == 0x7FFFFFFF)
                    RaiseFatalError(kFatalOverflow);
                ++n;
            }
        return n;
    }

private:
    static const Ch* EmptyText()
    {
        static const Ch zero = 0;
        return &zero;
    }
    static Ch FoldAscii(Ch c) { return (c >= 'A' && c <= 'Z') ? Ch(c - 'A' + 'a') : c; }
    static bool SameChars(const Ch* a, const Ch* b, int n)
    {
        for (int i = 0; i < n; ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    static int CheckedSum(int a, int b)
    {
        if (a > 0x7FFFFFFF - b - 1)  // keep room for the terminator
            RaiseFatalError(kFatalOverflow);
        return a + b;
    }
    void CheckRange(int start, int& count) const
    {
        if (start < 0 || start > m_length)
            RaiseFatalError(kFatalInvalidArg);
        if (count >= 0) {
            if (start > 0x7FFFFFFF - count)
                RaiseFatalError(kFatalOverflow);
            if (start + count > m_length)
                RaiseFatalError(kFatalInvalidArg);
        } else {
            count = m_length - start;
        }
    }
    void Reserve(int length)
    {
        if (length <= m_capacity && m_data)
            return;
        int capacity = m_capacity ? m_capacity : 15;
        while (capacity < length)
            capacity = capacity > 0x3FFFFFFF ? 0x7FFFFFFF : capacity * 2 + 1;
        bool wasEmpty = m_data == nullptr;
        m_data = static_cast<Ch*>(HeapReallocate(m_data, CheckedArrayBytes(static_cast<size_t>(capacity) + 1, sizeof(Ch))));
        m_capacity = capacity;
        if (wasEmpty)
            m_data[0] = 0;
    }

    Ch* m_data = nullptr;
    int m_length = 0;
    int m_capacity = 0;  // characters, not counting the terminator's slot
};

using String = BasicText<wchar_t>;
using AnsiString = BasicText<char>;

inline String operator+(const String& a, const String& b)
{
    String result(a);
    result.Append(b);
    return result;
}
inline String operator+(const String& a, const wchar_t* b)
{
    String result(a);
    result.Append(b);
    return result;
}
inline String operator+(const String& a, wchar_t b)
{
    String result(a);
    result.Append(b);
    return result;
}
