#include <iostream>

#include "Installer/Downloader/InstallerLanguage.h"
#include "tools/qvbtool/Verb.h"

// qvbtool lang get KEY [DEFAULT]: a message of the built-in English text, as the installer's
// main window looks it up (keys ignore letter case; a missing key prints DEFAULT).

namespace {

int RunLang(const std::vector<std::string>& args) {
  if (args.empty() || args[0] != "get") return UsageError("lang: expected 'get' (see qvbtool --help)");
  if (args.size() != 2 && args.size() != 3) return UsageError("lang get: expected KEY [DEFAULT]");
  TInstallerLanguage language;
  language.StartUp(nullptr, nullptr);
  if (!language.Language() || language.Language()->Messages().Count() == 0) {
    std::cerr << "qvbtool: lang: the built-in English text is missing\n";
    return 1;
  }
  std::cout << language.GetLangMsg(args[1], args.size() == 3 ? args[2] : "") << "\n";
  return 0;
}

const TVerbRegistration Registration{"lang", "lang get KEY [DEFAULT]", RunLang};

}  // namespace
