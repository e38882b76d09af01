#include "platform/fake/FakeEnvironment.h"

#include "platform/TextCodec.h"
#include "platform/fake/FakeSpecialFolders.h"

TFakeEnvironment::TFakeEnvironment() {
  const std::string user = TFakeSpecialFolders::DefaultUser;
  const std::string profile = "C:\\Users\\" + user;
  Set("USERNAME", user);
  Set("USERPROFILE", profile);
  Set("APPDATA", profile + "\\AppData\\Roaming");
  Set("LOCALAPPDATA", profile + "\\AppData\\Local");
  Set("TEMP", profile + "\\AppData\\Local\\Temp");
  Set("TMP", profile + "\\AppData\\Local\\Temp");
  Set("ProgramData", "C:\\ProgramData");
  Set("ProgramFiles", "C:\\Program Files (x86)");  // as a 32-bit process sees it
  Set("ProgramFiles(x86)", "C:\\Program Files (x86)");
  Set("ProgramW6432", "C:\\Program Files");
  Set("SystemDrive", "C:");
  Set("SystemRoot", "C:\\Windows");
  Set("windir", "C:\\Windows");
}

std::string TFakeEnvironment::Get(const std::string& name) const {
  auto it = FValues.find(UpperCase(name));
  return it == FValues.end() ? std::string() : it->second.second;
}

bool TFakeEnvironment::IsSet(const std::string& name) const { return FValues.count(UpperCase(name)) != 0; }

void TFakeEnvironment::Set(const std::string& name, const std::string& value) {
  FValues[UpperCase(name)] = {name, value};
}

void TFakeEnvironment::Unset(const std::string& name) { FValues.erase(UpperCase(name)); }
