#pragma once

#include "base/List.h"
#include "base/Text.h"

// Settings carried inside the executable: INI text parsed into ordered
// sections of ordered key/value pairs. Lookups are exact and case-sensitive
// and find the first section of a name and, in it, the first pair of a key;
// repeated sections and keys are kept, not merged.
class EmbeddedStore {
public:
    struct Pair {
        String key;
        String value;
    };
    struct Section {
        String name;
        List<Pair> pairs;
    };

    // Replaces the content with the sections of an INI text whose lines end
    // with "\r\n" and which may start with a byte-order mark. Lines before the
    // first section and lines without "=" are ignored; there are no comments.
    void Parse(const String& text);

    // The value of key in section, or null when either is absent.
    const String* Find(const String& section, const String& key) const;

    const List<Section>& Sections() const { return m_sections; }

private:
    List<Section> m_sections;
};
