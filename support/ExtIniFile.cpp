#include "support/ExtIniFile.h"

#include "platform/Platform.h"
#include "platform/Stream.h"
#include "platform/TextCodec.h"
#include "support/SafeIniFile.h"

void TExtIniFile::LoadFromFile(const std::string& path) {
  std::string bytes;
  if (TPlatform::Current().Files().ReadAll(path, bytes) != 0) return;
  SetText(bytes);
}

void TExtIniFile::LoadFromStream(TStream& stream) {
  std::string bytes;
  char buffer[16384];
  for (;;) {
    const int64_t n = stream.Read(buffer, sizeof buffer);
    if (n < 0) return;  // a broken stream loads nothing rather than half a text
    if (n == 0) break;
    bytes.append(buffer, size_t(n));
  }
  SetText(bytes);
}

void TExtIniFile::SetText(const std::string& bytes) { SetStrings(SplitLines(DecodeText(bytes))); }

void TExtIniFile::SetStrings(const std::vector<std::string>& lines) {
  FSections.Clear();
  TSafeIniFile::ParseLines(lines, FSections);  // the one INI text parser
}

const TIniHashedStringList* TExtIniFile::FindSection(const std::string& section) const {
  const int index = FSections.IndexOf(section);
  return index < 0 ? nullptr : FSections.Objects(index);
}

TIniHashedStringList* TExtIniFile::FindSectionForWrite(const std::string& section) {
  const int index = FSections.IndexOf(section);
  return index < 0 ? nullptr : FSections.Objects(index);
}

std::string TExtIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const TIniHashedStringList* lines = FindSection(section);
  if (!lines) return def;
  const int index = lines->IndexOfName(key);
  return index < 0 ? def : lines->ValueFromIndex(index);
}

bool TExtIniFile::ValueExists(const std::string& section, const std::string& key) const {
  const TIniHashedStringList* lines = FindSection(section);
  return lines && lines->IndexOfName(key) >= 0;
}

std::vector<std::string> TExtIniFile::ReadSection(const std::string& section) const {
  std::vector<std::string> keys;
  if (const TIniHashedStringList* lines = FindSection(section))
    for (int i = 0; i < lines->Count(); ++i)
      if (lines->Strings(i).find('=') != std::string::npos) keys.push_back(lines->Names(i));
  return keys;
}

std::vector<std::string> TExtIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (int i = 0; i < FSections.Count(); ++i) names.push_back(FSections.Strings(i));
  return names;
}

std::vector<std::string> TExtIniFile::ReadSectionValues(const std::string& section) const {
  std::vector<std::string> values;
  if (const TIniHashedStringList* lines = FindSection(section))
    for (int i = 0; i < lines->Count(); ++i) values.push_back(lines->Strings(i));
  return values;
}

void TExtIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TIniHashedStringList* lines = FindSectionForWrite(section);
  if (!lines) {
    auto created = std::make_unique<TIniHashedStringList>(false);
    lines = created.get();
    FSections.AddObject(section, std::move(created));
  }
  const std::string line = key + "=" + value;
  const int index = lines->IndexOfName(key);
  if (index < 0)
    lines->Add(line);
  else
    lines->Put(index, line);
}

void TExtIniFile::EraseSection(const std::string& section) {
  for (int index = FSections.IndexOf(section); index >= 0; index = FSections.IndexOf(section))
    FSections.Delete(index);
}

void TExtIniFile::DeleteKey(const std::string& section, const std::string& key) {
  TIniHashedStringList* lines = FindSectionForWrite(section);
  if (!lines) return;
  for (int index = lines->IndexOfName(key); index >= 0; index = lines->IndexOfName(key)) lines->Delete(index);
}
