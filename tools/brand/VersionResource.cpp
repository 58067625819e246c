#include "VersionResource.h"

namespace {

constexpr uint16_t kBinaryValue = 0;
constexpr uint16_t kTextValue = 1;
constexpr uint16_t kUnicodeCodePage = 1200;

void AlignTo4(Bytes& data)
{
    while (data.size() % 4)
        data.push_back(0);
}

void PutText(Bytes& data, const std::wstring& text)  // with its terminating zero
{
    for (wchar_t c : text)
        PutU16(data, static_cast<uint16_t>(c));
    PutU16(data, 0);
}

// One node of the version tree: wLength, wValueLength, wType, the key, the
// value and the children, each start aligned to 4 bytes. Finish() fills in
// the length once the children are written.
class Node {
public:
    Node(Bytes& data, const std::wstring& key, uint16_t valueLength, uint16_t type) : m_data(data)
    {
        AlignTo4(m_data);
        m_start = m_data.size();
        PutU16(m_data, 0);
        PutU16(m_data, valueLength);
        PutU16(m_data, type);
        PutText(m_data, key);
        AlignTo4(m_data);
    }
    void Finish()
    {
        size_t length = m_data.size() - m_start;
        m_data[m_start] = static_cast<uint8_t>(length);
        m_data[m_start + 1] = static_cast<uint8_t>(length >> 8);
    }

private:
    Bytes& m_data;
    size_t m_start = 0;
};

size_t Aligned4(size_t at)
{
    return (at + 3) & ~static_cast<size_t>(3);
}

// Searches the node at [at, end) and its children for a text value named
// name. Depth is bounded: a version tree has four levels.
bool FindInNode(const Bytes& data, size_t at, size_t end, const std::wstring& name, std::wstring& value, int depth)
{
    if (depth > 4 || end > data.size() || at + 6 > end)
        return false;
    size_t length = data[at] | (data[at + 1] << 8);
    size_t valueLength = data[at + 2] | (data[at + 3] << 8);
    uint16_t type = static_cast<uint16_t>(data[at + 4] | (data[at + 5] << 8));
    if (length < 6 || at + length > end)
        return false;
    end = at + length;
    std::wstring key;
    size_t p = at + 6;
    for (; p + 1 < end; p += 2) {
        wchar_t c = static_cast<wchar_t>(data[p] | (data[p + 1] << 8));
        if (c == 0)
            break;
        key.push_back(c);
    }
    if (p + 1 >= end)
        return false;  // the key does not end inside the node
    size_t valueAt = Aligned4(p + 2);
    size_t valueBytes = type == kTextValue ? 2 * valueLength : valueLength;
    if (depth > 0 && type == kTextValue && key == name && valueAt + valueBytes <= end) {
        value.clear();
        for (size_t q = valueAt; q + 1 < valueAt + valueBytes; q += 2) {
            wchar_t c = static_cast<wchar_t>(data[q] | (data[q + 1] << 8));
            if (c == 0)
                break;
            value.push_back(c);
        }
        return true;
    }
    for (size_t child = Aligned4(valueAt + valueBytes); child + 6 <= end;) {
        size_t childLength = data[child] | (data[child + 1] << 8);
        if (childLength < 6)
            return false;
        if (FindInNode(data, child, end, name, value, depth + 1))
            return true;
        child = Aligned4(child + childLength);
    }
    return false;
}

}  // namespace

bool FindVersionString(const Bytes& data, const std::wstring& name, std::wstring& value)
{
    return FindInNode(data, 0, data.size(), name, value, 0);
}

bool ParseVersionNumber(const std::wstring& text, uint16_t parts[4])
{
    size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != L'.')
                return false;
            ++at;
        }
        uint32_t value = 0;
        size_t digits = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at, ++digits) {
            value = value * 10 + static_cast<uint32_t>(text[at] - L'0');
            if (value > 65535)
                return false;
        }
        if (digits == 0)
            return false;
        parts[part] = static_cast<uint16_t>(value);
    }
    return at == text.size();
}

Bytes BuildVersionResource(const VersionInfo& info)
{
    const uint32_t high = (static_cast<uint32_t>(info.version[0]) << 16) | info.version[1];
    const uint32_t low = (static_cast<uint32_t>(info.version[2]) << 16) | info.version[3];
    Bytes data;
    Node root(data, L"VS_VERSION_INFO", 52, kBinaryValue);
    PutU32(data, 0xFEEF04BD);  // VS_FIXEDFILEINFO signature
    PutU32(data, 0x00010000);  // structure version 1.0
    PutU32(data, high);        // file version
    PutU32(data, low);
    PutU32(data, high);        // product version
    PutU32(data, low);
    PutU32(data, 0x3F);        // flags mask (VS_FFI_FILEFLAGSMASK)
    PutU32(data, 0);           // flags
    PutU32(data, 0x00040004);  // VOS_NT_WINDOWS32
    PutU32(data, 1);           // VFT_APP
    PutU32(data, 0);           // subtype
    PutU32(data, 0);           // date
    PutU32(data, 0);

    Node fileInfo(data, L"StringFileInfo", 0, kTextValue);
    std::wstring tableKey;  // language and code page in lower-case hex: "042104b0"
    for (uint32_t key = (static_cast<uint32_t>(info.language) << 16) | kUnicodeCodePage, shift = 32; shift;) {
        shift -= 4;
        tableKey += L"0123456789abcdef"[(key >> shift) & 0xF];
    }
    Node table(data, tableKey, 0, kTextValue);
    for (const auto& entry : info.strings) {
        if (entry.second.empty())
            continue;
        Node value(data, entry.first, static_cast<uint16_t>(entry.second.size() + 1), kTextValue);
        PutText(data, entry.second);
        value.Finish();
    }
    table.Finish();
    fileInfo.Finish();

    Node varInfo(data, L"VarFileInfo", 0, kTextValue);
    Node translation(data, L"Translation", 4, kBinaryValue);
    PutU16(data, info.language);
    PutU16(data, kUnicodeCodePage);
    translation.Finish();
    varInfo.Finish();
    root.Finish();
    return data;
}
