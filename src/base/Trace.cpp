#include "base/Trace.h"

#include "base/Encoding.h"
#include "base/ResourceText.h"
#include "base/UniqueResource.h"

#include <stdarg.h>
#include <windows.h>

bool g_traceOn = false;

namespace {

UniqueFileHandle g_traceFile;
LARGE_INTEGER g_start;
LARGE_INTEGER g_frequency;

const wchar_t kHexDigits[] = L"0123456789ABCDEF";

// Control characters would break the one-line-per-event rule.
void AppendVisible(String& line, const String& text)
{
    for (int i = 0; i < text.Length(); ++i) {
        wchar_t c = text[i];
        if (c >= 0x20 && c != 0x7F) {
            line.Append(c);
            continue;
        }
        line.Append(L'\\');
        if (c == L'\n') {
            line.Append(L'n');
        } else if (c == L'\r') {
            line.Append(L'r');
        } else if (c == L'\t') {
            line.Append(L't');
        } else {
            line.Append(L'x');
            line.Append(kHexDigits[(c >> 4) & 0xF]);
            line.Append(kHexDigits[c & 0xF]);
        }
    }
}

void WriteEvent(const String& text)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    long long elapsed = g_frequency.QuadPart > 0 ? (now.QuadPart - g_start.QuadPart) * 1000 / g_frequency.QuadPart : 0;
    String offset = FormatText(L"%u", static_cast<unsigned>(elapsed));
    String line;
    for (int pad = offset.Length(); pad < 6; ++pad)
        line.Append(L' ');
    line.Append(FormatText(L"%s ms [%u] ", offset.CStr(), static_cast<unsigned>(GetCurrentProcessId())));
    AppendVisible(line, text);
    line.Append(L"\r\n");
    AnsiString bytes = ToUtf8(line);
    DWORD written = 0;
    // A failed write is ignored: the trace never changes how a launch goes.
    WriteFile(g_traceFile.get(), bytes.CStr(), static_cast<DWORD>(bytes.Length()), &written, nullptr);
}

}  // namespace

bool OpenTrace(const wchar_t* path)
{
    StopTrace();
    // FILE_APPEND_DATA alone: every write lands at the current end of the
    // file, also when other launches write to it at the same time.
    g_traceFile.reset(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!g_traceFile)
        return false;
    QueryPerformanceFrequency(&g_frequency);
    QueryPerformanceCounter(&g_start);
    g_traceOn = true;
    return true;
}

void StopTrace()
{
    g_traceOn = false;
    g_traceFile.reset();
}

void StartTrace()
{
    // The common case, no variable, costs this one call.
    wchar_t first[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"JLAUNCH_TRACE", first, MAX_PATH);
    if (length == 0)
        return;
    if (length < MAX_PATH) {
        OpenTrace(first);
        return;
    }
    // A longer value: length is the size it needs, its terminator included.
    String path;
    DWORD capacity = length;
    length = GetEnvironmentVariableW(L"JLAUNCH_TRACE", path.GetBuffer(static_cast<int>(capacity)), capacity + 1);
    if (length == 0 || length > capacity)
        return;  // changed in between: no trace
    path.SetLength(static_cast<int>(length));
    OpenTrace(path.CStr());
}

void TraceLine(const char* format, ...)
{
    if (!g_traceOn)
        return;
    // Formats are ASCII; keeping them 8-bit halves their size in the file.
    String wideFormat;
    for (const char* c = format; *c; ++c)
        wideFormat.Append(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    va_list args;
    va_start(args, format);
    String text = FormatTextV(wideFormat.CStr(), args);
    va_end(args);
    WriteEvent(text);
}

void TraceList(const wchar_t* label, const StringList& items)
{
    for (int i = 0; i < items.Count(); ++i)
        TraceLine("%s %d: %s", label, i + 1, items[i].CStr());
}

void TraceAnsiList(const wchar_t* label, const AnsiList& items)
{
    for (int i = 0; i < items.Count(); ++i)
        TraceLine("%s %d: %s", label, i + 1, FromAnsi(items[i].CStr()).CStr());
}
