#include "platform/fake/FakeSpecialFolders.h"

TFakeSpecialFolders::TFakeSpecialFolders() {
  const std::string profile = std::string("C:\\Users\\") + DefaultUser;
  FFolders = {
      {TFolderKind::CommonAppData, "C:\\ProgramData"},
      {TFolderKind::AppData, profile + "\\AppData\\Roaming"},
      {TFolderKind::LocalAppData, profile + "\\AppData\\Local"},
      {TFolderKind::Profile, profile},
      {TFolderKind::ProgramFiles, "C:\\Program Files (x86)"},
      {TFolderKind::ProgramFilesNative, "C:\\Program Files"},
      {TFolderKind::Desktop, profile + "\\Desktop"},
      {TFolderKind::Temp, profile + "\\AppData\\Local\\Temp\\"},
      {TFolderKind::ExeFolder, profile + "\\Downloads\\"},
      {TFolderKind::System, "C:\\Windows\\system32"},
      {TFolderKind::Windows, "C:\\Windows"},
      {TFolderKind::Runtime, profile + "\\AppData\\Local\\Temp"},
  };
}

std::string TFakeSpecialFolders::Folder(TFolderKind kind) const {
  auto it = FFolders.find(kind);
  return it == FFolders.end() ? std::string() : it->second;
}

void TFakeSpecialFolders::SetFolder(TFolderKind kind, const std::string& path) { FFolders[kind] = path; }
