#pragma once

// A messages file: the texts a packager puts in place of the launcher's
// string table and dialog texts. No Windows calls.
//
//   [Strings]             string-table id = text
//   [Runtime Dialog]      Caption, or a control id of dialog 201 = text
//   [Exception Dialog]    the same for dialog 231
//
// Section names and "Caption" match in any case. A value in double quotes
// keeps its outer blanks (the quotes are dropped); "\n" in a value is a line
// end, "\t" a tab, "\\" a backslash. Lines starting with ";" or "#" are
// comments. A control key "ID.N" names the N-th control with that id, for ids
// that several controls share (-1).

#include <stdint.h>

#include <string>
#include <vector>

struct DialogKey {
    bool caption = false;
    int32_t id = 0;
    unsigned occurrence = 0;  // 1 for the first control with id; 0 when the key gives none
};

struct MessageText {
    std::wstring key;  // as written, for messages
    size_t line = 0;
    std::wstring text;
};

struct StringText : MessageText {
    uint16_t id = 0;
};

struct DialogText : MessageText {
    DialogKey control;
};

struct MessagesFile {
    std::vector<StringText> strings;
    std::vector<DialogText> runtimeDialog;    // dialog 201
    std::vector<DialogText> exceptionDialog;  // dialog 231
};

// Texts longer than this are refused (UTF-16 units, after the escapes).
constexpr size_t kMessageTextLimit = 8192;

// False with the reason (naming the line) for a line outside a section, an
// unknown section, a line without "=", a key that is not an id (or Caption),
// a string given twice, an unknown escape, a string that is empty
// or a text longer than the limit. What a key names is checked against the
// launcher when the texts are applied.
bool ParseMessagesFile(const std::wstring& text, MessagesFile& messages, std::wstring& reason);

// text as a value of the file would write it, in quotes: line ends as "\n",
// tabs as "\t", backslashes as "\\".
std::wstring QuotedText(const std::wstring& text);
