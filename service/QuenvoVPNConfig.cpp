#include "service/QuenvoVPNConfig.h"

#include <fmt/format.h>

#include <stdexcept>

#include "platform/MemoryStream.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "service/ConfigCipher.h"
#include "support/SafeIniFile.h"

namespace {

bool HasMarker(const TSafeIniFile& ini) {
  return ini.ReadString(TQuenvoVPNConfig::MarkerSection, TQuenvoVPNConfig::MarkerKey, "") == "1";
}

void Mark(TSafeIniFile& ini) {
  ini.WriteString(TQuenvoVPNConfig::MarkerSection, TQuenvoVPNConfig::MarkerKey, "1");
}

}  // namespace

void TQuenvoVPNConfig::ReadFileShared(const std::string& path, TMemoryStream& destination) {
  TFileSystem& files = TPlatform::Current().Files();
  std::string bytes;
  if (files.ReadAll(path, bytes) == 0) {
    destination.SetBytes(std::move(bytes));
    return;
  }
  const TLocalTime now = TPlatform::Current().Clock().LocalTime();
  const std::string backup =
      path + fmt::format(".{:02}{:02}{:02}{:03}", now.Hour, now.Minute, now.Second, now.Millisecond);
  if (files.CopyFile(path, backup) != 0) {
    files.DeleteFile(backup);
    throw std::runtime_error("backup file " + ExtractFileName(path) + " failed.");
  }
  const int error = files.ReadAll(backup, bytes);
  files.DeleteFile(backup);
  if (error != 0) throw std::runtime_error("cannot read " + ExtractFileName(path));
  destination.SetBytes(std::move(bytes));
}

void TQuenvoVPNConfig::LoadSettings(TSafeIniFile& ini) const {
  if (!TPlatform::Current().Files().FileExists(FFileName)) return;
  TMemoryStream stored;
  try {
    ReadFileShared(FFileName, stored);
  } catch (const std::exception&) {
    Mark(ini);
    return;
  }
  if (stored.Bytes().empty()) return;
  TMemoryStream plain;
  // NOTE: without padding any bytes "decrypt"; the saved form always starts with the UTF-16
  // byte-order mark, so content that lacks it did not decrypt and counts as unreadable.
  if (!TConfigCipher().Decrypt(stored.Bytes(), plain.Bytes()) || plain.Bytes().compare(0, 2, "\xFF\xFE") != 0) {
    Mark(ini);
    return;
  }
  plain.SetPosition(0);
  try {
    ini.LoadFromStream(plain);
  } catch (const std::exception&) {
    ini.Clear();
    Mark(ini);
  }
}

void TQuenvoVPNConfig::SaveSettings(TSafeIniFile& ini) const {
  if (HasMarker(ini)) {
    TSafeIniFile onDisk;
    LoadSettings(onDisk);
    if (HasMarker(onDisk)) return;  // still unreadable: the file stays as it is
    for (const std::string& section : onDisk.ReadSections())
      for (const std::string& key : onDisk.ReadSection(section))
        if (!ini.ValueExists(section, key)) ini.WriteString(section, key, onDisk.ReadString(section, key, ""));
    ini.EraseSection(MarkerSection);
  }
  try {
    TMemoryStream plain;
    ini.SaveToStream(plain);
    std::string stored;
    if (!TConfigCipher().Encrypt(plain.Bytes(), stored)) return;
    TFileSystem& files = TPlatform::Current().Files();
    const std::string folder = ExtractFileDir(FFileName);
    if (!folder.empty()) files.ForceFolders(folder);
    files.WriteAtomic(FFileName, stored);
  } catch (const std::exception&) {
    // The file keeps its previous content.
  }
}

std::string TQuenvoVPNConfig::ReadString(const std::string& section, const std::string& key,
                                         const std::string& def) const {
  TSafeIniFile ini;
  LoadSettings(ini);
  return ini.ReadString(section, key, def);
}

void TQuenvoVPNConfig::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) const {
  TSafeIniFile ini;
  LoadSettings(ini);
  ini.WriteString(section, key, value);
  SaveSettings(ini);
}
