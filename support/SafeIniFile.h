#pragma once
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "support/IniHashedStringList.h"

class TStream;

// A folder that could not be created; the message ends with a blank and the folder in quotes.
class EFolderError : public std::runtime_error {
 public:
  EFolderError(const std::string& folder, int code);
  int Code() const { return FCode; }

 private:
  int FCode;
};

// An INI file kept whole in memory: loaded from a file or a stream, changed in memory, written
// back only on request, or when freed after a change. It never saves itself over a file it failed
// to read, gets through read-only and hidden attributes when saving, creates missing folders, and
// records the error of a failed load or save in LastError() instead of raising it. It always
// saves UTF-16 LE with a byte-order mark, CR LF line ends and an empty line after each section.
// All file access goes through TPlatform::Current().Files().
class TSafeIniFile {
 public:
  // Empty, no file name (for streams or an explicit LoadFromFile).
  TSafeIniFile();
  // Loads fileName. A missing file is created empty, with its folder; when encoding is given, the
  // new file holds that encoding's byte-order mark. A failed load sets NoAutoSave.
  explicit TSafeIniFile(const std::string& fileName, std::optional<TTextEncoding> encoding = std::nullopt);
  ~TSafeIniFile();  // saves first when Modified and not NoAutoSave
  TSafeIniFile(const TSafeIniFile&) = delete;
  TSafeIniFile& operator=(const TSafeIniFile&) = delete;

  // Replaces the content with the file's sections; a missing file gives an empty content.
  // A failure sets LastError.
  void LoadFromFile(const std::string& path);
  // Replaces the content with the sections of the whole stream (from its start).
  void LoadFromStream(TStream& stream);
  // Replaces the stream's content with the saved form. A failure is swallowed.
  void SaveToStream(TStream& stream) const;
  // Writes the saved form to path, replacing the file atomically; sets LastError (0 on success).
  void SaveToFile(const std::string& path);
  // Saves to FileName (when it is not empty) and clears Modified if that succeeded.
  void UpdateFile();
  void Clear();

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSection(const std::string& section) const;        // keys in order
  std::vector<std::string> ReadSections() const;                                 // names in order
  std::vector<std::string> ReadSectionValues(const std::string& section) const;  // "key=value" lines
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);

  // Appends the sections of decoded INI text lines to sections (each owning its entry list):
  // lines trimmed, blank and ";" lines skipped, "[name]" opens a section (also a repeated one),
  // entries stored as trimmed key "=" trimmed value, lines before the first section dropped.
  // The one INI text parser; other in-memory INI stores use it too.
  static void ParseLines(const std::vector<std::string>& lines, TIniHashedStringList& sections);

  // Creates folder with all missing parents (up to 101 attempts); nothing for "", the bare
  // separator or "." + separator. Throws EFolderError.
  static void ForceFolder(const std::string& folder);

  const std::string& FileName() const { return FFileName; }
  const TIniHashedStringList& Sections() const { return FSections; }
  const std::string& CachedSection() const { return FCachedSection; }
  int CachedIndex() const { return FCachedIndex; }
  bool Modified() const { return FModified; }
  void SetModified(bool modified) { FModified = modified; }
  bool NoAutoSave() const { return FNoAutoSave; }
  void SetNoAutoSave(bool noAutoSave) { FNoAutoSave = noAutoSave; }
  int LastError() const { return FLastError; }

 private:
  void Parse(const std::string& bytes);
  std::string SavedForm() const;
  const TIniHashedStringList* FindSection(const std::string& section) const;
  TIniHashedStringList& SectionForWrite(const std::string& section);
  void AttachChangeHook();

  std::string FFileName;
  TIniHashedStringList FSections{false};
  std::string FCachedSection;
  int FCachedIndex{-1};
  bool FModified{false};
  bool FNoAutoSave{false};
  int FLastError{0};
};
