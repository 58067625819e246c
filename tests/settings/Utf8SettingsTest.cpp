// Settings files saved as UTF-8 read as the system reads the same text in
// UTF-16, and stay UTF-8 when a value is written back.

#include "settings/JrePathWriter.h"
#include "settings/MergedSettings.h"
#include "settings/SettingsEncoding.h"
#include "settings/SettingsIndex.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cwctype>

using namespace settings_test;

namespace {

std::wstring SystemValue(const std::wstring& file, const std::wstring& section, const std::wstring& key)
{
    std::wstring value(4096, L'\0');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", &value[0], 4096, file.c_str());
    return value.substr(0, n);
}

// Zero-separated names as the system lists them (section names, or the keys
// of one section).
std::vector<std::wstring> SystemNames(const std::wstring& file, const wchar_t* section)
{
    std::wstring buffer(32768, L'\0');
    DWORD n = section ? GetPrivateProfileStringW(section, nullptr, L"", &buffer[0], 32768, file.c_str())
                      : GetPrivateProfileSectionNamesW(&buffer[0], 32768, file.c_str());
    std::vector<std::wstring> names;
    for (size_t start = 0; start < n;) {
        size_t end = buffer.find(L'\0', start);
        names.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// Every lookup the UTF-16 file answers, plus case variants and misses.
// Without a mark, the system itself misreads some of them.
void CompareReaders(const std::wstring& utf8, const std::wstring& utf16, bool withoutMark)
{
    SettingsFile fromUtf8(String(utf8.c_str()));
    SettingsFile fromUtf16(String(utf16.c_str()));
    MergedSettings mergedUtf8(String(utf8.c_str()), String());
    StringList names;
    fromUtf8.GetSectionNames(names);
    std::vector<std::wstring> got;
    for (const String& name : names)
        got.push_back(Str(name));
    EXPECT_EQ(SystemNames(utf16, nullptr), got);

    std::vector<std::wstring> sections = SystemNames(utf16, nullptr);
    sections.push_back(L"");
    sections.push_back(L"Missing");
    int misread = 0;  // lookups the system itself gets wrong in the UTF-8 file
    for (const std::wstring& section : sections) {
        std::vector<std::wstring> keys = SystemNames(utf16, section.c_str());
        keys.push_back(L"absent");
        for (const std::wstring& key : keys) {
            for (const auto& ask : {std::make_pair(section, key), std::make_pair(Upper(section), Upper(key))}) {
                String s(ask.first.c_str()), k(ask.second.c_str());
                std::wstring expected = SystemValue(utf16, ask.first, ask.second);
                misread += SystemValue(utf8, ask.first, ask.second) != expected;
                EXPECT_EQ(expected, Str(fromUtf8.GetValue(s, k))) << section << L" / " << key;
                EXPECT_EQ(expected, Str(mergedUtf8.GetValue(s, k))) << section << L" / " << key;
                EXPECT_EQ(Str(fromUtf16.GetValueAsWritten(s, k)), Str(mergedUtf8.GetValueAsWritten(s, k)))
                    << section << L" / " << key;
            }
        }
    }
    if (withoutMark)
        EXPECT_GT(misread, 0) << "each text must be one the system misreads as UTF-8";
}

}  // namespace

TEST(Utf8Settings, FormsOfFileText)
{
    const struct {
        std::string bytes;
        SettingsTextForm form;
    } rows[] = {
        {"", SettingsTextForm::System},
        {"[S]\r\nk=plain\r\n", SettingsTextForm::System},
        {"[S]\r\nk=Caf\xC3\xA9\r\n", SettingsTextForm::Utf8},
        {"k=\xF0\x9F\x98\x80", SettingsTextForm::Utf8},
        {"\xEF\xBB\xBF[S]\r\nk=v\r\n", SettingsTextForm::Utf8WithMark},
        {std::string("\xFF\xFE[\0S\0]\0", 8), SettingsTextForm::System},
        {"k=Caf\xE9", SettingsTextForm::System},           // ANSI
        {"k=\xC3\xA9 Caf\xE9", SettingsTextForm::System},  // mostly UTF-8, one stray byte
        {"k=\xC3", SettingsTextForm::System},              // cut short
        {"k=\xC0\xAF", SettingsTextForm::System},          // overlong
        {"k=\xED\xA0\x80", SettingsTextForm::System},      // an encoded surrogate
        {"k=\xF4\x90\x80\x80", SettingsTextForm::System},  // past U+10FFFF
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.form, ClassifySettingsText(row.bytes.data(), static_cast<int>(row.bytes.size())))
            << row.bytes;
    }
    // Encoding gives the system's UTF-8; a lone surrogate has none.
    const std::wstring text = L"a\x00e9\x20ac\xd83d\xde00";
    AnsiString bytes;
    ASSERT_TRUE(EncodeUtf8(text.c_str(), static_cast<int>(text.size()), bytes));
    EXPECT_EQ(Narrow(text), std::string(bytes.CStr(), bytes.Length()));
    String back;
    ASSERT_TRUE(DecodeUtf8(bytes.CStr(), bytes.Length(), back));
    EXPECT_EQ(text, Str(back));
    AnsiString lone;
    EXPECT_FALSE(EncodeUtf8(L"a\xd800z", 3, lone));
}

// Every key the system finds in the UTF-16 form of a text reads the same from
// the UTF-8 form: values, quotes, blanks, comments, case and repeats.
TEST(Utf8Settings, ReadsAsTheSystemReadsTheUtf16Twin)
{
    const std::wstring texts[] = {
        L"[Caf\x00e9]\r\nName=Caf\x00e9\r\nK\x00e9y = \"quoted \x00e9 \" \r\n;Name=comment \x00e9\r\n"
        L"Name=second\r\n[caf\x00c9]\r\nOther=\x4e2d\x6587\r\n",
        L"top=\x00fc before\r\n[Java Runtime Environment]\r\n"
        L"Virtual Machine Parameters=\"-Dname=Caf\x00e9\" -Dx=\x00e9\r\nMain Class=\"a.\x00c9\"\r\n"
        L"[S\x00e9]\r\n  k  =  'single \x00e9'  \r\n[S\x00e9]\r\nk=repeated section\r\n",
        L"[E]\nsmile=\xd83d\xde00 \x20ac\n\x00e9=accented key\nq=\"\x00e9\"\n[Long]\nv=" + std::wstring(300, L'\x00e9'),
    };
    TempFolder folder(L"jl-utf8-");
    int index = 0;
    for (const std::wstring& text : texts) {
        for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
            SCOPED_TRACE(index);
            std::wstring utf8 = folder / (L"u" + std::to_wstring(index) + L".ini");
            std::wstring utf16 = folder / (L"w" + std::to_wstring(index++) + L".ini");
            WriteBytes(utf8, mark + Narrow(text));
            WriteIni(utf16, text);
            CompareReaders(utf8, utf16, mark.empty());
        }
    }
}

