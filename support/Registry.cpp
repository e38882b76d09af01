#include "support/Registry.h"

#include "platform/Platform.h"
#include "platform/RegistryStore.h"

namespace {

constexpr uint32_t kViewBits = KEY_WOW64_32KEY | KEY_WOW64_64KEY;

std::string TrimSeparators(const std::string& path) {
  size_t begin = 0, end = path.size();
  while (begin < end && path[begin] == '\\') ++begin;
  while (end > begin && path[end - 1] == '\\') --end;
  return path.substr(begin, end - begin);
}

TRegValue TextValue(TRegType type, const std::string& text) {
  TRegValue value;
  value.Type = type;
  value.Text = text;
  return value;
}

bool View32(uint32_t access) { return (access & KEY_WOW64_32KEY) != 0; }

[[noreturn]] void Raise(const char* what, const std::string& name) {
  throw ERegistryException(std::string(what) + " '" + name + "'");
}

}  // namespace

TRegistry::TRegistry() : FStore(TPlatform::Current().Registry()) {}

TRegistry::TRegistry(uint32_t access) : FStore(TPlatform::Current().Registry()), FAccess(access) {}

TRegistry::TRegistry(TRegistryStore& store, uint32_t access) : FStore(store), FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(uint32_t rootKey) {
  if (rootKey == FRootKey) return;
  FRootKey = rootKey;
  CloseKey();
}

bool TRegistry::RootOf(TRootKey& root) const {
  switch (FRootKey) {
    case HKEY_CLASSES_ROOT: root = TRootKey::ClassesRoot; return true;
    case HKEY_CURRENT_USER: root = TRootKey::CurrentUser; return true;
    case HKEY_LOCAL_MACHINE: root = TRootKey::LocalMachine; return true;
    default: return false;
  }
}

std::string TRegistry::FullPath(const std::string& key) const {
  const bool relative = key.empty() || key[0] != '\\';
  if (relative && FKeyOpen && !FCurrentPath.empty()) return TrimSeparators(FCurrentPath + "\\" + key);
  return TrimSeparators(key);
}

bool TRegistry::OpenWith(const std::string& key, uint32_t access, bool canCreate) {
  TRootKey root;
  if (!RootOf(root)) return false;
  const std::string path = FullPath(key);
  const bool view32 = View32(access);
  if (!FStore.CheckAccess(root, path, access, view32)) return false;
  if (!(canCreate ? FStore.CreateKey(root, path, view32) : FStore.KeyExists(root, path, view32))) return false;
  CloseKey();
  FKeyOpen = true;
  FOpenRoot = root;
  FCurrentPath = path;
  FOpenAccess = access;
  return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return OpenWith(key, FAccess, canCreate); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const uint32_t view = FAccess & kViewBits;
  for (uint32_t access : {KEY_READ, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, KEY_QUERY_VALUE}) {
    if (OpenWith(key, access | view, false)) {
      FAccess = access | view;
      return true;
    }
  }
  return false;
}

void TRegistry::CloseKey() {
  FKeyOpen = false;
  FCurrentPath.clear();
  FOpenAccess = 0;
}

bool TRegistry::KeyExists(const std::string& key) {
  TRootKey root;
  return RootOf(root) && FStore.KeyExists(root, FullPath(key), View32(FAccess));
}

bool TRegistry::DeleteKey(const std::string& key) {
  TRootKey root;
  return RootOf(root) && FStore.DeleteKey(root, FullPath(key), View32(FAccess));
}

std::vector<std::string> TRegistry::GetKeyNames() {
  if (!FKeyOpen) return {};
  return FStore.SubKeys(FOpenRoot, FCurrentPath, View32(FOpenAccess));
}

bool TRegistry::HasSubKeys() { return !GetKeyNames().empty(); }

std::vector<std::string> TRegistry::GetValueNames() {
  if (!FKeyOpen) return {};
  return FStore.ValueNames(FOpenRoot, FCurrentPath, View32(FOpenAccess));
}

bool TRegistry::ReadOpen(const std::string& name, TRegValue& value) {
  return FKeyOpen && FStore.ReadValue(FOpenRoot, FCurrentPath, name, value, View32(FOpenAccess));
}

void TRegistry::WriteOpen(const std::string& name, const TRegValue& value) {
  // createKey false: a key deleted while open stays deleted, as a Windows handle does.
  if (!FKeyOpen || !(FOpenAccess & KEY_SET_VALUE) ||
      !FStore.WriteValue(FOpenRoot, FCurrentPath, name, value, View32(FOpenAccess), false))
    Raise("Failed to set data for", name);
}

bool TRegistry::ValueExists(const std::string& name) {
  TRegValue value;
  return ReadOpen(name, value);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
  TRegValue value;
  if (!ReadOpen(name, value)) return TRegDataType::rdUnknown;
  switch (value.Type) {
    case TRegType::Sz: return TRegDataType::rdString;
    case TRegType::ExpandSz: return TRegDataType::rdExpandString;
    case TRegType::Dword: return TRegDataType::rdInteger;
    case TRegType::Binary: return TRegDataType::rdBinary;
    default: return TRegDataType::rdUnknown;
  }
}

bool TRegistry::DeleteValue(const std::string& name) {
  return FKeyOpen && (FOpenAccess & KEY_SET_VALUE) &&
         FStore.DeleteValue(FOpenRoot, FCurrentPath, name, View32(FOpenAccess));
}

std::string TRegistry::ReadString(const std::string& name) {
  TRegValue value;
  if (!ReadOpen(name, value)) return "";
  if (value.Type == TRegType::Sz || value.Type == TRegType::ExpandSz)
    return value.Text.substr(0, value.Text.find('\0'));  // a string ends at its first NUL
  if (value.Type != TRegType::Dword && value.Data.empty()) return "";  // no data at all
  Raise("Invalid data type for", name);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  WriteOpen(name, TextValue(TRegType::Sz, value));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  WriteOpen(name, TextValue(TRegType::ExpandSz, value));
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  TRegValue value;
  if (!ReadOpen(name, value)) Raise("Failed to get data for", name);
  if (value.Type != TRegType::Dword) Raise("Invalid data type for", name);
  return int32_t(value.Dword);
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  TRegValue v;
  v.Type = TRegType::Dword;
  v.Dword = uint32_t(value);
  WriteOpen(name, v);
}
