#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TFileSystem;

enum class TRootKey { ClassesRoot, CurrentUser, LocalMachine };
enum class TRegType : uint32_t { None = 0, Sz = 1, ExpandSz = 2, Dword = 4 };

struct TRegValue {
  TRegType Type{TRegType::None};
  std::string Text;    // Sz, ExpandSz (UTF-8)
  uint32_t Dword{0};   // Dword
};

// A hierarchical store with Windows registry semantics, kept as one ".reg" export file per
// hive (machine and user). Key paths are case-insensitive and use '\'; a leading '\' is
// ignored. ClassesRoot is the merge of both hives' "Software\Classes" (the user's wins on
// read; writes go to the machine hive). View32 maps "SOFTWARE\..." of the machine hive to
// "SOFTWARE\WOW6432Node\...". Every change re-reads the hive and replaces its file
// atomically under a file lock, so two processes writing at once keep each other's values.
// A hive file that cannot be parsed is renamed aside (".corrupt-N") before anything new is
// written over it. Failures give false and set LastError().
class TRegistryStore {
public:
  TRegistryStore(TFileSystem& files, std::string machineHiveFile, std::string userHiveFile);
  ~TRegistryStore();

  bool KeyExists(TRootKey root, const std::string& path, bool view32 = false);
  bool CreateKey(TRootKey root, const std::string& path, bool view32 = false);
  bool DeleteKey(TRootKey root, const std::string& path, bool view32 = false);  // with sub-keys
  bool ReadValue(TRootKey root, const std::string& path, const std::string& name, TRegValue& value,
                 bool view32 = false);
  // Creates the key when missing. name "" is the key's default value.
  bool WriteValue(TRootKey root, const std::string& path, const std::string& name,
                  const TRegValue& value, bool view32 = false);
  bool DeleteValue(TRootKey root, const std::string& path, const std::string& name, bool view32 = false);
  std::vector<std::string> ValueNames(TRootKey root, const std::string& path, bool view32 = false);
  std::vector<std::string> SubKeys(TRootKey root, const std::string& path, bool view32 = false);

  const std::string& MachineHiveFile() const { return FMachineFile; }
  const std::string& UserHiveFile() const { return FUserFile; }
  int LastError() const { return FLastError; }

private:
  TFileSystem& FFiles;
  std::string FMachineFile;
  std::string FUserFile;
  int FLastError{0};
};
