#include "platform/RegistryStore.h"

#include <cerrno>
#include <map>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/RegFile.h"
#include "platform/TextCodec.h"

struct TRegistryStore::TPlace {
  const std::string* File{nullptr};
  std::string RootName;
  std::vector<std::string> Path;
};

namespace {

const char kMachineRoot[] = "HKEY_LOCAL_MACHINE";
const char kUserRoot[] = "HKEY_CURRENT_USER";

// Keys below SOFTWARE that a 32-bit program sees in the 64-bit place.
const std::vector<std::vector<std::string>> kSharedBetweenViews = {
    {"Classes"},           {"Policies"},           {"RegisteredApplications"}, {"Microsoft", "OLE"},
    {"Microsoft", "RPC"}, {"Microsoft", "COM3"}, {"Microsoft", "EventSystem"},
};

bool SplitKeyPath(const std::string& path, std::vector<std::string>& parts) {
  parts.clear();
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      parts.push_back(path.substr(start, end - start));
      if (!TRegFile::ValidKeyName(parts.back())) return false;
    }
    start = end + 1;
  }
  return true;
}

void MapTo32BitView(std::vector<std::string>& parts) {
  if (parts.size() < 2 || !SameText(parts[0], "SOFTWARE") || SameText(parts[1], "WOW6432Node")) return;
  for (const auto& shared : kSharedBetweenViews) {
    bool match = parts.size() - 1 >= shared.size();
    for (size_t i = 0; match && i < shared.size(); ++i) match = SameText(parts[i + 1], shared[i]);
    if (match) return;
  }
  parts.insert(parts.begin() + 1, "WOW6432Node");
}

const TRegKey* FindKey(const TRegKey& hive, const std::vector<std::string>& path) {
  const TRegKey* key = &hive;
  for (const auto& name : path)
    if (!(key = key->FindSubKey(name))) return nullptr;
  return key;
}

TRegKey* OpenKey(TRegKey& hive, const std::vector<std::string>& path, bool create, bool& created) {
  TRegKey* key = &hive;
  for (const auto& name : path) {
    TRegKey* sub = key->FindSubKey(name);
    if (!sub) {
      if (!create) return nullptr;
      sub = key->AddSubKey(name);
      created = true;
    }
    key = sub;
  }
  return key;
}

// Only the fields of the value's type are kept, so equal values compare equal.
TRegValue Normalized(const TRegValue& value) {
  TRegValue out;
  out.Type = value.Type;
  switch (value.Type) {
    case TRegType::Sz:
    case TRegType::ExpandSz:
      out.Text = value.Text;
      break;
    case TRegType::Dword:
      out.Dword = value.Dword;
      break;
    default:
      out.Data = value.Data;
  }
  return out;
}

}  // namespace

TRegistryStore::TRegistryStore(TFileSystem& files, std::string machineHiveFile, std::string userHiveFile)
    : FFiles(files), FMachineFile(std::move(machineHiveFile)), FUserFile(std::move(userHiveFile)) {}

TRegistryStore::~TRegistryStore() = default;

bool TRegistryStore::Done(int error) {
  FLastError = error;
  return error == 0;
}

bool TRegistryStore::Places(TRootKey root, const std::string& path, bool view32, std::vector<TPlace>& places) {
  places.clear();
  std::vector<std::string> parts;
  if (!SplitKeyPath(path, parts)) return Done(EINVAL);
  switch (root) {
    case TRootKey::LocalMachine:
      if (view32) MapTo32BitView(parts);
      places.push_back({&FMachineFile, kMachineRoot, parts});
      break;
    case TRootKey::CurrentUser:
      places.push_back({&FUserFile, kUserRoot, parts});
      break;
    case TRootKey::ClassesRoot: {
      std::vector<std::string> user{"Software", "Classes"}, machine{"SOFTWARE", "Classes"};
      user.insert(user.end(), parts.begin(), parts.end());
      machine.insert(machine.end(), parts.begin(), parts.end());
      places.push_back({&FUserFile, kUserRoot, std::move(user)});
      places.push_back({&FMachineFile, kMachineRoot, std::move(machine)});
      break;
    }
    default:
      return Done(EINVAL);
  }
  for (const auto& place : places)
    if (place.Path.size() > TRegFile::MaxDepth) return Done(EINVAL);
  return true;
}

