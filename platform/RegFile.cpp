#include "platform/RegFile.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";
const char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to 8 hex digits, the whole of text.
bool ParseHex32(const std::string& text, uint32_t& out) {
  if (text.empty() || text.size() > 8) return false;
  out = 0;
  for (char c : text) {
    int v = HexValue(c);
    if (v < 0) return false;
    out = (out << 4) | uint32_t(v);
  }
  return true;
}

bool StartsWithNoCase(const std::string& text, size_t pos, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (pos + i >= text.size()) return false;
    char a = text[pos + i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = char(a + 32);
    if (a != b) return false;
  }
  return true;
}

// A quoted string starting at text[pos] == '"'. Only \\ and \" are escapes; any other
// backslash stays literal, as hand-written files often hold unescaped Windows paths.
bool ParseQuoted(const std::string& text, size_t& pos, std::string& out) {
  out.clear();
  for (size_t i = pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      out += text[++i];
    } else if (c == '"') {
      pos = i + 1;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

bool ParseHexBytes(const std::string& list, std::string& out) {
  out.clear();
  const std::string all = Trim(list);
  if (all.empty()) return true;
  size_t start = 0;
  while (start <= all.size()) {
    size_t comma = all.find(',', start);
    const bool last = comma == std::string::npos;
    const std::string token = Trim(all.substr(start, last ? std::string::npos : comma - start));
    if (token.empty()) {
      if (!last) return false;  // only a trailing comma may leave an empty token
      break;
    }
    uint32_t byte = 0;
    if (token.size() > 2 || !ParseHex32(token, byte)) return false;
    out += char(byte);
    if (last) break;
    start = comma + 1;
  }
  return true;
}

bool DecodeUtf16Text(const std::string& bytes, std::string& text) {
  if (bytes.size() % 2) return false;
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); i += 2)
    units += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
  if (!units.empty() && units.back() == 0) units.pop_back();  // the terminator
  text = Utf16ToUtf8(units);
  return true;
}

bool Fail(std::string* error, size_t line, const std::string& why) {
  if (error) *error = "line " + std::to_string(line + 1) + ": " + why;
  return false;
}

// The data after "name=" of a value line; continuation lines of hex data are consumed
// from lines[index + 1...].
bool ParseData(const std::vector<std::string>& lines, size_t& index, std::string data,
               TRegValue& value, std::string& why) {
  value = TRegValue{};
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    if (!ParseQuoted(data, pos, value.Text)) return why = "unterminated string", false;
    if (!Trim(data.substr(pos)).empty()) return why = "text after the string", false;
    value.Type = TRegType::Sz;
    return true;
  }
  if (StartsWithNoCase(data, 0, "dword:")) {
    if (!ParseHex32(Trim(data.substr(6)), value.Dword)) return why = "bad dword", false;
    value.Type = TRegType::Dword;
    return true;
  }
  if (!StartsWithNoCase(data, 0, "hex")) return why = "unknown value form", false;
  uint32_t type = uint32_t(TRegType::Binary);
  size_t pos = 3;
  if (pos < data.size() && data[pos] == '(') {
    size_t close = data.find(')', pos);
    if (close == std::string::npos || !ParseHex32(data.substr(pos + 1, close - pos - 1), type))
      return why = "bad hex type", false;
    pos = close + 1;
  }
  if (pos >= data.size() || data[pos] != ':') return why = "missing ':' after hex", false;
  // Appended in place: a long run of continuation lines must stay linear.
  std::string list = data.substr(pos + 1);
  for (;;) {
    size_t end = list.size();
    while (end > 0 && uint8_t(list[end - 1]) <= ' ') --end;
    if (end == 0 || list[end - 1] != '\\') break;
    list.resize(end - 1);
    if (++index >= lines.size()) return why = "hex data continues past the end", false;
    list += lines[index];
  }
  std::string bytes;
  if (!ParseHexBytes(list, bytes)) return why = "bad hex bytes", false;
  value.Type = TRegType(type);
  switch (value.Type) {
    case TRegType::Sz:
    case TRegType::ExpandSz:
      if (!DecodeUtf16Text(bytes, value.Text)) return why = "odd length of UTF-16 text", false;
      return true;
    case TRegType::Dword:
      if (bytes.size() != 4) return why = "dword of other than 4 bytes", false;
      value.Dword = uint32_t(uint8_t(bytes[0])) | uint32_t(uint8_t(bytes[1])) << 8 |
                    uint32_t(uint8_t(bytes[2])) << 16 | uint32_t(uint8_t(bytes[3])) << 24;
      return true;
    default:
      value.Data = std::move(bytes);
      return true;
  }
}

