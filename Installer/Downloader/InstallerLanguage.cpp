#include "Installer/Downloader/InstallerLanguage.h"

#include <algorithm>

#include "platform/MemoryStream.h"
#include "platform/Platform.h"
#include "platform/Resources.h"
#include "platform/TextCodec.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/FormValue.h"
#include "public/rdcontrol/PropertyResolver.h"
#include "public/rdcontrol/Translate.h"

namespace {

const char* const kEnglish = "English";

int IndexOfText(const std::vector<std::string>& list, const std::string& text) {
  auto found = std::find_if(list.begin(), list.end(), [&](const std::string& entry) { return SameText(entry, text); });
  return found == list.end() ? -1 : int(found - list.begin());
}

}  // namespace

void TInstallerLanguage::StartUp(TComponent* window, TComponent* languageBox) {
  // NOTE: a failure anywhere in the language start-up leaves the window with its designed
  // texts; the creation handler goes on either way.
  try {
    InitLanguageList(languageBox);
    FLanguage = std::make_unique<TLanguage>("QVB");
    FLanguageName = kEnglish;
    FCurLanguage = FLanguageName;
    DebugOut("********** FLanguageName: " + FLanguageName);
    LoadLanguage(FCurLanguage);
    if (IndexOfText(FLanguageFiles, FCurLanguage) < 0) {
      FCurLanguage = kEnglish;
      Select(languageBox, FCurLanguage);
      LoadLanguage(FCurLanguage);
    } else {
      Select(languageBox, FCurLanguage);
    }
    Apply(window);
    if (OnStartUpApplied) OnStartUpApplied();
  } catch (...) {
  }
}

std::string TInstallerLanguage::GetLangMsg(const std::string& key, const std::string& def) const {
  if (!FLanguage) return def;
  try {
    return FLanguage->GetMessageDef(key, def);
  } catch (...) {
    return def;
  }
}

std::string TInstallerLanguage::GetLangText(const std::string& section, const std::string& key,
                                            const std::string& def) const {
  if (!FLanguage) return def;
  try {
    return FLanguage->ReadText(section, key, def);
  } catch (...) {
    return def;
  }
}

bool TInstallerLanguage::LoadLanguage(const std::string& name) {
  if (name.empty() || !FLanguage) return false;
  try {
    const std::string_view bytes = FindResource(name);
    if (bytes.empty()) return false;
    TMemoryStream stream{std::string(bytes)};
    FLanguage->LoadFromResource(stream);
    return true;
  } catch (...) {
    return false;
  }
}

void TInstallerLanguage::InitLanguageList(TComponent* languageBox) {
  // NOTE: the list is rebuilt rather than appended to, so that it stays parallel to the combo
  // box's items however often this runs.
  FLanguageFiles.assign(1, kEnglish);
  if (languageBox) SetPropertyValue(*languageBox, "Items.Strings", TFormValue::List({TFormValue::String(kEnglish)}));
}

void TInstallerLanguage::Cbx_LanguageChange(TComponent* window, TComponent* languageBox) {
  if (!languageBox) return;
  TFormValue selected;
  if (!GetPropertyValue(*languageBox, "ItemIndex", selected) || selected.Kind != TFormValue::vInteger) return;
  if (selected.Int < 0 || selected.Int >= int64_t(FLanguageFiles.size())) return;
  FCurLanguage = FLanguageFiles[size_t(selected.Int)];
  LoadLanguage(FCurLanguage);
  try {
    Apply(window);
  } catch (...) {
  }
}

void TInstallerLanguage::Apply(TComponent* window) {
  if (FLanguage) TranslateComponent(*FLanguage, window);
  if (OnLanguageApplied) OnLanguageApplied();
}

void TInstallerLanguage::Select(TComponent* languageBox, const std::string& language) {
  if (languageBox)
    SetPropertyValue(*languageBox, "ItemIndex", TFormValue::Integer(IndexOfText(FLanguageFiles, language)));
}
