// SettingsFile and MergedSettings over real INI files.

#include "settings/MergedSettings.h"
#include "settings/SettingsFile.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

std::wstring Get(SettingsFile& file, const wchar_t* section, const wchar_t* key)
{
    return Str(file.GetValue(String(section), String(key)));
}

std::wstring Pattern(size_t length)
{
    std::wstring text;
    for (size_t i = 0; i < length; ++i)
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    return text;
}

}  // namespace

TEST(SettingsFileTest, ValuesOfEveryLengthAreReadWhole)
{
    TempFolder folder;
    std::wstring path = folder / L"long.ini";
    const size_t lengths[] = {0, 1, 254, 255, 256, 257, 510, 511, 512, 1000, 1023, 5000};
    std::wstring text = L"[S]\r\n";
    for (size_t n : lengths)
        text += L"k" + std::to_wstring(n) + L"=" + Pattern(n) + L"\r\n";
    WriteIni(path, text);

    SettingsFile file(String(path.c_str()));
    for (size_t n : lengths)
        EXPECT_EQ(Pattern(n), Get(file, L"S", (L"k" + std::to_wstring(n)).c_str())) << n;
}

TEST(SettingsFileTest, MissingThingsReadEmptyAndTheSystemTrims)
{
    TempFolder folder;
    std::wstring path = folder / L"plain.ini";
    WriteIni(path, L"[Java Runtime Environment]\r\n"
                   L"Main Class = com.example.Main   \r\n"
                   L"Quoted=\" spaced \"\r\n"
                   L"Blank=    \r\n"
                   L"Unicode=\x00e9\x4e2d\xd83d\xde00\r\n");
    SettingsFile file(String(path.c_str()));
    EXPECT_EQ(L"com.example.Main", Get(file, L"Java Runtime Environment", L"Main Class"));
    EXPECT_EQ(L"com.example.Main", Get(file, L"java runtime environment", L"MAIN CLASS"));
    EXPECT_EQ(L" spaced ", Get(file, L"Java Runtime Environment", L"Quoted"));
    EXPECT_EQ(L"", Get(file, L"Java Runtime Environment", L"Blank"));
    EXPECT_EQ(L"\x00e9\x4e2d\xd83d\xde00", Get(file, L"Java Runtime Environment", L"Unicode"));
    EXPECT_EQ(L"", Get(file, L"Java Runtime Environment", L"Missing"));
    EXPECT_EQ(L"", Get(file, L"Missing", L"Main Class"));

    SettingsFile missing(String((folder / L"none.ini").c_str()));
    EXPECT_EQ(L"", Get(missing, L"Java Runtime Environment", L"Main Class"));
}

TEST(SettingsFileTest, SectionNamesInFileOrderWhateverTheirTotalLength)
{
    struct Row {
        std::vector<std::wstring> names;
    } rows[] = {
        {{}},
        {{L"One"}},
        {{L"B", L"A", L"Application", L"Java Runtime Environment"}},
        // Lists near and past the first buffer (254 units of names and
        // terminators) and the second one (510).
        {{Pattern(252)}},
        {{Pattern(253)}},
        {{Pattern(254)}},
        {{Pattern(100), Pattern(100), Pattern(51)}},
        {{Pattern(100), Pattern(100), Pattern(52)}},
        {{Pattern(300), Pattern(208)}},
        {{Pattern(300), Pattern(210)}},
        {{Pattern(1500), L"x", Pattern(40)}},
    };
    TempFolder folder;
    int index = 0;
    for (const Row& row : rows) {
        std::wstring path = folder / (L"names" + std::to_wstring(index++) + L".ini");
        std::wstring text;
        for (const std::wstring& name : row.names)
            text += L"[" + name + L"]\r\nk=v\r\n";
        WriteIni(path, text);

        SettingsFile file(String(path.c_str()));
        StringList names;
        names.Append(String(L"stale"));
        file.GetSectionNames(names);
        std::vector<std::wstring> got;
        for (const String& name : names)
            got.push_back(Str(name));
        EXPECT_EQ(row.names, got) << "row " << index - 1;
    }
}

