#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/Language.h"

class TComponent;

// The main window's language: its translator ("QVB"), the list behind the hidden language combo
// box, and the lookups every text of the run goes through. The window owns one of these and
// passes itself and its combo box (Cbx_Language) in; the combo box is driven through its
// published Items and ItemIndex, so any combo box class serves. Both may be null (qvbtool uses
// the lookups without a window).
//
// The built-in language texts are resources named after the language ("ENGLISH"), found
// without regard to letter case.
class TInstallerLanguage {
public:
  // The start-up steps of the window's creation handler: the language list, the translator,
  // the configured language (always "English") loaded from its resource, the combo box's
  // selection, the translation of window, then OnLanguageApplied and OnStartUpApplied. A
  // failure after the translator exists is ignored.
  void StartUp(TComponent* window, TComponent* languageBox);

  // The message, or def: before the translator exists, for a missing key and on any failure.
  std::string GetLangMsg(const std::string& key, const std::string& def) const;
  // A window text from any section, with the same fall-back.
  std::string GetLangText(const std::string& section, const std::string& key, const std::string& def) const;
  // Loads the built-in text of that language into the translator. False for an empty name, a
  // language without a resource or no translator yet; the loaded text then stays as it was.
  bool LoadLanguage(const std::string& name);
  // The one entry "English", in the combo box and in LanguageFiles.
  void InitLanguageList(TComponent* languageBox);
  // The combo box's change event: loads the language at its selected index and translates the
  // window again. An index outside the list changes nothing.
  void Cbx_LanguageChange(TComponent* window, TComponent* languageBox);

  TLanguage* Language() const { return FLanguage.get(); }
  const std::string& LanguageName() const { return FLanguageName; }
  const std::string& CurLanguage() const { return FCurLanguage; }
  const std::vector<std::string>& LanguageFiles() const { return FLanguageFiles; }

  // After every translation of the window (ApplyLangLayout).
  std::function<void()> OnLanguageApplied;
  // After the start-up translation only (the tray icon's hint: GetLangMsg("M_TrayTips", ...)).
  std::function<void()> OnStartUpApplied;

private:
  void Apply(TComponent* window);
  void Select(TComponent* languageBox, const std::string& language);

  std::unique_ptr<TLanguage> FLanguage;
  std::string FLanguageName;
  std::string FCurLanguage;
  std::vector<std::string> FLanguageFiles;
};
