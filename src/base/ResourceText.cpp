#include "base/ResourceText.h"

#include <stdarg.h>
#include <windows.h>

String LoadResourceString(unsigned id)
{
    String result;
    if (id > 0xFFFF)
        return result;
    // Strings live in blocks of 16: string n is entry n % 16 of block n / 16 + 1.
    HMODULE module = GetModuleHandleW(nullptr);
    WORD block = static_cast<WORD>(id / 16 + 1);
    HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!resource)
        resource = FindResourceW(module, MAKEINTRESOURCEW(block), RT_STRING);
    if (!resource)
        return result;
    HGLOBAL loaded = LoadResource(module, resource);
    const WCHAR* data = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    DWORD units = SizeofResource(module, resource) / sizeof(WCHAR);
    if (!data)
        return result;
    DWORD position = 0;
    for (unsigned skip = id % 16; skip > 0; --skip) {
        if (position >= units)
            return result;
        position += 1 + data[position];
    }
    if (position >= units)
        return result;
    DWORD length = data[position];
    if (length == 0 || length > units - position - 1)
        return result;
    result.Append(data + position + 1, static_cast<int>(length));
    return result;
}

namespace {

void AppendNumber(String& out, unsigned long long magnitude, bool negative)
{
    wchar_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        out.Append(L'-');
    while (n > 0)
        out.Append(digits[--n]);
}

}  // namespace

String FormatTextV(const wchar_t* format, va_list args)
{
    String owned;
    if (IsTextId(format)) {
        owned = LoadResourceString(static_cast<unsigned>(reinterpret_cast<uintptr_t>(format)));
        format = owned.CStr();
    }
    String out;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') {
            out.Append(*p);
            continue;
        }
        switch (p[1]) {
        case L's': {
            const wchar_t* s = va_arg(args, const wchar_t*);
            out.Append(s ? s : L"(null)");
            ++p;
            break;
        }
        case L'd': {
            int v = va_arg(args, int);
            AppendNumber(out, v < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(v)) : static_cast<unsigned long long>(v), v < 0);
            ++p;
            break;
        }
        case L'u':
            AppendNumber(out, va_arg(args, unsigned), false);
            ++p;
            break;
        case L'%':
            out.Append(L'%');
            ++p;
            break;
        default:  // not a conversion this formatter knows: kept as written
            out.Append(L'%');
            break;
        }
    }
    return out;
}

String FormatText(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    String result = FormatTextV(format, args);
    va_end(args);
    return result;
}
