#include "Installer/Downloader/NoticeLanguage.h"

#include <memory>
#include <string>

#include "public/rdcontrol/Translate.h"
#include "support/Flagship.h"
#include "support/IniFile.h"
#include "support/Language.h"

namespace {

std::unique_ptr<TLanguage>& Instance() {
  static std::unique_ptr<TLanguage> language;
  return language;
}

// The flagship product's language setting; empty on any failure.
std::string FlagshipLanguage() {
  try {
    // NOTE: opening the file creates the product's data folder when it is missing.
    TIniFile settings(GetFlagshipDataFolder() + "main.ini");
    return settings.ReadString("Main", "Language", "English");
  } catch (...) {
    return {};
  }
}

}  // namespace

TLanguage* NoticeLanguage() { return Instance().get(); }

void TranslateNoticeDialog(TComponent* dialog) {
  std::unique_ptr<TLanguage>& language = Instance();
  if (!language) {
    language = std::make_unique<TLanguage>("QMRFeed");
    language->LoadLanguageFile(FlagshipLanguage());
  }
  TranslateComponent(*language, dialog);
}

void ResetNoticeLanguage() { Instance().reset(); }
