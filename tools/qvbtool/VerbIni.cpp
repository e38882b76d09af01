#include <cstring>
#include <iostream>

#include "platform/Platform.h"
#include "support/SafeIniFile.h"
#include "tools/qvbtool/Verb.h"

// qvbtool ini get FILE SECTION KEY [DEFAULT] | ini set FILE SECTION KEY VALUE

namespace {

int Fail(const std::string& message) {
  std::cerr << "qvbtool: ini: " << message << "\n";
  return 1;
}

std::string ErrorText(int code) {
  return std::strerror(code);
}

int RunIni(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("ini: expected 'get' or 'set' (see qvbtool --help)");
  const std::string& action = args[0];
  if (action == "get") {
    if (args.size() != 4 && args.size() != 5)
      return UsageError("ini get: expected FILE SECTION KEY [DEFAULT]");
    const std::string& file = args[1];
    TSafeIniFile ini;
    ini.LoadFromFile(file);
    if (ini.LastError()) return Fail("cannot read '" + file + "': " + ErrorText(ini.LastError()));
    if (!TPlatform::Current().Files().FileExists(file))
      return Fail("cannot read '" + file + "': no such file");
    std::cout << ini.ReadString(args[2], args[3], args.size() == 5 ? args[4] : "") << "\n";
    return 0;
  }
  if (action == "set") {
    if (args.size() != 5) return UsageError("ini set: expected FILE SECTION KEY VALUE");
    const std::string& file = args[1];
    TSafeIniFile ini(file);
    if (ini.NoAutoSave()) return Fail("cannot read '" + file + "': " + ErrorText(ini.LastError()));
    ini.WriteString(args[2], args[3], args[4]);
    ini.UpdateFile();
    ini.SetNoAutoSave(true);  // one attempt only
    if (ini.LastError()) return Fail("cannot save '" + file + "': " + ErrorText(ini.LastError()));
    return 0;
  }
  return UsageError("ini: unknown action '" + action + "' (expected 'get' or 'set')");
}

TVerbRegistration registration{"ini",
                               "ini get FILE SECTION KEY [DEFAULT]   print a value of an INI file\n"
                               "ini set FILE SECTION KEY VALUE       write a value and save the file",
                               RunIni};

}  // namespace
