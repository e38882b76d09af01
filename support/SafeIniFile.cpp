#include "support/SafeIniFile.h"

#include <cerrno>

#include "platform/Platform.h"
#include "platform/Stream.h"
#include "support/IniService.h"

// Sections: names in order, each owning its list of lines; a repeated name is a second section
// and lookups find the later one.

namespace {

constexpr uint32_t kAllOddBits = 0x3127;  // every bit set at once: attributes that make no sense

int OrOne(int code) {
  return code ? code : 1;
}

bool IsNoFile(int code) {
  return code == ENOENT || code == ENOTDIR;
}

}  // namespace

EFolderError::EFolderError(const std::string& folder, int code)
    : std::runtime_error("Unable to create folder \"" + folder + "\""), FCode(code) {}

TSafeIniFile::TSafeIniFile() {
  AttachChangeHook();
}

TSafeIniFile::TSafeIniFile(const std::string& fileName, std::optional<TTextEncoding> encoding) {
  if (!fileName.empty()) {
    FFileName = fileName;
    LoadFromFile(fileName);
    const int loadError = FLastError;
    TFileSystem& files = TPlatform::Current().Files();
    if (!files.FileExists(fileName) && !files.FolderExists(fileName)) {
      // The file exists from now on, even when nothing is ever written into it.
      int error = 0;
      try {
        const std::string folder = TIniService::FolderOf(fileName);
        if (!folder.empty()) ForceFolder(folder);
        if (auto file = files.Open(fileName, TOpenMode::OpenOrCreate, &error)) {
          const std::string mark = encoding ? ByteOrderMark(*encoding) : std::string();
          if (!mark.empty() && file->Size() == 0 && file->WriteAt(0, mark.data(), int64_t(mark.size())) < 0)
            error = file->LastError();
        } else {
          error = OrOne(error);
        }
      } catch (const EFolderError& e) {
        error = OrOne(e.Code());
      }
      if (error && !FLastError) FLastError = error;
    }
    FNoAutoSave = loadError != 0;
  }
  AttachChangeHook();
}

TSafeIniFile::~TSafeIniFile() {
  if (FModified && !FNoAutoSave) UpdateFile();
}

void TSafeIniFile::AttachChangeHook() {
  FSections.OnChange = [this] {
    FModified = true;
    FCachedIndex = -1;
    FCachedSection.clear();
  };
}

void TSafeIniFile::Clear() {
  FSections.Clear();
  // Also without the hook (during the first load) no index may survive a new content.
  FCachedIndex = -1;
  FCachedSection.clear();
}

void TSafeIniFile::LoadFromFile(const std::string& path) {
  FLastError = 0;
  std::string bytes;
  const int error = TPlatform::Current().Files().ReadAll(path, bytes);
  if (error && !IsNoFile(error)) FLastError = error;
  Parse(error ? std::string() : bytes);
}

void TSafeIniFile::LoadFromStream(TStream& stream) {
  std::string bytes;
  if (!stream.ReadAll(bytes)) bytes.clear();
  Parse(bytes);
}

void TSafeIniFile::Parse(const std::string& bytes) {
  Clear();
  ParseLines(SplitLines(DecodeText(bytes)), FSections);
}

void TSafeIniFile::ParseLines(const std::vector<std::string>& lines, TIniHashedStringList& sections) {
  TIniHashedStringList* section = nullptr;
  for (const std::string& raw : lines) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      auto entries = std::make_unique<TIniHashedStringList>(sections.CaseSensitive());
      section = entries.get();
      sections.AddObject(Trim(line.substr(1, line.size() - 2)), std::move(entries));
    } else if (section) {
      const size_t equals = line.find('=');
      if (equals == std::string::npos)
        section->Add(line);
      else
        section->Add(Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1)));
    }
  }
}

std::string TSafeIniFile::SavedForm() const {
  std::string text;
  for (int i = 0; i < FSections.Count(); ++i) {
    text += "[" + FSections[i] + "]\r\n";
    const TIniHashedStringList& entries = *FSections.Objects(i);
    for (int k = 0; k < entries.Count(); ++k) {
      text += entries[k];
      text += "\r\n";
    }
    text += "\r\n";
  }
  return EncodeUtf16Le(text, true);
}

void TSafeIniFile::SaveToStream(TStream& stream) const {
  stream.Assign(SavedForm());
}

