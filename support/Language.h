#pragma once
#include <string>
#include <vector>

#include "support/ExtIniFile.h"
#include "support/IniHashedStringList.h"

class TStream;

// A translator: one loaded language text and the lookups every visible text goes through.
// Window sections are named Prefix + "_" + the window's name and messages live in the section
// Prefix + "_M". Lookups never fail: a missing section, key or text gives the caller's default.
// Applying the text to a window's components is TranslateComponent (public/rdcontrol/), which
// knows the control classes; this class knows only text.
class TLanguage {
public:
  // LanguageFolder is the running program's folder followed by "Language".
  explicit TLanguage(std::string prefix);
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  // Loads LanguageFolder/<name>.lng when name is one of AvailableLanguages and the file exists
  // (any other name means "English", under the same condition); otherwise nothing changes.
  // NOTE: nothing fills AvailableLanguages, so in the installer this route never loads a file.
  void LoadLanguageFile(const std::string& name);
  // Replaces the text with the rest of the stream's text and refills Messages.
  void LoadFromResource(TStream& stream);

  // The message's value (even when empty), or def when Messages has no such key.
  std::string GetMessageDef(const std::string& key, const std::string& def) const;
  std::string ReadText(const std::string& section, const std::string& key, const std::string& def) const {
    return FText.ReadString(section, key, def);
  }

  const std::string& Prefix() const { return FPrefix; }
  const std::string& LanguageFolder() const { return FLanguageFolder; }
  std::vector<std::string>& AvailableLanguages() { return FAvailableLanguages; }
  const TExtIniFile& Text() const { return FText; }
  const TIniHashedStringList& Messages() const { return FMessages; }

private:
  void FillMessages();

  std::string FPrefix;
  std::string FLanguageFolder;
  std::vector<std::string> FAvailableLanguages;
  TExtIniFile FText;
  TIniHashedStringList FMessages{false};
};