// "prefix" then the bytes as regedit writes them: "xx," pairs, lines wrapped near 80 columns
// with a trailing backslash and a two-space indent.
std::string HexLine(const std::string& prefix, const std::string& bytes) {
  std::string out = prefix;
  size_t column = Utf8ToUtf16(prefix).size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t b = uint8_t(bytes[i]);
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
    column += 2;
    if (i + 1 < bytes.size()) {
      out += ',';
      ++column;
      if (column >= 77) {
        out += "\\\r\n  ";
        column = 2;
      }
    }
  }
  return out;
}

std::string Utf16Bytes(const std::string& text) { return EncodeUtf16Le(text, false) + std::string(2, '\0'); }

std::string FormatValue(const std::string& name, const TRegValue& value) {
  const std::string prefix = name.empty() ? std::string("@=") : Quote(name) + "=";
  switch (value.Type) {
    case TRegType::Sz:
      // A line break inside quotes would split the line; regedit falls back to hex(1) too.
      if (value.Text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos)
        return prefix + Quote(value.Text);
      return HexLine(prefix + "hex(1):", Utf16Bytes(value.Text));
    case TRegType::ExpandSz:
      return HexLine(prefix + "hex(2):", Utf16Bytes(value.Text));
    case TRegType::Dword: {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "dword:%08x", value.Dword);
      return prefix + buffer;
    }
    case TRegType::Binary:
      return HexLine(prefix + "hex:", value.Data);
    default: {
      char buffer[24];
      std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(value.Type));
      return HexLine(prefix + buffer, value.Data);
    }
  }
}

void FormatKey(const TRegKey& key, const std::string& path, bool writeSection, std::string& out) {
  if (writeSection) {
    out += "[" + path + "]\r\n";
    for (const auto& [name, value] : key.Values) out += FormatValue(name, value) + "\r\n";
    out += "\r\n";
  }
  // Depth is bounded by MaxDepth (the parser and the store refuse deeper keys).
  for (const auto& [folded, sub] : key.SubKeys) FormatKey(*sub, path + "\\" + sub->Name, true, out);
}

}  // namespace

std::string FoldRegName(const std::string& name) { return UpperCase(name); }

TRegKey* TRegKey::FindSubKey(const std::string& name) const {
  auto it = SubKeys.find(FoldRegName(name));
  return it == SubKeys.end() ? nullptr : it->second.get();
}

TRegKey* TRegKey::AddSubKey(const std::string& name) {
  auto& slot = SubKeys[FoldRegName(name)];
  if (!slot) {
    slot = std::make_unique<TRegKey>();
    slot->Name = name;
  }
  return slot.get();
}

bool TRegKey::RemoveSubKey(const std::string& name) { return SubKeys.erase(FoldRegName(name)) > 0; }

const TRegValue* TRegKey::FindValue(const std::string& name) const {
  for (const auto& [n, v] : Values)
    if (SameText(n, name)) return &v;
  return nullptr;
}

bool TRegKey::SetValue(const std::string& name, const TRegValue& value) {
  for (auto& [n, v] : Values) {
    if (!SameText(n, name)) continue;
    if (v == value) return false;
    v = value;
    return true;
  }
  Values.emplace_back(name, value);
  return true;
}

