#pragma once
#include <memory>
#include <string>
#include <vector>

#include "support/IniHashedStringList.h"

class TStream;

// The in-memory INI store of the language texts. It has no file of its own: the loaders replace
// the whole content, the write operations change memory only, and UpdateFile does nothing.
//
// Text rules: the encoding comes from the byte-order mark (UTF-16 LE/BE, UTF-8; none means
// Windows-1252); lines end at CR LF, CR or LF and are trimmed of blanks and control characters;
// empty lines and lines starting with ";" are skipped; "[name]" opens a section; an entry is
// stored as trimmed key, "=", trimmed value, with the value taken literally (no quotes or escapes
// removed); any other line is kept but never matches a key; lines before the first section are
// dropped. Section names and keys ignore letter case, and where one occurs twice the later one is
// found. A repeated section is kept as a section of its own, so lookups see only the later one.
class TExtIniFile {
public:
  TExtIniFile() = default;
  TExtIniFile(const TExtIniFile&) = delete;
  TExtIniFile& operator=(const TExtIniFile&) = delete;

  // Replaces the content with the file's text. A file that cannot be read leaves the content
  // as it was; nothing is reported.
  void LoadFromFile(const std::string& path);
  // The same for the rest of the stream, from its current position.
  void LoadFromStream(TStream& stream);
  // Replaces the content with the text of bytes (encoding by byte-order mark).
  void SetText(const std::string& bytes);
  // Replaces the content with already decoded lines.
  void SetStrings(const std::vector<std::string>& lines);
  void Clear() { FSections.Clear(); }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  bool SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }
  std::vector<std::string> ReadSection(const std::string& section) const;        // key names in order
  std::vector<std::string> ReadSections() const;                                  // every section, in order
  std::vector<std::string> ReadSectionValues(const std::string& section) const;  // copy of the lines

  // Replaces the found line of that key, or adds one (and the section when it is missing).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Removes every section of that name, so that no earlier one of the same name shows through.
  void EraseSection(const std::string& section);
  // Removes every line of that key from the found section, for the same reason.
  void DeleteKey(const std::string& section, const std::string& key);
  void UpdateFile() {}

  // The found section's lines, or null (the translator copies its messages from here).
  const TIniHashedStringList* FindSection(const std::string& section) const;

private:
  TIniHashedStringList* FindSectionForWrite(const std::string& section);

  // Section names, each owning its list of lines.
  TIniHashedStringList FSections{false};
};
