#include "JvmText.h"

#include <windows.h>

namespace fakejvm {
namespace {

void AppendUtf8(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::wstring& out, unsigned long cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one UTF-8 sequence at bytes[i] and moves i past it; false for
// malformed input (i then moves past the offending byte).
bool DecodeOne(const unsigned char* bytes, size_t length, size_t& i, unsigned long& cp) {
  unsigned char b = bytes[i];
  int extra;
  unsigned long min;
  if (b < 0x80) { cp = b; ++i; return true; }
  if ((b & 0xE0) == 0xC0) { extra = 1; cp = b & 0x1F; min = 0x80; }
  else if ((b & 0xF0) == 0xE0) { extra = 2; cp = b & 0x0F; min = 0x800; }
  else if ((b & 0xF8) == 0xF0) { extra = 3; cp = b & 0x07; min = 0x10000; }
  else { ++i; return false; }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= length || (bytes[i + k] & 0xC0) != 0x80) { ++i; return false; }
    cp = (cp << 6) | (bytes[i + k] & 0x3F);
  }
  i += extra + 1;
  // C0 80 is modified UTF-8's encoding of U+0000: the one overlong form allowed.
  if (cp < min && !(extra == 1 && cp == 0)) return false;
  return cp <= 0x10FFFF;
}

}  // namespace

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<unsigned long>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::wstring FromUtf8(const std::string& bytes) {
  std::wstring out;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned long cp;
    AppendUtf16(out, DecodeOne(p, bytes.size(), i, cp) ? cp : 0xFFFD);
  }
  return out;
}

std::string ToModifiedUtf8(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    if (c == 0) {
      out += static_cast<char>(0xC0);
      out += static_cast<char>(0x80);
    } else {
      AppendUtf8(out, static_cast<unsigned long>(c));
    }
  }
  return out;
}

std::wstring FromModifiedUtf8(const char* bytes) {
  std::wstring out;
  if (!bytes) return out;
  size_t length = strlen(bytes);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  size_t i = 0;
  while (i < length) {
    unsigned long cp;
    AppendUtf16(out, DecodeOne(p, length, i, cp) ? cp : 0xFFFD);
  }
  return out;
}

std::wstring FromAnsi(const char* bytes) {
  if (!bytes || !*bytes) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::wstring Widen(const char* ascii) {
  std::wstring out;
  for (; ascii && *ascii; ++ascii) out += static_cast<wchar_t>(static_cast<unsigned char>(*ascii));
  return out;
}

std::string Dotted(std::string name) {
  for (char& c : name) if (c == '/') c = '.';
  return name;
}

std::string Slashed(std::string name) {
  for (char& c : name) if (c == '.') c = '/';
  return name;
}

}  // namespace fakejvm