int TRegistryStore::LoadHive(const TPlace& place, TRegKey& hive) const {
  std::string bytes;
  const int error = FFiles.ReadAll(*place.File, bytes);
  if (error == ENOENT) return 0;
  if (error) return error;
  if (!TRegFile::FromBytes(bytes, place.RootName, hive)) {
    hive = TRegKey{};
    return EBADMSG;
  }
  return 0;
}

bool TRegistryStore::Visit(const std::vector<TPlace>& places,
                           const std::function<bool(const TRegKey& key)>& visit, int& readError) const {
  readError = 0;
  for (const auto& place : places) {
    TRegKey hive;
    if (int error = LoadHive(place, hive)) readError = error;
    const TRegKey* key = FindKey(hive, place.Path);
    if (key && visit(*key)) return true;
  }
  return false;
}

int TRegistryStore::SetAside(const std::string& file) {
  for (int n = 1; n < 100000; ++n) {
    const std::string aside = file + ".corrupt-" + std::to_string(n);
    if (FFiles.FileExists(aside)) continue;
    return FFiles.RenameFile(file, aside);
  }
  return EEXIST;
}

int TRegistryStore::Modify(const TPlace& place, const std::function<int(TRegKey& hive, bool& changed)>& apply) {
  const std::string& file = *place.File;
  if (int error = FFiles.ForceFolders(ExtractFileDir(file, FFiles.Separator()))) return error;
  int error = 0;
  std::unique_ptr<TFileLock> lock = FFiles.LockExclusive(file + ".lock", &error);
  if (!lock) return error ? error : EIO;
  // Read again under the lock: another process may have written since our last look.
  std::string bytes;
  error = FFiles.ReadAll(file, bytes);
  if (error && error != ENOENT) return error;
  TRegKey hive;
  if (!error && !TRegFile::FromBytes(bytes, place.RootName, hive)) {
    if ((error = SetAside(file))) return error;
    hive = TRegKey{};
  }
  bool changed = false;
  if ((error = apply(hive, changed))) return error;
  return changed ? FFiles.WriteAtomic(file, TRegFile::ToBytes(hive, place.RootName)) : 0;
}

bool TRegistryStore::KeyExists(TRootKey root, const std::string& path, bool view32) {
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  std::vector<std::string> parts;
  SplitKeyPath(path, parts);
  if (parts.empty()) return Done(0);  // a root always exists
  int readError = 0;
  if (Visit(places, [](const TRegKey&) { return true; }, readError)) return Done(0);
  return Done(readError ? readError : ENOENT);
}

bool TRegistryStore::CreateKey(TRootKey root, const std::string& path, bool view32) {
  if (KeyExists(root, path, view32)) return true;
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  return Done(Modify(places.back(), [&](TRegKey& hive, bool& changed) {
    OpenKey(hive, places.back().Path, true, changed);
    return 0;
  }));
}

bool TRegistryStore::DeleteKey(TRootKey root, const std::string& path, bool view32) {
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  std::vector<std::string> parts;
  SplitKeyPath(path, parts);
  if (parts.empty()) return Done(EINVAL);  // a root cannot go
  bool found = false;
  for (const auto& place : places) {
    TRegKey hive;
    const int loaded = LoadHive(place, hive);
    // A corrupt hive holds nothing; one we could not read may: Modify decides under the lock.
    if (loaded == EBADMSG || (loaded == 0 && !FindKey(hive, place.Path))) continue;
    const int error = Modify(place, [&](TRegKey& h, bool& changed) {
      bool created = false;
      TRegKey* parent = OpenKey(h, {place.Path.begin(), place.Path.end() - 1}, false, created);
      changed = parent && parent->RemoveSubKey(place.Path.back());
      found = found || changed;
      return 0;
    });
    if (error) return Done(error);
  }
  return Done(found ? 0 : ENOENT);
}