// The reader skips keys the file's own listing rules out; whatever it answers
// must be what the system answers, and a file changed behind its back is
// listed again by the next reader.
TEST(SettingsFileTest, AnswersAsTheSystemDoesAndSeesRewrites)
{
    TempFolder folder;
    std::wstring path = folder / L"odd.ini";
    std::wstring accented = folder / L"accented.ini";
    WriteIni(path, L"top=before any section\r\n"
                   L"[Dup]\r\nfirst=1\r\n[Dup]\r\nsecond=2\r\n"
                   L"[ Spaced ]\r\n\t Key \t= v \r\nbare\r\n;Main Class=commented\r\n=nameless\r\n[Empty]\r\n");
    WriteIni(accented, L"[Caf\x00e9]\r\nK\x00e9y=accent\r\nplain=p\r\n[Plain]\r\nK\x00e9y=2\r\n");
    const wchar_t* const lookups[][3] = {
        {L"odd", L"Dup", L"first"},     {L"odd", L"Dup", L"second"},       {L"odd", L"dup", L"FIRST"},
        {L"odd", L"Spaced", L"key"},    {L"odd", L"Spaced", L"bare"},      {L"odd", L"Spaced", L"Main Class"},
        {L"odd", L"Spaced", L""},       {L"odd", L"Empty", L"x"},          {L"odd", L"", L"top"},
        {L"odd", L"Missing", L"x"},     {L"accented", L"CAF\x00c9", L"plain"}, {L"accented", L"Caf\x00e9", L"K\x00c9Y"},
        {L"accented", L"Plain", L"K\x00c9Y"},
    };
    SettingsFile odd(String(path.c_str()));
    SettingsFile accentedFile(String(accented.c_str()));
    for (const auto& lookup : lookups) {
        bool isOdd = lookup[0][0] == L'o';
        wchar_t expected[64] = {};
        GetPrivateProfileStringW(lookup[1], lookup[2], L"", expected, 64, (isOdd ? path : accented).c_str());
        EXPECT_EQ(expected, Get(isOdd ? odd : accentedFile, lookup[1], lookup[2])) << lookup[1] << L" / " << lookup[2];
    }
    // Another program adds a section and a key: the next reader finds both.
    WriteIni(path, L"[Dup]\r\nfirst=changed\r\nthird=3\r\n[New]\r\nk=v\r\n");
    SettingsFile later(String(path.c_str()));
    EXPECT_EQ(L"changed", Get(later, L"Dup", L"first"));
    EXPECT_EQ(L"3", Get(later, L"Dup", L"third"));
    EXPECT_EQ(L"v", Get(later, L"New", L"k"));
}

// Lists of quoted tokens keep a pair of quotes around the whole value, which
// the system's reader strips; every other value reads as the system reads it.
TEST(SettingsFileTest, ValuesAsWrittenKeepQuotesAroundTheWholeValue)
{
    TempFolder folder;
    std::wstring path = folder / L"quotes.ini";
    WriteIni(path, L"[S]\r\nwhole=\"-Dapp.title=My App\"\r\nsingle = 'two words' \r\ntwo=\"a\" \"b\"\r\n"
                   L"inner=-Da=\"x y\"\r\nhalf=\"open\r\nplain=p\r\nWHOLE=\"later\"\r\n[S+]\r\nwhole=\"+ q\"\r\n");
    const wchar_t* const rows[][2] = {
        {L"whole", L"\"-Dapp.title=My App\""}, {L"single", L"'two words'"}, {L"two", L"\"a\" \"b\""},
        {L"inner", L"-Da=\"x y\""},         {L"half", L"\"open"},          {L"plain", L"p"},
        {L"missing", L""},
    };
    SettingsFile file(String(path.c_str()));
    for (const auto& row : rows)
        EXPECT_EQ(row[1], Str(file.GetValueAsWritten(String(L"S"), String(row[0])))) << row[0];
    MergedSettings merged(String(path.c_str()), String(L"[T]\r\nk=\"embedded\"\r\n"));
    EXPECT_EQ(L"\"-Dapp.title=My App\"", Str(merged.GetValueAsWritten(String(L"S"), String(L"whole"))));
    EXPECT_EQ(L"-Dapp.title=My App", Str(merged.GetValue(String(L"S"), String(L"whole"))));
    EXPECT_EQ(L"\"embedded\"", Str(merged.GetValueAsWritten(String(L"T"), String(L"k"))));
}

