#include "settings/EmbeddedStore.h"

#include "base/SplitList.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;

bool IsBlank(wchar_t c)
{
    return c <= 32;
}

// Removes leading and trailing characters of code 32 or below.
String Trimmed(const String& text, int start, int end)
{
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.Mid(start, end - start);
}

}  // namespace

void EmbeddedStore::Parse(const String& text)
{
    m_sections.Clear();
    StringList lines;
    SplitList(text, L"\r\n", lines);
    if (lines.IsEmpty())
        return;
    if (lines[0].Length() > 0 && lines[0][0] == kByteOrderMark)
        lines[0].Remove(0, 1);

    for (const String& line : lines) {
        int start = 0;
        while (start < line.Length() && IsBlank(line[start]))
            ++start;
        if (start < line.Length() && line[start] == L'[') {
            int end = line.Length();
            while (end > start && IsBlank(line[end - 1]))
                --end;
            // A lone "[" is not a section: it needs its own closing "]".
            if (end - start >= 2 && line[end - 1] == L']') {
                Section& section = m_sections.Append(Section());
                section.name = line.Mid(start + 1, end - start - 2);
                continue;
            }
        }
        if (m_sections.IsEmpty())
            continue;
        int equals = line.Find(L'=', start);
        if (equals == String::npos)
            continue;
        Pair pair;
        pair.key = Trimmed(line, start, equals);
        pair.value = Trimmed(line, equals + 1, line.Length());
        m_sections[m_sections.Count() - 1].pairs.Append(static_cast<Pair&&>(pair));
    }
}

const String* EmbeddedStore::Find(const String& section, const String& key) const
{
    for (const Section& candidate : m_sections) {
        if (candidate.name != section)
            continue;
        for (const Pair& pair : candidate.pairs)
            if (pair.key == key)
                return &pair.value;
        return nullptr;
    }
    return nullptr;
}