void TSafeIniFile::SaveToFile(const std::string& fileName) {
  TFileSystem& files = TPlatform::Current().Files();
  std::string path = fileName;
  const std::string folder = TIniService::FolderOf(path);
  if (!folder.empty() && folder != std::string(1, files.Separator())) {
    try {
      ForceFolder(folder);
    } catch (const EFolderError& e) {
      FLastError = OrOne(e.Code());
      return;
    }
  } else {
    path = std::string(".") + files.Separator() + path;
  }

  uint32_t attributes = files.GetAttributes(path);
  const bool existed = attributes != faInvalid;
  if (existed && (attributes & kAllOddBits) == kAllOddBits) {
    files.SetAttributes(path, faArchive);
    attributes = files.GetAttributes(path);
  }
  const bool guarded = existed && attributes != faInvalid && (attributes & (faReadOnly | faHidden)) != 0;
  if (guarded) files.SetAttributes(path, attributes & ~uint32_t(faReadOnly | faHidden));

  FLastError = 0;
  const int error = files.WriteAtomic(path, SavedForm());
  if (error) FLastError = OrOne(error);

  // The replacement is a new file: give it the old one's attributes back, also after a failure.
  if (existed && attributes != faInvalid && (guarded || !error)) files.SetAttributes(path, attributes);
}

void TSafeIniFile::UpdateFile() {
  if (FFileName.empty()) return;
  SaveToFile(FFileName);
  if (FLastError == 0) FModified = false;
}

void TSafeIniFile::ForceFolder(const std::string& folder) {
  const char sep = TPlatform::Current().Files().Separator();
  if (folder.empty() || folder == std::string(1, sep) || folder == std::string(".") + sep) return;
  if (const int error = TIniService::ForceFolder(folder)) throw EFolderError(folder, error);
}

// ---- reads ----

const TIniHashedStringList* TSafeIniFile::FindSection(const std::string& section) const {
  const int index = FSections.IndexOf(section);
  return index < 0 ? nullptr : FSections.Objects(index);
}

std::string TSafeIniFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
  const TIniHashedStringList* entries = FindSection(section);
  if (!entries) return def;
  const int index = entries->IndexOfName(key);
  return index < 0 ? def : entries->ValueFromIndex(index);
}

int TSafeIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return TIniService::ToInteger(ReadString(section, key, ""), def);
}

bool TSafeIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TSafeIniFile::ReadSection(const std::string& section) const {
  std::vector<std::string> keys;
  if (const TIniHashedStringList* entries = FindSection(section))
    for (int i = 0; i < entries->Count(); ++i)
      if ((*entries)[i].find('=') != std::string::npos) keys.push_back(entries->Names(i));
  return keys;
}

std::vector<std::string> TSafeIniFile::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(size_t(FSections.Count()));
  for (int i = 0; i < FSections.Count(); ++i) names.push_back(FSections[i]);
  return names;
}

std::vector<std::string> TSafeIniFile::ReadSectionValues(const std::string& section) const {
  std::vector<std::string> lines;
  if (const TIniHashedStringList* entries = FindSection(section))
    for (int i = 0; i < entries->Count(); ++i) lines.push_back((*entries)[i]);
  return lines;
}

bool TSafeIniFile::SectionExists(const std::string& section) const {
  return FindSection(section) != nullptr;
}

bool TSafeIniFile::ValueExists(const std::string& section, const std::string& key) const {
  const TIniHashedStringList* entries = FindSection(section);
  return entries && entries->IndexOfName(key) >= 0;
}

// ---- writes ----

TIniHashedStringList& TSafeIniFile::SectionForWrite(const std::string& section) {
  // A run of writes to one section skips the lookup; the name is compared exactly.
  if (FCachedIndex >= 0 && section == FCachedSection) return *FSections.Objects(FCachedIndex);
  int index = FSections.IndexOf(section);
  if (index < 0)
    index = FSections.AddObject(section, std::make_unique<TIniHashedStringList>(FSections.CaseSensitive()));
  FCachedSection = section;
  FCachedIndex = index;
  return *FSections.Objects(index);
}

void TSafeIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TIniHashedStringList& entries = SectionForWrite(section);
  const std::string line = key + "=" + value;
  const int index = entries.IndexOfName(key);
  if (index >= 0)
    entries.Put(index, line);
  else
    entries.Add(line);
  FModified = true;
}

void TSafeIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TSafeIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TSafeIniFile::DeleteKey(const std::string& section, const std::string& key) {
  const int sectionIndex = FSections.IndexOf(section);
  if (sectionIndex < 0) return;
  TIniHashedStringList& entries = *FSections.Objects(sectionIndex);
  const int index = entries.IndexOfName(key);
  if (index < 0) return;
  entries.Delete(index);
  FModified = true;
}

void TSafeIniFile::EraseSection(const std::string& section) {
  const int index = FSections.IndexOf(section);
  if (index >= 0) FSections.Delete(index);
}
