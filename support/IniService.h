#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextCodec.h"

// The INI service that TIniFile and the download engine's state file stand on: one INI file's
// text as it is on disk, with lookups and changes that leave every other line (comments, blank
// lines, other sections) as it was. The one-call forms read the file afresh for every call, and
// every write replaces the file atomically at once (temporary file, sync, rename), so a crash
// leaves the old or the new file.
//
// Rules: section and key names are compared without letter case and trimmed of blanks; the first
// section and the first key of a name count; a value is trimmed, and one pair of matching quotes
// around it is removed. A file keeps its encoding (by byte-order mark; without one, Windows-1252
// with untouched lines kept byte for byte, and turned into UTF-16 LE when a written value has a
// character that code page lacks) and its line ends. A new file is UTF-16 LE with a byte-order
// mark and CR LF. A read-only file is not written (EACCES). Names and values with a line break,
// keys with "=" and section names with "]" are refused (EINVAL): they would change other lines.
class TIniService {
 public:
  // Reads path; a missing file is an empty text. Returns 0 or an errno value.
  int Load(const std::string& path);
  // Replaces the file with the current text (nothing happens when nothing changed).
  int Save();
  // The same on bytes in memory: a file's content, and what Save would write.
  void LoadFromBytes(const std::string& bytes);
  std::string SavedBytes() const;

  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  std::vector<std::string> SectionNames() const;                        // each name once, in order
  std::vector<std::string> KeyNames(const std::string& section) const;  // keys of the first such section
  int SetValue(const std::string& section, const std::string& key, const std::string& value);
  bool DeleteValue(const std::string& section, const std::string& key);
  bool DeleteSection(const std::string& section);  // every section of that name

  const std::string& Path() const { return FPath; }
  TTextEncoding Encoding() const { return FEncoding; }
  bool Changed() const { return FChanged; }

  // One-call forms, as the private-profile functions of the operating system.
  static std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& def);
  static std::vector<std::string> ReadSections(const std::string& path);
  static std::vector<std::string> ReadSection(const std::string& path, const std::string& section);
  static int WriteString(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value);
  static int DeleteKey(const std::string& path, const std::string& section, const std::string& key);
  static int EraseSection(const std::string& path, const std::string& section);
  // Several changes and one atomic replacement of the file. change returns 0 to save, or an
  // errno value that drops the changes and is returned. A file that cannot be read is not written.
  static int Update(const std::string& path, const std::function<int(TIniService&)>& change);

  // Helpers shared by the INI classes.
  // The folder part of path with its trailing separator ("" for a bare name).
  static std::string FolderOf(const std::string& path);
  // "." + separator + path when the folder part of path is empty or the bare separator, so that
  // a bare name means the current folder; otherwise path.
  static std::string LocalPath(const std::string& path);
  // Creates folder with all missing parents, up to 101 attempts; 0 or an errno value.
  static int ForceFolder(const std::string& folder);
  // Decimal, or hexadecimal after "0x"/"0X" (at least three characters); def when not a number.
  static int ToInteger(const std::string& text, int def);

 private:
  struct TLine {
    std::string Text;                // UTF-8
    std::optional<std::string> Raw;  // the bytes read, for untouched lines of a Windows-1252 file
  };
  TTextEncoding SaveEncoding() const;
  int FindSection(const std::string& section) const;  // index of the header line, or -1
  int SectionEnd(int header) const;                   // index after the section's last line
  int FindKey(int header, const std::string& key) const;
  void SetLine(int index, std::string text);
  void InsertLine(int index, std::string text);

  std::string FPath;
  std::vector<TLine> FLines;
  TTextEncoding FEncoding{TTextEncoding::Utf16Le};
  std::string FLineEnd{"\r\n"};
  bool FChanged{false};
};
