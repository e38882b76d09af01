#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"

// The Windows root keys and access rights, with their Windows values.
constexpr uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
constexpr uint32_t HKEY_CURRENT_USER = 0x80000001u;
constexpr uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr uint32_t KEY_WOW64_64KEY = 0x0100;
constexpr uint32_t KEY_WOW64_32KEY = 0x0200;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class ERegistryException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Registry access in the way of the classic registry class: a root key, an access mask, and
// at most one open key that reads and writes address. Key paths beginning with '\' start at
// the root, others below the open key. The view is the access mask's: KEY_WOW64_32KEY reads
// and writes the 32-bit program's view; without it, the native (64-bit) view.
//
// Reads of a missing value give an empty or false answer; ReadString of a value that is not
// a string and ReadInteger of a missing or non-integer value throw ERegistryException, as do
// failed writes. A key opened without KEY_SET_VALUE refuses writes.
class TRegistry {
public:
  TRegistry();  // on TPlatform::Current().Registry()
  explicit TRegistry(uint32_t access);
  explicit TRegistry(TRegistryStore& store, uint32_t access = KEY_ALL_ACCESS);
  ~TRegistry();

  uint32_t RootKey() const { return FRootKey; }
  void SetRootKey(uint32_t rootKey);  // closes the open key
  uint32_t Access() const { return FAccess; }
  void SetAccess(uint32_t access) { FAccess = access; }
  // Kept for the callers that set it; every write reaches the hive file at once anyway.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool lazy) { FLazyWrite = lazy; }
  // The open key's path below the root, without a leading '\'; empty when none is open.
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool KeyOpen() const { return FKeyOpen; }

  bool OpenKey(const std::string& key, bool canCreate);
  // Tries KEY_READ, then query-and-enumerate, then query-only access, each with the view bits
  // of the current mask; the access that worked becomes the mask.
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool DeleteKey(const std::string& key);  // with its sub-keys
  bool HasSubKeys();
  std::vector<std::string> GetKeyNames();
  std::vector<std::string> GetValueNames();

  bool ValueExists(const std::string& name);
  TRegDataType GetDataType(const std::string& name);
  bool DeleteValue(const std::string& name);
  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  int32_t ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int32_t value);

private:
  bool RootOf(TRootKey& root) const;
  std::string FullPath(const std::string& key) const;  // key resolved against the open key
  bool OpenWith(const std::string& key, uint32_t access, bool canCreate);
  bool ReadOpen(const std::string& name, TRegValue& value);
  void WriteOpen(const std::string& name, const TRegValue& value);

  TRegistryStore& FStore;
  uint32_t FRootKey{HKEY_CURRENT_USER};
  uint32_t FAccess{KEY_ALL_ACCESS};
  bool FLazyWrite{true};
  // The open key: where it is and how it was opened (a Windows handle keeps its view and rights).
  bool FKeyOpen{false};
  TRootKey FOpenRoot{TRootKey::CurrentUser};
  std::string FCurrentPath;
  uint32_t FOpenAccess{0};
};
