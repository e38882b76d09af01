#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TFileSystem;
struct TRegKey;

enum class TRootKey { ClassesRoot, CurrentUser, LocalMachine };
// The Windows value type numbers. The store works with Sz, ExpandSz and Dword; a value of any
// other type found in a hive file (REG_BINARY, REG_MULTI_SZ, ...) is kept as raw bytes, so
// that rewriting the file never drops it.
enum class TRegType : uint32_t { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, MultiSz = 7, Qword = 11 };

struct TRegValue {
  TRegType Type{TRegType::None};
  std::string Text;    // Sz, ExpandSz (UTF-8)
  uint32_t Dword{0};   // Dword
  std::string Data;    // raw bytes of every other type

  bool operator==(const TRegValue&) const = default;
};

// A hierarchical store with Windows registry semantics, kept as one ".reg" export file per
// hive (machine and user; TRegFile is the file form). Key paths are case-insensitive, use '\'
// and keep the case in which a key was first written; empty components (a leading '\') are
// ignored. The root of each hive always exists.
//
// ClassesRoot is the merge of the user hive's "Software\Classes" and the machine hive's
// "SOFTWARE\Classes": a value is read from the user's key when it has it, else from the
// machine's; names enumerate as the union. A write goes to the user's key when that key
// exists there, else to the machine hive (so a value written is the value read back); a
// delete removes the value or key from both hives.
//
// view32 is the view of a 32-bit Windows program: "SOFTWARE\X..." of the machine hive becomes
// "SOFTWARE\WOW6432Node\X...", except for the keys Windows shares between the views
// (Classes, Policies, RegisteredApplications, Microsoft\OLE, Microsoft\RPC,
// Microsoft\COM3, Microsoft\EventSystem) and paths that already name WOW6432Node. The
// user hive and ClassesRoot are the same in both views.
//
// Every change takes an exclusive lock on "<hive>.lock", re-reads the hive, applies the
// change and replaces the file atomically, so two processes writing at once keep each
// other's values. Reads re-read the file (no cache): another process may have changed it.
// A hive file that cannot be parsed reads as empty (LastError() is EBADMSG) and is renamed
// aside to "<hive>.corrupt-N" before anything new is written; a hive that cannot be read at
// all is never written over. Failures give false and set LastError() (an errno value:
// ENOENT for a missing key or value, EINVAL for a name the store cannot hold).
class TRegistryStore {
public:
  TRegistryStore(TFileSystem& files, std::string machineHiveFile, std::string userHiveFile);
  ~TRegistryStore();

  bool KeyExists(TRootKey root, const std::string& path, bool view32 = false);
  bool CreateKey(TRootKey root, const std::string& path, bool view32 = false);
  bool DeleteKey(TRootKey root, const std::string& path, bool view32 = false);  // with sub-keys
  bool ReadValue(TRootKey root, const std::string& path, const std::string& name, TRegValue& value,
                 bool view32 = false);
  // Creates the key when missing (unless createKey is false). name "" is the key's default value.
  bool WriteValue(TRootKey root, const std::string& path, const std::string& name,
                  const TRegValue& value, bool view32 = false, bool createKey = true);
  bool DeleteValue(TRootKey root, const std::string& path, const std::string& name, bool view32 = false);
  std::vector<std::string> ValueNames(TRootKey root, const std::string& path, bool view32 = false);
  std::vector<std::string> SubKeys(TRootKey root, const std::string& path, bool view32 = false);

  // Whether a key may be opened with a Windows access mask (KEY_READ, ...). Files carry no
  // per-key rights, so every access is granted unless OnCheckAccess says otherwise (tests
  // use it to reproduce keys that refuse some rights).
  bool CheckAccess(TRootKey root, const std::string& path, uint32_t access, bool view32) const;
  std::function<bool(TRootKey root, const std::string& path, uint32_t access, bool view32)> OnCheckAccess;

  const std::string& MachineHiveFile() const { return FMachineFile; }
  const std::string& UserHiveFile() const { return FUserFile; }
  int LastError() const { return FLastError; }

private:
  struct TPlace;  // one hive file and a key path inside it
  bool Places(TRootKey root, const std::string& path, bool view32, std::vector<TPlace>& places);
  int LoadHive(const TPlace& place, TRegKey& hive) const;
  // Finds the key of each place in turn until visit returns true; the error of an unreadable
  // hive is left in readError.
  bool Visit(const std::vector<TPlace>& places, const std::function<bool(const TRegKey& key)>& visit,
             int& readError) const;
  int Modify(const TPlace& place, const std::function<int(TRegKey& hive, bool& changed)>& apply);
  int SetAside(const std::string& file);
  bool Done(int error);

  TFileSystem& FFiles;
  std::string FMachineFile;
  std::string FUserFile;
  int FLastError{0};
};