bool TRegKey::RemoveValue(const std::string& name) {
  for (auto it = Values.begin(); it != Values.end(); ++it) {
    if (SameText(it->first, name)) {
      Values.erase(it);
      return true;
    }
  }
  return false;
}

bool TRegKey::operator==(const TRegKey& other) const {
  if (Name != other.Name || Values != other.Values || SubKeys.size() != other.SubKeys.size()) return false;
  for (auto a = SubKeys.begin(), b = other.SubKeys.begin(); a != SubKeys.end(); ++a, ++b)
    if (a->first != b->first || !(*a->second == *b->second)) return false;
  return true;
}

bool TRegFile::ValidKeyName(const std::string& name) {
  return !name.empty() && name.find_first_of(std::string("\\\r\n\0", 4)) == std::string::npos &&
         Utf8ToUtf16(name).size() <= MaxKeyNameLength;
}

bool TRegFile::ValidValueName(const std::string& name) {
  return name.find_first_of("\r\n") == std::string::npos && Utf8ToUtf16(name).size() <= MaxValueNameLength;
}

bool TRegFile::Parse(const std::string& text, const std::string& rootName, TRegKey& root, std::string* error) {
  root.Name = rootName;
  root.Values.clear();
  root.SubKeys.clear();
  const std::vector<std::string> lines = SplitLines(text);
  size_t i = 0;
  while (i < lines.size() && Trim(lines[i]).empty()) ++i;
  if (i == lines.size()) return true;  // an empty file is an empty hive
  if (Trim(lines[i]) != kHeader) return Fail(error, i, "not a registry export file");

  TRegKey* current = nullptr;
  for (++i; i < lines.size(); ++i) {
    const std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return Fail(error, i, "unterminated section");
      const std::string path = line.substr(1, line.size() - 2);
      size_t start = path.find('\\');
      if (!SameText(path.substr(0, start), rootName)) return Fail(error, i, "section outside " + rootName);
      current = &root;
      size_t depth = 0;
      while (start != std::string::npos) {
        const size_t end = path.find('\\', start + 1);
        const std::string name = path.substr(start + 1, end == std::string::npos ? end : end - start - 1);
        start = end;
        if (name.empty()) continue;
        if (!ValidKeyName(name)) return Fail(error, i, "bad key name");
        if (++depth > MaxDepth) return Fail(error, i, "keys nested too deep");
        current = current->AddSubKey(name);
      }
      continue;
    }
    if (line[0] != '"' && line[0] != '@') return Fail(error, i, "not a section or value line");
    if (!current) return Fail(error, i, "value before the first section");
    std::string name;  // "" for @, the default value
    size_t pos = 1;
    if (line[0] == '"') {
      pos = 0;
      if (!ParseQuoted(line, pos, name)) return Fail(error, i, "unterminated value name");
    }
    if (!ValidValueName(name)) return Fail(error, i, "bad value name");
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return Fail(error, i, "missing '='");
    const size_t lineIndex = i;
    TRegValue value;
    std::string why;
    if (!ParseData(lines, i, Trim(line.substr(pos + 1)), value, why)) return Fail(error, lineIndex, why);
    current->SetValue(name, value);
  }
  return true;
}

std::string TRegFile::Format(const TRegKey& root, const std::string& rootName) {
  std::string out = std::string(kHeader) + "\r\n\r\n";
  FormatKey(root, rootName, !root.Values.empty(), out);
  return out;
}

bool TRegFile::FromBytes(const std::string& bytes, const std::string& rootName, TRegKey& root, std::string* error) {
  return Parse(DecodeText(bytes), rootName, root, error);
}

std::string TRegFile::ToBytes(const TRegKey& root, const std::string& rootName) {
  return EncodeUtf16Le(Format(root, rootName), true);
}
