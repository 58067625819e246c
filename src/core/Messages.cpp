#include "core/Messages.h"

#include "base/Encoding.h"
#include "base/Trace.h"

namespace {

MessageBoxFunction g_messageBox = nullptr;

// Loads a string-table text into a buffer that grows (256, 512, ...) until
// the text fits. Returns null when no buffer can be had.
wchar_t* LoadTableText(unsigned id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    for (int size = 256; size > 0 && size <= 0x1000000; size *= 2) {
        wchar_t* buffer = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, size * sizeof(wchar_t)));
        if (!buffer)
            return nullptr;
        int length = LoadStringW(module, id, buffer, size);
        if (length < size - 1)
            return buffer;
        HeapFree(GetProcessHeap(), 0, buffer);
    }
    return nullptr;
}

bool IsLineEnd(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

}  // namespace

String MessageLine(const wchar_t* caption, const wchar_t* text)
{
    String line;
    if (caption && *caption) {
        line.Append(caption);
        line.Append(L": ");
    }
    String body(text);
    int end = body.Length();
    while (end > 0 && (IsLineEnd(body[end - 1]) || body[end - 1] == L' ' || body[end - 1] == L'\t'))
        --end;
    for (int i = 0; i < end; ++i) {
        wchar_t c = body[i];
        if (c == L'\r' && i + 1 < end && body[i + 1] == L'\n')
            continue;  // one blank for "\r\n"
        line.Append(IsLineEnd(c) ? L' ' : c);
    }
    line.Append(L"\r\n");
    return line;
}

bool WriteMessageLine(HANDLE stream, const wchar_t* caption, const wchar_t* text)
{
    if (!stream || stream == INVALID_HANDLE_VALUE)
        return false;
    String line = MessageLine(caption, text);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(stream, &mode))
        return WriteConsoleW(stream, line.CStr(), static_cast<DWORD>(line.Length()), &written, nullptr) && written > 0;
    AnsiString bytes = ToUtf8(line);
    return WriteFile(stream, bytes.CStr(), static_cast<DWORD>(bytes.Length()), &written, nullptr) && written > 0;
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = g_messageBox;
    g_messageBox = function;
    return previous;
}

int ShowErrorMessage(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    wchar_t* loadedText = nullptr;
    wchar_t* loadedCaption = nullptr;
    if (text && IsTextId(text)) {
        loadedText = LoadTableText(static_cast<unsigned>(reinterpret_cast<uintptr_t>(text)));
        if (!loadedText)
            return 0;
        text = loadedText;
    }
    if (caption && IsTextId(caption)) {
        loadedCaption = LoadTableText(static_cast<unsigned>(reinterpret_cast<uintptr_t>(caption)));
        if (!loadedCaption) {
            HeapFree(GetProcessHeap(), 0, loadedText);
            return 0;
        }
        caption = loadedCaption;
    }
    JL_TRACE("message shown: %s", text);
    int result = g_messageBox ? g_messageBox(owner, text, caption, MB_ICONERROR)
                              : PresentMessage(owner, text, caption);
    if (loadedText)
        HeapFree(GetProcessHeap(), 0, loadedText);
    if (loadedCaption)
        HeapFree(GetProcessHeap(), 0, loadedCaption);
    return result;
}

int ShowFormattedError(HWND owner, const wchar_t* format, const wchar_t* argument)
{
    String message = FormatText(format, argument);
    return ShowErrorMessage(owner, message.CStr());
}

int ShowSystemError(HWND owner, const wchar_t* format, const wchar_t* argument, DWORD error)
{
    String message = FormatText(format, argument, static_cast<int>(error));
    return ShowErrorMessage(owner, message.CStr());
}
