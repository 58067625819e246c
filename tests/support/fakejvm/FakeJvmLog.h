// Reader for the stand-in runtime's log: one record per line, fields
// separated by TAB, UTF-8, with \\, \t, \r and \n escaped inside fields.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct FakeJvmLog {
  std::vector<std::vector<std::wstring>> records;

  // An empty log when the file does not exist.
  static FakeJvmLog Read(const std::wstring& path) {
    FakeJvmLog log;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return log;
    std::string bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, n);
    fclose(file);
    std::wstring text = DecodeUtf8(bytes);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find(L'\n', start);
      if (end == std::wstring::npos) end = text.size();
      log.records.push_back(SplitFields(text.substr(start, end - start)));
      start = end + 1;
    }
    return log;
  }

  // Field 1 of each record of the kind, in order (empty text if missing).
  std::vector<std::wstring> Values(const std::wstring& kind) const {
    std::vector<std::wstring> values;
    for (const auto& r : records) {
      if (r[0] == kind) values.push_back(r.size() > 1 ? r[1] : std::wstring());
    }
    return values;
  }

  bool Has(const std::wstring& kind) const {
    for (const auto& r : records) {
      if (r[0] == kind) return true;
    }
    return false;
  }

  // Every record of the kind with all its fields.
  std::vector<std::vector<std::wstring>> All(const std::wstring& kind) const {
    std::vector<std::vector<std::wstring>> found;
    for (const auto& r : records) {
      if (r[0] == kind) found.push_back(r);
    }
    return found;
  }

  // The value of an "env" record (OZ_JVM_PATH, OZ_JVM_HOME, Path); empty when
  // the variable was not set.
  std::wstring Env(const std::wstring& name) const {
    for (const auto& r : records) {
      if (r.size() > 2 && r[0] == L"env" && r[1] == name) return r[2];
    }
    return std::wstring();
  }

  static std::wstring DecodeUtf8(const std::string& bytes) {
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
      unsigned char b = static_cast<unsigned char>(bytes[i]);
      unsigned long cp;
      int extra;
      if (b < 0x80) { cp = b; extra = 0; }
      else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
      else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
      else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
      else { cp = 0xFFFD; extra = 0; }
      ++i;
      for (int k = 0; k < extra; ++k, ++i) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
          cp = 0xFFFD;
          break;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
      }
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      } else {
        out += static_cast<wchar_t>(cp);
      }
    }
    return out;
  }

  static std::vector<std::wstring> SplitFields(const std::wstring& line) {
    std::vector<std::wstring> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
      wchar_t c = line[i];
      if (c == L'\t') {
        fields.emplace_back();
      } else if (c == L'\\' && i + 1 < line.size()) {
        wchar_t e = line[++i];
        fields.back() += e == L't' ? L'\t' : e == L'r' ? L'\r' : e == L'n' ? L'\n' : e;
      } else if (c != L'\r') {
        fields.back() += c;
      }
    }
    return fields;
  }
};