TEST(SettingsFileTest, SetValueWritesAndDeleteRemoves)
{
    TempFolder folder;
    std::wstring path = folder / L"written.ini";
    SettingsFile file(String(path.c_str()));
    EXPECT_TRUE(file.SetValue(String(L"Java Runtime Environment"), String(L"JRE Path"), String(L"D:\\Java\\jre")));
    EXPECT_EQ(L"D:\\Java\\jre", Get(file, L"Java Runtime Environment", L"JRE Path"));
    EXPECT_TRUE(file.SetValue(String(L"Java Runtime Environment"), String(L"JRE Path"), String(L"E:\\other")));
    EXPECT_EQ(L"E:\\other", Get(file, L"Java Runtime Environment", L"JRE Path"));
    EXPECT_TRUE(Exists(path));

    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(file.Delete());

    // A folder that does not exist cannot be written to.
    SettingsFile nowhere(String((folder / L"no\\such\\dir.ini").c_str()));
    EXPECT_FALSE(nowhere.SetValue(String(L"S"), String(L"k"), String(L"v")));
}

TEST(SettingsFileTest, ReadHeader)
{
    TempFolder folder;
    std::wstring path = folder / L"header.ini";
    WriteBytes(path, std::string("\xFF\xFE[\0S\0]\0", 8));
    SettingsFile file(String(path.c_str()));

    unsigned char header[4] = {0, 0, 0, 0};
    EXPECT_EQ(0u, file.ReadHeader(header));
    EXPECT_EQ(0xFF, header[0]);
    EXPECT_EQ(0xFE, header[1]);
    EXPECT_EQ('[', header[2]);
    EXPECT_EQ(0, header[3]);

    // The file is opened without sharing: an open handle makes it fail.
    {
        HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, other);
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), file.ReadHeader(header));
        CloseHandle(other);
    }
    // The handle was closed again: a second reader succeeds.
    EXPECT_EQ(0u, file.ReadHeader(header));
    EXPECT_EQ(0u, SettingsFile(String(path.c_str())).ReadHeader(header));

    SettingsFile missing(String((folder / L"none.ini").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), missing.ReadHeader(header));

    // Fewer than four bytes is not a header.
    std::wstring shortPath = folder / L"short.ini";
    WriteBytes(shortPath, "ab");
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_EOF), SettingsFile(String(shortPath.c_str())).ReadHeader(header));
}

