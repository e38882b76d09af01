#pragma once
#include <string>
#include <vector>

// An INI file read and written value by value through TIniService: every read looks at the file
// as it is now, every write replaces the file at once. A bare file name means the current folder.
// Write failures are not reported.
class TIniFile {
 public:
  // Creates the file's folder (quietly, up to 101 attempts) and clears the attributes of a
  // read-only file; a bare name becomes "." + separator + name.
  explicit TIniFile(const std::string& fileName);

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // keys
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);
  // Applies the file-name rule again; the writes have already reached the disk.
  void UpdateFile();

 private:
  std::string FFileName;
};
