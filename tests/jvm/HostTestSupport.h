#pragma once

#include "core/Messages.h"
#include "support/common/TestFiles.h"

#include <windows.h>

#include <string>
#include <vector>

// Message boxes of the code under test, captured instead of shown.
class CapturedMessages {
public:
    CapturedMessages() { m_previous = SetMessageBoxFunction(&Capture); Texts().clear(); }
    ~CapturedMessages() { SetMessageBoxFunction(m_previous); }
    const std::vector<std::wstring>& Seen() const { return Texts(); }

private:
    static std::vector<std::wstring>& Texts()
    {
        static std::vector<std::wstring> texts;
        return texts;
    }
    static int Capture(HWND, const wchar_t* text, const wchar_t*, UINT)
    {
        Texts().push_back(text ? text : L"");
        return IDOK;
    }
    MessageBoxFunction m_previous;
};

// The value of an environment variable, "<unset>" when it is not set.
inline std::wstring Variable(const wchar_t* name)
{
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return L"<unset>";
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], n));
    return value;
}