TEST(MergedSettingsTest, AppendSectionsAndEmbeddedValues)
{
    TempFolder folder;
    std::wstring path = folder / L"merged.ini";
    WriteIni(path, L"[Java Runtime Environment]\r\n"
                   L"FileOnly=file\r\n"
                   L"Both=from file\r\n"
                   L"Blank=   \r\n"
                   L"BlankWithPlus=  \r\n"
                   L"[Java Runtime Environment+]\r\n"
                   L"PlusOnly=x\r\n"
                   L"EmbeddedAndPlus=-Xmx1g\r\n"
                   L"Both=ignored\r\n"
                   L"BlankWithPlus=added\r\n"
                   L"SpacedPlus=\" lead\"\r\n"
                   L"[Application+]\r\n"
                   L"Cmd=-b\r\n");
    MergedSettings merged(String(path.c_str()),
                          String(L"\xFEFF[Java Runtime Environment]\r\n"
                                 L"EmbeddedOnly = packed\r\n"
                                 L"EmbeddedAndPlus=-Xms64m\r\n"
                                 L"Both=from embedded\r\n"
                                 L"SpacedPlus=e\r\n"
                                 L"[Application]\r\n"
                                 L"Cmd=-a\r\n"
                                 L"[application]\r\n"
                                 L"Lower=1\r\n"));
    struct Row {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* expected;
    } rows[] = {
        {L"Java Runtime Environment", L"FileOnly", L"file"},
        {L"Java Runtime Environment", L"EmbeddedOnly", L"packed"},
        {L"Java Runtime Environment", L"Both", L"from file"},          // the file wins, no append
        {L"Java Runtime Environment", L"PlusOnly", L"x"},               // nothing before: no space
        {L"Java Runtime Environment", L"EmbeddedAndPlus", L"-Xms64m -Xmx1g"},
        {L"Java Runtime Environment", L"Blank", L""},
        {L"Java Runtime Environment", L"BlankWithPlus", L"added"},      // blanks count as absent
        {L"Java Runtime Environment", L"SpacedPlus", L"e lead"},        // no second space
        {L"Java Runtime Environment", L"Missing", L""},
        {L"Application", L"Cmd", L"-a -b"},
        // The file side ignores case, the embedded side does not.
        {L"application", L"Cmd", L"-b"},
        {L"Application", L"Lower", L""},
        {L"application", L"Lower", L"1"},
        {L"JAVA RUNTIME ENVIRONMENT", L"FileOnly", L"file"},
        {L"JAVA RUNTIME ENVIRONMENT", L"EmbeddedOnly", L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Get(merged, row.section, row.key)) << row.section << "/" << row.key;

    // Through the base class the same rules apply.
    SettingsFile& base = merged;
    EXPECT_EQ(L"-Xms64m -Xmx1g", Get(base, L"Java Runtime Environment", L"EmbeddedAndPlus"));
}

TEST(MergedSettingsTest, WithoutEmbeddedTextOrFile)
{
    TempFolder folder;
    MergedSettings nothing(String((folder / L"absent.ini").c_str()), String());
    EXPECT_TRUE(nothing.Embedded().Sections().IsEmpty());
    EXPECT_EQ(L"", Get(nothing, L"Java Runtime Environment", L"Main Class"));

    MergedSettings embeddedOnly(String((folder / L"absent.ini").c_str()), String(L"[S]\r\nk=v"));
    EXPECT_EQ(L"v", Get(embeddedOnly, L"S", L"k"));
}

// Wine's profile functions keep the last few files they read and take one
// as unchanged while its write time is; reading a dozen others makes them
// read the file afresh, as Windows always does.
void ForgetProfileCache(const TempFolder& folder)
{
    for (int i = 0; i < 12; ++i) {
        std::wstring other = folder / (L"other" + std::to_wstring(i) + L".ini");
        WriteIni(other, L"[X]\r\nk=v\r\n");
        wchar_t value[8] = {};
        GetPrivateProfileStringW(L"X", L"k", L"", value, 8, other.c_str());
    }
}

// The listing the readers go by must stand for the file as it is: a file
// rewritten with its old size and write time is listed again, and a listing
// made while the file could not be opened rules nothing out.
TEST(SettingsFileTest, TheListingFollowsTheFileWhateverItsTimeStampSays)
{
    enum Change { SameSizeOldTime, LockedWhileListed };
    const struct {
        const char* name;
        Change change;
    } cases[] = {{"rewritten, same size and write time", SameSizeOldTime}, {"locked while listed", LockedWhileListed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        std::wstring path = folder / L"stamp.ini";
        WriteIni(path, L"[A]\r\nk=1\r\n");
        if (c.change == SameSizeOldTime) {
            SettingsFile first(String(path.c_str()));
            EXPECT_EQ(L"1", Get(first, L"A", L"k"));
            WIN32_FILE_ATTRIBUTE_DATA before = {};
            GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);
            WriteIni(path, L"[B]\r\nk=2\r\n");
            HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            SetFileTime(file, nullptr, nullptr, &before.ftLastWriteTime);
            CloseHandle(file);
            ForgetProfileCache(folder);
            SettingsFile later(String(path.c_str()));
            EXPECT_EQ(L"2", Get(later, L"B", L"k"));
        } else {
            HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
            SettingsFile first(String(path.c_str()));
            EXPECT_EQ(L"", Get(first, L"A", L"k"));  // the system cannot read it either
            CloseHandle(lock);
            SettingsFile later(String(path.c_str()));
            EXPECT_EQ(L"1", Get(later, L"A", L"k"));
        }
    }
}
