#include "support/SystemQueries.h"

#include <fmt/format.h>

#include <optional>

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/FileVersion.h"
#include "support/Flagship.h"

namespace {

constexpr size_t kMaxPathText = 254;
// Far deeper than any real tree; stops a folder loop (a link to a parent) from recursing forever.
constexpr int kMaxFolderDepth = 128;

struct TCaches {
  std::optional<bool> Windows64;
  std::optional<TWindowsVersion> TrueVersion;
};

TCaches& Caches() {
  static TCaches caches;
  return caches;
}

std::string Limit(std::string text) {
  if (text.size() > kMaxPathText) text.resize(kMaxPathText);
  return text;
}

char Sep() {
  return TPlatform::Current().Files().Separator();
}

int64_t FilesSize(const std::string& pattern, int depth) {
  int64_t total = 0;
  const std::string folder = ExtractFilePath(pattern);
  for (const TDirEntry& entry : TPlatform::Current().Files().List(pattern)) {
    if (entry.Name.empty()) break;
    // NOTE: a folder's own size counts as nothing (Windows lists folders with size 0, other
    // systems with their block size).
    if (!(entry.Attributes & faDirectory)) total += entry.Size;
    // Exactly "directory": a folder that is also hidden, system or a link is not descended into.
    if (entry.Attributes == faDirectory && entry.Name[0] != '.' && depth < kMaxFolderDepth)
      total += FilesSize(folder + entry.Name + Sep() + "*.*", depth + 1);
  }
  return total;
}

// The last fall-back of GetSpecialFolder: a path built from the system drive.
std::string DriveBuiltFolder(TFolderKind kind) {
  const std::string drive = FolderDrive(TFolderKind::System);  // where kernel32.dll lives
  if (drive.empty()) return {};
  const bool modern = TPlatform::Current().System().ReportedVersion().Major >= 6;
  const std::string user = GetUserLogonName();
  switch (kind) {
    case TFolderKind::AppData:
      return modern ? DrivePath(drive, {"Users", user, "AppData", "Roaming"})
                    : DrivePath(drive, {"Documents and Settings", user, "Application Data"});
    case TFolderKind::ProgramFiles:
      return DrivePath(drive, {IsWindows64() ? "Program Files (x86)" : "Program Files"});
    case TFolderKind::Profile:
      return modern ? DrivePath(drive, {"Users", user}) : DrivePath(drive, {"Documents and Settings", user});
    default:
      return {};
  }
}

}  // namespace

std::string GetUserLogonName() {
  return Limit(TPlatform::Current().System().UserLogonName());
}

std::string GetSystemFolder() {
  return Limit(TPlatform::Current().Folders().Folder(TFolderKind::System));
}

std::string GetTempFolder() {
  const std::string temp = TPlatform::Current().Folders().Folder(TFolderKind::Temp);
  return temp.empty() ? temp : Limit(IncludeTrailingPathDelimiter(temp));
}

std::string NewGuidString() {
  std::array<uint8_t, 16> g{};
  if (!TPlatform::Current().System().NewGuid(g)) return {};
  // The bytes come in the order they are written (RFC 4122): the version nibble starts the third group.
  std::string text = "{";
  for (size_t i = 0; i < g.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += fmt::format("{:02X}", g[i]);
  }
  return text + "}";
}

int64_t GetFilesSize(const std::string& pattern) {
  return FilesSize(pattern, 0);
}

bool IsWindows64() {
  auto& cache = Caches().Windows64;
  if (!cache) cache = TPlatform::Current().System().Is64BitSystem();
  return *cache;
}

TWindowsVersion GetTrueWindowsVersion() {
  auto& cache = Caches().TrueVersion;
  if (!cache) cache = TPlatform::Current().System().TrueVersion();
  return *cache;
}

std::string FolderDrive(TFolderKind kind) {
  const std::string folder = TPlatform::Current().Folders().Folder(kind);
  if (folder.size() < 2 || folder[1] != ':') return {};
  return folder.substr(0, 2);
}

std::string DrivePath(const std::string& drive, std::initializer_list<std::string> parts) {
  std::string path = drive;
  for (const auto& part : parts) path += Sep() + part;
  return path;
}

std::string GetSpecialFolder(TFolderKind kind) {
  TPlatform& platform = TPlatform::Current();
  std::string folder = platform.Folders().Folder(kind);
  if (folder.size() > 2) return folder;
  std::string variable;
  switch (kind) {
    case TFolderKind::AppData:
      variable = "APPDATA";
      break;
    case TFolderKind::ProgramFiles:
      variable = IsWindows64() ? "ProgramFiles(x86)" : "ProgramFiles";
      break;
    case TFolderKind::Profile:
      variable = "USERPROFILE";
      break;
    default:
      return folder;
  }
  const std::string fromEnvironment = Trim(platform.Env().Get(variable));
  if (!fromEnvironment.empty()) return fromEnvironment;
  const std::string built = DriveBuiltFolder(kind);
  return built.empty() ? folder : built;
}

void ResetSystemQueryCaches() {
  Caches() = TCaches{};
  ResetBrowserFileVersionCache();
  ResetFlagshipCache();
}
