#pragma once
#include <string>

class TSafeIniFile;
class TMemoryStream;

// INI-style access to one of the browser's encrypted settings files ("config.qvdt",
// "Gwkrymvt.dat"). Every call reads, decrypts and parses the whole file; every write also
// re-encrypts and replaces it. A file that could not be read is never overwritten with a
// partial set of values: the failure is recorded in the loaded data as a marker, and a save
// of marked data first merges in what a second load finds, or drops the write.
class TQuenvoVPNConfig {
public:
  explicit TQuenvoVPNConfig(std::string fileName) : FFileName(std::move(fileName)) {}

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

  // Fills ini from the file (a missing file leaves it empty) or writes the load-failure marker.
  void LoadSettings(TSafeIniFile& ini) const;
  // Encrypts ini into the file, guarded by the marker rule; failures are swallowed.
  void SaveSettings(TSafeIniFile& ini) const;
  // Reads the whole file, through a temporary copy beside it when it cannot be opened directly.
  // Throws std::runtime_error "backup file NAME failed." when that copy cannot be made.
  static void ReadFileShared(const std::string& path, TMemoryStream& destination);

  static constexpr const char* MarkerSection = "main_file_load";
  static constexpr const char* MarkerKey = "file_load_error";

  const std::string& FileName() const { return FFileName; }

private:
  std::string FFileName;
};
