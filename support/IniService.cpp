#include "support/IniService.h"

#include <cerrno>
#include <climits>
#include <unordered_set>

#include "platform/Platform.h"

// Lines are classified when they are looked at: a header is "[name]" (blanks around the name
// and after "]" ignored), an entry is "key=value" outside comments (";"). Lines before the first
// header belong to no section. Changed lines lose their original bytes; untouched lines of a
// Windows-1252 file are written back exactly as read.

namespace {

bool IsNoFile(int code) {
  return code == ENOENT || code == ENOTDIR;
}

// The first character after leading blanks; most lines are told apart by it without copying.
char FirstChar(const std::string& line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) > ' ') return c;
  return '\0';
}

bool HeaderName(const std::string& line, std::string& name) {
  if (FirstChar(line) != '[') return false;
  const std::string text = Trim(line);
  if (text.empty() || text[0] != '[') return false;
  const size_t close = text.find(']');
  if (close == std::string::npos) return false;
  name = Trim(text.substr(1, close - 1));
  return true;
}

bool Entry(const std::string& line, std::string& key, std::string* value = nullptr) {
  const char first = FirstChar(line);
  if (first == '\0' || first == ';' || first == '[' || line.find('=') == std::string::npos) return false;
  const std::string text = Trim(line);
  if (text.empty() || text[0] == ';' || text[0] == '[') return false;
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  key = Trim(text.substr(0, equals));
  if (value) {
    std::string v = Trim(text.substr(equals + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    *value = std::move(v);
  }
  return true;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

std::string FirstLineEnd(const std::string& text) {
  const size_t at = text.find_first_of("\r\n");
  if (at == std::string::npos) return "\r\n";
  if (text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

int TIniService::Load(const std::string& path) {
  FPath = path;
  std::string bytes;
  const int error = TPlatform::Current().Files().ReadAll(path, bytes);
  LoadFromBytes(error ? std::string() : bytes);
  return error && !IsNoFile(error) ? error : 0;
}

void TIniService::LoadFromBytes(const std::string& bytes) {
  FLines.clear();
  FChanged = false;
  FEncoding = TTextEncoding::Utf16Le;
  FLineEnd = "\r\n";
  if (bytes.empty()) return;  // an empty file is written like a new one

  FEncoding = DetectEncoding(bytes);
  const std::string text = DecodeText(bytes);
  FLineEnd = FirstLineEnd(text);
  const std::vector<std::string> lines = SplitLines(text);
  // Windows-1252 decodes byte by byte, so its raw lines pair up with the decoded ones.
  const std::vector<std::string> raw =
      FEncoding == TTextEncoding::Ansi ? SplitLines(bytes) : std::vector<std::string>();
  FLines.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    TLine line{lines[i], std::nullopt};
    if (i < raw.size()) line.Raw = raw[i];
    FLines.push_back(std::move(line));
  }
}

TTextEncoding TIniService::SaveEncoding() const {
  if (FEncoding != TTextEncoding::Ansi) return FEncoding;
  for (const TLine& line : FLines) {
    bool exact = true;
    if (!line.Raw) EncodeText(line.Text, TTextEncoding::Ansi, &exact);
    // A character the code page lacks would be lost: the file becomes UTF-16.
    if (!exact) return TTextEncoding::Utf16Le;
  }
  return FEncoding;
}

std::string TIniService::SavedBytes() const {
  const TTextEncoding encoding = SaveEncoding();
  const bool keepRaw = encoding == TTextEncoding::Ansi;
  const std::string lineEnd = EncodeText(FLineEnd, encoding);
  std::string bytes = ByteOrderMark(encoding);
  for (const TLine& line : FLines) {
    bytes += keepRaw && line.Raw ? *line.Raw : EncodeText(line.Text, encoding);
    bytes += lineEnd;
  }
  return bytes;
}

int TIniService::Save() {
  if (!FChanged) return 0;
  TFileSystem& files = TPlatform::Current().Files();
  const uint32_t attributes = files.GetAttributes(FPath);
  if (attributes != faInvalid && (attributes & faReadOnly)) return EACCES;
  if (const int error = files.WriteAtomic(FPath, SavedBytes())) return error;
  // The replacement is a new file; it keeps the old one's attributes (hidden, system, ...).
  if (attributes != faInvalid) files.SetAttributes(FPath, attributes);
  FEncoding = SaveEncoding();
  FChanged = false;
  return 0;
}

int TIniService::FindSection(const std::string& section) const {
  const std::string wanted = Trim(section);
  std::string name;
  for (size_t i = 0; i < FLines.size(); ++i)
    if (HeaderName(FLines[i].Text, name) && SameText(name, wanted)) return int(i);
  return -1;
}

int TIniService::SectionEnd(int header) const {
  std::string name;
  size_t i = size_t(header) + 1;
  while (i < FLines.size() && !HeaderName(FLines[i].Text, name)) ++i;
  return int(i);
}

int TIniService::FindKey(int header, const std::string& key) const {
  const std::string wanted = Trim(key);
  const int end = SectionEnd(header);
  std::string name;
  for (int i = header + 1; i < end; ++i)
    if (Entry(FLines[size_t(i)].Text, name) && SameText(name, wanted)) return i;
  return -1;
}

std::optional<std::string> TIniService::Value(const std::string& section, const std::string& key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  const int index = FindKey(header, key);
  if (index < 0) return std::nullopt;
  std::string name, value;
  Entry(FLines[size_t(index)].Text, name, &value);
  return value;
}

std::vector<std::string> TIniService::SectionNames() const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  std::string name;
  for (const TLine& line : FLines)
    if (HeaderName(line.Text, name) && seen.insert(UpperCase(name)).second) names.push_back(name);
  return names;
}

std::vector<std::string> TIniService::KeyNames(const std::string& section) const {
  std::vector<std::string> keys;
  const int header = FindSection(section);
  if (header < 0) return keys;
  const int end = SectionEnd(header);
  std::unordered_set<std::string> seen;
  std::string key;
  for (int i = header + 1; i < end; ++i)
    if (Entry(FLines[size_t(i)].Text, key) && seen.insert(UpperCase(key)).second) keys.push_back(key);
  return keys;
}

void TIniService::SetLine(int index, std::string text) {
  FLines[size_t(index)] = TLine{std::move(text), std::nullopt};
  FChanged = true;
}

void TIniService::InsertLine(int index, std::string text) {
  FLines.insert(FLines.begin() + index, TLine{std::move(text), std::nullopt});
  FChanged = true;
}

int TIniService::SetValue(const std::string& section, const std::string& key, const std::string& value) {
  const std::string name = Trim(key);
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      section.find(']') != std::string::npos || name.empty() || name.find('=') != std::string::npos ||
      name[0] == ';' || name[0] == '[')
    return EINVAL;
  const std::string line = name + "=" + value;
  int header = FindSection(section);
  if (header < 0) {
    if (!FLines.empty() && !Trim(FLines.back().Text).empty()) InsertLine(int(FLines.size()), "");
    InsertLine(int(FLines.size()), "[" + Trim(section) + "]");
    InsertLine(int(FLines.size()), line);
    return 0;
  }
  const int index = FindKey(header, name);
  if (index >= 0) {
    if (FLines[size_t(index)].Text != line) SetLine(index, line);
    return 0;
  }
  // After the section's last non-blank line, so that the blank lines before the next one stay.
  int at = SectionEnd(header);
  while (at > header + 1 && Trim(FLines[size_t(at - 1)].Text).empty()) --at;
  InsertLine(at, line);
  return 0;
}

bool TIniService::DeleteValue(const std::string& section, const std::string& key) {
  const int header = FindSection(section);
  const int index = header < 0 ? -1 : FindKey(header, key);
  if (index < 0) return false;
  FLines.erase(FLines.begin() + index);
  FChanged = true;
  return true;
}

bool TIniService::DeleteSection(const std::string& section) {
  bool erased = false;
  for (int header = FindSection(section); header >= 0; header = FindSection(section)) {
    FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
    erased = FChanged = true;
  }
  return erased;
}

// ---- one-call forms ----

std::string TIniService::ReadString(const std::string& path, const std::string& section,
                                    const std::string& key, const std::string& def) {
  TIniService ini;
  if (ini.Load(path)) return def;
  return ini.Value(section, key).value_or(def);
}

std::vector<std::string> TIniService::ReadSections(const std::string& path) {
  TIniService ini;
  return ini.Load(path) ? std::vector<std::string>() : ini.SectionNames();
}

std::vector<std::string> TIniService::ReadSection(const std::string& path, const std::string& section) {
  TIniService ini;
  return ini.Load(path) ? std::vector<std::string>() : ini.KeyNames(section);
}

int TIniService::WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) {
  return Update(path, [&](TIniService& ini) { return ini.SetValue(section, key, value); });
}

int TIniService::DeleteKey(const std::string& path, const std::string& section, const std::string& key) {
  return Update(path, [&](TIniService& ini) {
    ini.DeleteValue(section, key);
    return 0;
  });
}

int TIniService::EraseSection(const std::string& path, const std::string& section) {
  return Update(path, [&](TIniService& ini) {
    ini.DeleteSection(section);
    return 0;
  });
}

int TIniService::Update(const std::string& path, const std::function<int(TIniService&)>& change) {
  TIniService ini;
  if (const int error = ini.Load(path)) return error;
  if (const int error = change(ini)) return error;
  return ini.Save();
}

// ---- helpers ----

std::string TIniService::FolderOf(const std::string& path) {
  const char sep = TPlatform::Current().Files().Separator();
  std::string delimiters{sep, '/'};
  if (sep == '\\') delimiters += ':';
  const size_t at = path.find_last_of(delimiters);
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string TIniService::LocalPath(const std::string& path) {
  const char sep = TPlatform::Current().Files().Separator();
  const std::string folder = FolderOf(path);
  if (folder.empty() || folder == std::string(1, sep)) return std::string(".") + sep + path;
  return path;
}

int TIniService::ForceFolder(const std::string& folder) {
  TFileSystem& files = TPlatform::Current().Files();
  int error = 0;
  // Someone else may remove or create the folder meanwhile: try again, a bounded number of times.
  for (int attempt = 0; attempt < 101; ++attempt) {
    if (files.FolderExists(folder)) return 0;
    error = files.ForceFolders(folder);
    if (error && error != EEXIST) return error;
  }
  return files.FolderExists(folder) ? 0 : (error ? error : EIO);
}

int TIniService::ToInteger(const std::string& text, int def) {
  auto digit = [](char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Up to 32 bits, as the value's bit pattern: 0xFFFFFFFF is -1.
    uint64_t value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      const int d = digit(text[i], 16);
      if (d < 0) return def;
      value = value * 16 + uint64_t(d);
      if (value > 0xFFFFFFFFull) return def;
    }
    return int(int32_t(uint32_t(value)));
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return def;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = digit(text[i], 10);
    if (d < 0) return def;
    value = value * 10 + d;
    if (value > int64_t(INT_MAX) + 1) return def;
  }
  if (negative) value = -value;
  return value < INT_MIN || value > INT_MAX ? def : int(value);
}