TEST(Utf8Settings, OtherFilesAreLeftToTheSystemAndChangesAreSeen)
{
    TempFolder folder(L"jl-utf8-");
    // A stray 0xE9 makes the file ANSI, valid sequences in it included.
    std::wstring ansi = folder / L"ansi.ini";
    WriteBytes(ansi, "[S]\r\nk=Caf\xE9 \xC3\xA9\r\n");
    EXPECT_EQ(SystemValue(ansi, L"S", L"k"), Str(SettingsFile(String(ansi.c_str())).GetValue(L"S", L"k")));
    SettingsReadSource source;
    GetSettingsReadSource(String(ansi.c_str()), source);
    EXPECT_EQ(ansi, Str(source.path));

    // A UTF-8 file changed between readers: the next reader sees the change,
    // and the copy of the earlier version is gone.
    std::wstring path = folder / L"changed.ini";
    WriteBytes(path, Narrow(L"[S]\r\nk=Caf\x00e9\r\n"));
    EXPECT_EQ(L"Caf\x00e9", Str(SettingsFile(String(path.c_str())).GetValue(L"S", L"k")));
    SettingsReadSource first;
    GetSettingsReadSource(String(path.c_str()), first);
    ASSERT_NE(path, Str(first.path));
    std::wstring firstCopy = Str(first.path);
    first.hold.reset();
    WriteBytes(path, Narrow(L"[S]\r\nk=Cr\x00e8me br\x00fbl\x00e9\x65\r\n"));
    EXPECT_EQ(L"Cr\x00e8me br\x00fbl\x00e9\x65", Str(SettingsFile(String(path.c_str())).GetValue(L"S", L"k")));
    EXPECT_FALSE(Exists(firstCopy));
}

// "JRE Path" written into a UTF-8 file: the file stays UTF-8 (with or without
// its mark) and holds what the system writes into the UTF-16 twin.
TEST(Utf8Settings, WrittenValuesKeepTheFileUtf8)
{
    const std::wstring text = L"[Caf\x00e9]\r\nk=\x00e9\r\n[Java Runtime Environment]\r\nJRE Path=old\r\n";
    const std::wstring folderName = L"C:\\Users\\\x0414\x043c\x0438\x0442\x0440\x0438\x0439\\jdk17\\";
    TempFolder folder(L"jl-utf8-");
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(mark.size());
        std::wstring utf8 = folder / (L"u" + std::to_wstring(mark.size()) + L".ini");
        std::wstring utf16 = folder / (L"w" + std::to_wstring(mark.size()) + L".ini");
        WriteBytes(utf8, mark + Narrow(text));
        WriteIni(utf16, text);
        for (const std::wstring& file : {utf8, utf16}) {
            EXPECT_EQ(SettingWrite::Written, WriteSettingSafely(String(file.c_str()), L"Java Runtime Environment",
                                                                L"JRE Path", String(folderName.c_str()), false));
        }
        std::string twin = ReadBytes(utf16);
        std::wstring expected;
        for (size_t i = 2; i + 1 < twin.size(); i += 2)
            expected.push_back(static_cast<wchar_t>(static_cast<unsigned char>(twin[i]) |
                                                    (static_cast<unsigned char>(twin[i + 1]) << 8)));
        EXPECT_EQ(mark + Narrow(expected), ReadBytes(utf8));
        SettingsFile reader(String(utf8.c_str()));
        EXPECT_EQ(folderName, Str(reader.GetValue(L"Java Runtime Environment", L"JRE Path")));
        EXPECT_EQ(L"\x00e9", Str(reader.GetValue(L"Caf\x00e9", L"k")));

        // A reader's own write keeps the file UTF-8 too, and it reads it back.
        EXPECT_TRUE(reader.SetValue(L"Caf\x00e9", L"k", L"\x00e8"));
        EXPECT_EQ(L"\x00e8", Str(reader.GetValue(L"Caf\x00e9", L"k")));
        EXPECT_EQ(mark, ReadBytes(utf8).substr(0, mark.size()));
        EXPECT_NE(std::string::npos, ReadBytes(utf8).find("k=\xC3\xA8"));
    }
}
