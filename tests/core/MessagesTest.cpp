#include "core/Messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Message boxes are captured instead of shown: what the user would see is the
// text, the caption, the owner and the style.

namespace {

struct Shown {
    HWND owner;
    std::wstring text;
    bool hasCaption;
    std::wstring caption;
    UINT style;
};

std::vector<Shown> g_shown;

int CaptureBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)
{
    g_shown.push_back({owner, text ? text : L"<null>", caption != nullptr, caption ? caption : L"", style});
    return IDOK;
}

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shown.clear();
        m_previous = SetMessageBoxFunction(CaptureBox);
    }
    void TearDown() override { SetMessageBoxFunction(m_previous); }

    const Shown& Only()
    {
        EXPECT_EQ(1u, g_shown.size());
        static const Shown none = {};
        return g_shown.empty() ? none : g_shown.back();
    }

private:
    MessageBoxFunction m_previous = nullptr;
};

std::wstring LongText()
{
    std::wstring text = L"Teks panjang untuk uji pesan: ";
    while (text.size() < 600)
        text += L"abcdefghij";
    return text.substr(0, 600);
}

}  // namespace

TEST_F(MessagesTest, TextFromTheStringTableAsAnErrorWithoutCaption)
{
    EXPECT_EQ(IDOK, ShowErrorMessage(nullptr, TextId(210)));
    const Shown& box = Only();
    EXPECT_EQ(L"Main class tidak ditetapkan di file INI.", box.text);
    EXPECT_FALSE(box.hasCaption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.style);
    EXPECT_EQ(nullptr, box.owner);
}

TEST_F(MessagesTest, TextsAndCaptionsGivenDirectlyOrById)
{
    HWND owner = GetDesktopWindow();
    ShowErrorMessage(owner, L"plain text", L"own caption");
    ShowErrorMessage(nullptr, L"plain text", TextId(214));
    ShowErrorMessage(nullptr, TextId(209), nullptr);
    ASSERT_EQ(3u, g_shown.size());
    EXPECT_EQ(owner, g_shown[0].owner);
    EXPECT_EQ(L"plain text", g_shown[0].text);
    EXPECT_EQ(L"own caption", g_shown[0].caption);
    EXPECT_EQ(L"Browse folder JRE", g_shown[1].caption);
    EXPECT_EQ(L"Java Class Path tidak ditetapkan di file INI.", g_shown[2].text);
    EXPECT_FALSE(g_shown[2].hasCaption);
}

TEST_F(MessagesTest, MissingStringShowsAnEmptyText)
{
    ShowErrorMessage(nullptr, TextId(231));
    EXPECT_EQ(L"", Only().text);
}

TEST_F(MessagesTest, SystemErrorComposition)
{
    // The module path could not be obtained.
    ShowSystemError(nullptr, TextId(202), LoadResourceString(208).CStr(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(L"Pengecualian Windows: gagal mendapatkan lintasan modul  (errno = 5).\n", Only().text);
    EXPECT_FALSE(Only().hasCaption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), Only().style);

    g_shown.clear();
    ShowSystemError(nullptr, TextId(222), L"C:\\jre\\bin\\server\\jvm.dll", ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(L"Gagal memuat perpustakaan VM Java: C:\\jre\\bin\\server\\jvm.dll (errno = 193).\n", Only().text);

    // A format given as text works the same way.
    g_shown.clear();
    ShowSystemError(nullptr, L"%s/%d", L"x", 126);
    EXPECT_EQ(L"x/126", Only().text);
}

TEST_F(MessagesTest, FormattedErrorComposition)
{
    ShowFormattedError(nullptr, TextId(215), L"com.example.Main");
    EXPECT_EQ(L"Tidak dapat menemukan main class com.example.Main.\n", Only().text);
    EXPECT_FALSE(Only().hasCaption);

    g_shown.clear();
    ShowFormattedError(nullptr, TextId(211), L"com/example/Main");
    EXPECT_EQ(L"Gagal memuat Main Class: com/example/Main.\n", Only().text);

    // An argument that itself holds a percent sequence is not formatted again.
    g_shown.clear();
    ShowFormattedError(nullptr, TextId(215), L"100%s%d");
    EXPECT_EQ(L"Tidak dapat menemukan main class 100%s%d.\n", Only().text);
}

TEST_F(MessagesTest, LongStringTableTextsAreShownWhole)
{
    ShowErrorMessage(nullptr, TextId(900));
    EXPECT_EQ(LongText(), Only().text);
    ASSERT_EQ(600u, Only().text.size());

    // Around the first buffer of 256 units (one of them for the terminator).
    const struct {
        unsigned id;
        size_t length;
        wchar_t fill;
    } cases[] = {{901, 254, L'C'}, {902, 255, L'B'}, {903, 256, L'D'}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        g_shown.clear();
        ShowErrorMessage(nullptr, TextId(c.id), TextId(c.id));
        EXPECT_EQ(std::wstring(c.length, c.fill), Only().text);
        EXPECT_EQ(std::wstring(c.length, c.fill), Only().caption);
    }
}

// The console launcher's form of a message: one line, caption first.
TEST(MessageLine, OneLinePerMessage)
{
    const struct {
        const wchar_t* caption;
        const wchar_t* text;
        const wchar_t* line;
    } rows[] = {
        {nullptr, L"Tidak dapat menemukan main class a.B.\n", L"Tidak dapat menemukan main class a.B.\r\n"},
        {L"", L"plain", L"plain\r\n"},
        {L"Judul", L"teks", L"Judul: teks\r\n"},
        {nullptr, L"Pengecualian JNI: gagal membuat VM Java\nAlasan: tidak dikenal.\n",
         L"Pengecualian JNI: gagal membuat VM Java Alasan: tidak dikenal.\r\n"},
        {nullptr, L"a\r\nb \t\r\n\n ", L"a b\r\n"},
        {nullptr, L"", L"\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.line, std::wstring(MessageLine(row.caption, row.text).CStr()));
}

// A pipe or file gets UTF-8; no handle, nothing.
TEST(MessageLine, WrittenAsUtf8ToAPipe)
{
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    EXPECT_TRUE(WriteMessageLine(write, L"\u00dcber", L"\u65e5\u672c \U0001F600\n"));
    CloseHandle(write);
    char bytes[64] = {};
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(read, bytes, sizeof(bytes), &count, nullptr));
    CloseHandle(read);
    EXPECT_EQ("\xC3\x9C" "ber: \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n", std::string(bytes, count));
    EXPECT_FALSE(WriteMessageLine(nullptr, nullptr, L"x"));
    EXPECT_FALSE(WriteMessageLine(INVALID_HANDLE_VALUE, nullptr, L"x"));
}
