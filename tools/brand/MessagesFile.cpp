#include "MessagesFile.h"

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameWord(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        wchar_t x = a[i] >= L'a' && a[i] <= L'z' ? a[i] - 32 : a[i];
        wchar_t y = b[i] >= L'a' && b[i] <= L'z' ? b[i] - 32 : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && !b[i];
}

// Decimal digits only, at most limit.
bool ParseNumber(const std::wstring& text, uint32_t limit, uint32_t& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + (c - L'0');
    }
    if (number > limit)
        return false;
    value = static_cast<uint32_t>(number);
    return true;
}

bool ParseDialogKey(const std::wstring& key, DialogKey& control)
{
    control = DialogKey();
    if (SameWord(key, L"Caption")) {
        control.caption = true;
        return true;
    }
    size_t dot = key.find(L'.');
    std::wstring id = key.substr(0, dot);
    bool negative = !id.empty() && id[0] == L'-';
    uint32_t magnitude = 0, occurrence = 0;
    if (!ParseNumber(negative ? id.substr(1) : id, negative ? 0x80000000u : 0x7FFFFFFFu, magnitude))
        return false;
    if (dot != std::wstring::npos && (!ParseNumber(key.substr(dot + 1), 0xFFFF, occurrence) || occurrence == 0))
        return false;
    control.id = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
    control.occurrence = occurrence;
    return true;
}

// The value as the text it stands for: outer quotes dropped, escapes replaced.
bool Unescape(const std::wstring& value, std::wstring& text)
{
    std::wstring inner = value;
    if (inner.size() >= 2 && inner.front() == L'"' && inner.back() == L'"')
        inner = inner.substr(1, inner.size() - 2);
    text.clear();
    for (size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != L'\\') {
            text += inner[i];
            continue;
        }
        wchar_t next = i + 1 < inner.size() ? inner[++i] : 0;
        if (next == L'n')
            text += L'\n';
        else if (next == L't')
            text += L'\t';
        else if (next == L'\\')
            text += L'\\';
        else
            return false;
    }
    return true;
}

enum class Section { None, Strings, RuntimeDialog, ExceptionDialog };

}  // namespace

bool ParseMessagesFile(const std::wstring& text, MessagesFile& messages, std::wstring& reason)
{
    messages = MessagesFile();
    Section section = Section::None;
    size_t lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = Trimmed(text.substr(start, end - start));
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        ++lineNumber;
        std::wstring where = L"line " + std::to_wstring(lineNumber) + L": ";
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line[0] == L'[') {
            std::wstring name = line.back() == L']' ? Trimmed(line.substr(1, line.size() - 2)) : L"";
            section = SameWord(name, L"Strings")            ? Section::Strings
                      : SameWord(name, L"Runtime Dialog")   ? Section::RuntimeDialog
                      : SameWord(name, L"Exception Dialog") ? Section::ExceptionDialog
                                                            : Section::None;
            if (section == Section::None) {
                reason = where + L"unknown section " + line +
                         L" (the sections are [Strings], [Runtime Dialog] and [Exception Dialog])";
                return false;
            }
            continue;
        }
        size_t equals = line.find(L'=');
        if (section == Section::None || equals == std::wstring::npos) {
            reason = where + (section == Section::None ? L"a text outside a section" : L"a line without \"=\"");
            return false;
        }
        MessageText entry;
        entry.key = Trimmed(line.substr(0, equals));
        entry.line = lineNumber;
        if (!Unescape(Trimmed(line.substr(equals + 1)), entry.text)) {
            reason = where + L"the text of " + entry.key + L" holds a \"\\\" other than \\n, \\t or \\\\";
            return false;
        }
        if (entry.text.size() > kMessageTextLimit) {
            reason = where + L"the text of " + entry.key + L" is longer than " + std::to_wstring(kMessageTextLimit) +
                     L" characters";
            return false;
        }
        if (section == Section::Strings) {
            StringText string;
            static_cast<MessageText&>(string) = entry;
            uint32_t id = 0;
            if (!ParseNumber(entry.key, 0xFFFF, id)) {
                reason = where + L"\"" + entry.key + L"\" is not a string id (a number from 0 to 65535)";
                return false;
            }
            if (entry.text.empty()) {
                reason = where + L"string " + entry.key + L" is empty (leave the key out to keep the built-in text)";
                return false;
            }
            for (const StringText& earlier : messages.strings)
                if (earlier.id == id) {
                    reason = where + L"string " + entry.key + L" is given twice";
                    return false;
                }
            string.id = static_cast<uint16_t>(id);
            messages.strings.push_back(string);
            continue;
        }
        std::vector<DialogText>& texts =
            section == Section::RuntimeDialog ? messages.runtimeDialog : messages.exceptionDialog;
        DialogText dialogText;
        static_cast<MessageText&>(dialogText) = entry;
        if (!ParseDialogKey(entry.key, dialogText.control)) {
            reason = where + L"\"" + entry.key + L"\" is neither Caption nor a control id (like 205, or -1.2)";
            return false;
        }
        texts.push_back(dialogText);
    }
    return true;
}

std::wstring QuotedText(const std::wstring& text)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : text)
        quoted += c == L'\n' ? L"\\n" : c == L'\t' ? L"\\t" : c == L'\\' ? L"\\\\" : std::wstring(1, c);
    return quoted + L"\"";
}
