#include "platform/fake/FakeDrives.h"

#include <cctype>

#include "platform/TextCodec.h"
#include "platform/fake/FakeFileSystem.h"

namespace {

// The drive part of a path, as Windows takes it: "X:" or "\\server\share".
std::string DrivePart(const std::string& path) {
  std::string text = path;
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])))
    return text.substr(0, 2);
  if (text.size() > 2 && text[0] == '\\' && text[1] == '\\') {
    const size_t server = text.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::string();
    const size_t share = text.find('\\', server + 1);
    if (share == server + 1) return std::string();
    return text.substr(0, share);
  }
  return std::string();
}

}  // namespace

std::string TFakeDrives::Key(const std::string& drive) {
  std::string key = UpperCase(DrivePart(drive));
  return key;
}

void TFakeDrives::AddDrive(const std::string& drive, TDriveType type, int64_t freeBytes, bool readOnlyRoot) {
  const std::string key = Key(drive);
  if (key.size() == 2) FFiles.AddDrive(key, readOnlyRoot);
  FInfo[key] = TInfo{type, freeBytes, false};
}

void TFakeDrives::SetType(const std::string& drive, TDriveType type) { FInfo[Key(drive)].Type = type; }

void TFakeDrives::SetFreeSpace(const std::string& drive, int64_t freeBytes) { FInfo[Key(drive)].FreeBytes = freeBytes; }

void TFakeDrives::SetUnmeasurable(const std::string& drive, bool unmeasurable) {
  FInfo[Key(drive)].Unmeasurable = unmeasurable;
}

std::string TFakeDrives::DriveOf(const std::string& path) const { return DrivePart(path); }

TDriveType TFakeDrives::TypeOf(const std::string& drive) const {
  const std::string key = Key(drive);
  if (key.empty()) return TDriveType::NoRootDir;
  auto it = FInfo.find(key);
  if (it != FInfo.end()) return it->second.Type;
  if (key.size() == 2) return FFiles.HasDrive(key) ? TDriveType::Fixed : TDriveType::NoRootDir;
  return TDriveType::Remote;
}

std::vector<std::string> TFakeDrives::LogicalDrives() const {
  std::vector<std::string> drives;
  for (const std::string& drive : FFiles.DriveNames())
    if (TypeOf(drive) == TDriveType::Fixed) drives.push_back(drive + "\\");
  return drives;
}

bool TFakeDrives::FreeSpace(const std::string& path, int64_t& freeBytes) const {
  std::string key = Key(path);
  if (key.empty()) key = Key(FFiles.CurrentFolder());
  auto it = FInfo.find(key);
  if (it == FInfo.end()) {
    if (key.size() != 2 || !FFiles.HasDrive(key)) return false;
    freeBytes = DefaultFreeBytes;
    return true;
  }
  if (it->second.Unmeasurable) return false;
  freeBytes = it->second.FreeBytes;
  return true;
}
