#include "support/IniFile.h"

#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/IniService.h"

namespace {

// A bare name means the current folder; otherwise the file's folder is created (quietly).
std::string Normalise(const std::string& fileName) {
  const std::string local = TIniService::LocalPath(fileName);
  if (local != fileName) return local;
  TIniService::ForceFolder(TIniService::FolderOf(fileName));
  return fileName;
}

}  // namespace

TIniFile::TIniFile(const std::string& fileName) : FFileName(Normalise(fileName)) {
  TFileSystem& files = TPlatform::Current().Files();
  const uint32_t attributes = files.GetAttributes(FFileName);
  if (attributes != faInvalid && (attributes & faReadOnly)) files.SetAttributes(FFileName, faNormal);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  return TIniService::ReadString(FFileName, section, key, def);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return TIniService::ToInteger(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSections() const {
  return TIniService::ReadSections(FFileName);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  return TIniService::ReadSection(FFileName, section);
}

bool TIniFile::SectionExists(const std::string& section) const {
  for (const std::string& name : ReadSections())
    if (SameText(name, Trim(section))) return true;
  return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  TIniService ini;
  return ini.Load(FFileName) == 0 && ini.Value(section, key).has_value();
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TIniService::WriteString(FFileName, section, key, value);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  TIniService::DeleteKey(FFileName, section, key);
}

void TIniFile::EraseSection(const std::string& section) {
  TIniService::EraseSection(FFileName, section);
}

void TIniFile::UpdateFile() {
  FFileName = Normalise(FFileName);
}
