#include "support/Language.h"

#include <algorithm>

#include "platform/Platform.h"
#include "platform/TextCodec.h"

TLanguage::TLanguage(std::string prefix)
    : FPrefix(std::move(prefix)),
      FLanguageFolder(TPlatform::Current().Folders().Folder(TFolderKind::ExeFolder) + "Language") {}

void TLanguage::LoadLanguageFile(const std::string& name) {
  TFileSystem& files = TPlatform::Current().Files();
  auto available = [&](const std::string& language) {
    return std::any_of(FAvailableLanguages.begin(), FAvailableLanguages.end(),
                       [&](const std::string& entry) { return SameText(entry, language); });
  };
  auto fileOf = [&](const std::string& language) {
    return FLanguageFolder + files.Separator() + language + ".lng";
  };
  std::string language = name;
  if (!available(language) || !files.FileExists(fileOf(language))) language = "English";
  if (!available(language) || !files.FileExists(fileOf(language))) return;
  FText.LoadFromFile(fileOf(language));
  FillMessages();
}

void TLanguage::LoadFromResource(TStream& stream) {
  FText.LoadFromStream(stream);
  FillMessages();
}

void TLanguage::FillMessages() {
  FMessages.Clear();
  if (const TIniHashedStringList* lines = FText.FindSection(FPrefix + "_M"))
    for (int i = 0; i < lines->Count(); ++i) FMessages.Add(lines->Strings(i));
}

std::string TLanguage::GetMessageDef(const std::string& key, const std::string& def) const {
  const int index = FMessages.IndexOfName(key);
  return index < 0 ? def : FMessages.ValueFromIndex(index);
}