bool TRegistryStore::ReadValue(TRootKey root, const std::string& path, const std::string& name,
                               TRegValue& value, bool view32) {
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  int readError = 0;
  const bool found = Visit(places, [&](const TRegKey& key) {
    const TRegValue* v = key.FindValue(name);
    if (v) value = *v;
    return v != nullptr;
  }, readError);
  return Done(found ? 0 : readError ? readError : ENOENT);
}

bool TRegistryStore::WriteValue(TRootKey root, const std::string& path, const std::string& name,
                                const TRegValue& value, bool view32, bool createKey) {
  if (!TRegFile::ValidValueName(name) || value.Type == TRegType::None) return Done(EINVAL);
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  const TPlace* target = &places.back();
  if (places.size() > 1) {
    // ClassesRoot: the user's key when it exists, as Windows does.
    TRegKey userHive;
    LoadHive(places.front(), userHive);
    if (FindKey(userHive, places.front().Path)) target = &places.front();
  }
  const TRegValue stored = Normalized(value);
  return Done(Modify(*target, [&](TRegKey& hive, bool& changed) {
    TRegKey* key = OpenKey(hive, target->Path, createKey, changed);
    if (!key) return ENOENT;
    if (key->SetValue(name, stored)) changed = true;
    return 0;
  }));
}

bool TRegistryStore::DeleteValue(TRootKey root, const std::string& path, const std::string& name, bool view32) {
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return false;
  bool found = false;
  for (const auto& place : places) {
    TRegKey hive;
    const int loaded = LoadHive(place, hive);
    const TRegKey* key = FindKey(hive, place.Path);
    if (loaded == EBADMSG || (loaded == 0 && !(key && key->FindValue(name)))) continue;
    const int error = Modify(place, [&](TRegKey& h, bool& changed) {
      bool created = false;
      TRegKey* k = OpenKey(h, place.Path, false, created);
      changed = k && k->RemoveValue(name);
      found = found || changed;
      return 0;
    });
    if (error) return Done(error);
  }
  return Done(found ? 0 : ENOENT);
}

std::vector<std::string> TRegistryStore::ValueNames(TRootKey root, const std::string& path, bool view32) {
  std::vector<std::string> names;
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return names;
  std::map<std::string, bool> seen;
  int readError = 0;
  bool any = false;
  Visit(places, [&](const TRegKey& key) {
    any = true;
    for (const auto& [name, value] : key.Values)
      if (seen.emplace(FoldRegName(name), true).second) names.push_back(name);
    return false;
  }, readError);
  Done(any ? 0 : readError ? readError : ENOENT);
  return names;
}

std::vector<std::string> TRegistryStore::SubKeys(TRootKey root, const std::string& path, bool view32) {
  std::vector<TPlace> places;
  if (!Places(root, path, view32, places)) return {};
  std::map<std::string, std::string> merged;  // folded name -> first-seen name, in Windows order
  int readError = 0;
  bool any = false;
  Visit(places, [&](const TRegKey& key) {
    any = true;
    for (const auto& [folded, sub] : key.SubKeys) merged.emplace(folded, sub->Name);
    return false;
  }, readError);
  Done(any ? 0 : readError ? readError : ENOENT);
  std::vector<std::string> names;
  for (auto& [folded, name] : merged) names.push_back(std::move(name));
  return names;
}

bool TRegistryStore::CheckAccess(TRootKey root, const std::string& path, uint32_t access, bool view32) const {
  return !OnCheckAccess || OnCheckAccess(root, path, access, view32);
}
