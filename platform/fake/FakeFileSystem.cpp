// Sections: path parsing; arranging; queries; folders; files; attributes; listing; locks.
#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/TextCodec.h"

namespace {

constexpr uint32_t DefaultFileAttributes = faArchive;

char DriveLetter(const std::string& drive) {
  if (drive.empty() || !std::isalpha(static_cast<unsigned char>(drive[0]))) return 0;
  if (drive.size() > 1 && drive[1] != ':') return 0;
  return char(std::toupper(static_cast<unsigned char>(drive[0])));
}

bool ValidName(const std::string& name) {
  for (unsigned char c : name)
    if (c < 32 || std::strchr("<>:\"|?*", c)) return false;
  return true;
}

// Case-insensitive wildcard match of upper-case texts: '*' any run, '?' one character.
bool Matches(const char* mask, const char* name) {
  if (*mask == 0) return *name == 0;
  if (*mask == '*') return Matches(mask + 1, name) || (*name && Matches(mask, name + 1));
  if (*name == 0) return false;
  return (*mask == '?' || *mask == *name) && Matches(mask + 1, name + 1);
}

class TFakeFile : public TFile {
public:
  TFakeFile(std::shared_ptr<std::string> data, bool writable) : FData(std::move(data)), FWritable(writable) {}
  int64_t ReadAt(int64_t offset, void* buffer, int64_t count) override {
    if (offset < 0 || count < 0) return Fail(EINVAL);
    if (offset >= int64_t(FData->size())) return 0;
    const int64_t n = std::min<int64_t>(count, int64_t(FData->size()) - offset);
    std::memcpy(buffer, FData->data() + offset, size_t(n));
    return n;
  }
  int64_t WriteAt(int64_t offset, const void* data, int64_t count) override {
    if (!FWritable) return Fail(EBADF);
    if (offset < 0 || count < 0) return Fail(EINVAL);
    if (int64_t(FData->size()) < offset + count) FData->resize(size_t(offset + count), '\0');
    std::memcpy(FData->data() + offset, data, size_t(count));
    return count;
  }
  int64_t Size() override { return int64_t(FData->size()); }
  bool SetSize(int64_t size) override {
    if (!FWritable || size < 0) return Fail(FWritable ? EINVAL : EBADF) == 0;
    FData->resize(size_t(size), '\0');
    return true;
  }
  bool Sync() override { return true; }
  int LastError() const override { return FLastError; }

private:
  int64_t Fail(int error) {
    FLastError = error;
    return -1;
  }
  std::shared_ptr<std::string> FData;
  bool FWritable;
  int FLastError{0};
};

class TFakeFileLock : public TFileLock {
public:
  TFakeFileLock(std::shared_ptr<std::set<std::string>> held, std::string key)
      : FHeld(std::move(held)), FKey(std::move(key)) {}
  ~TFakeFileLock() override { FHeld->erase(FKey); }

private:
  std::shared_ptr<std::set<std::string>> FHeld;
  std::string FKey;
};

}  // namespace

// ---- path parsing ---------------------------------------------------------------------------

TFakeFileSystem::TFakeFileSystem() { AddDrive("C:"); }
TFakeFileSystem::~TFakeFileSystem() = default;

// "C:\a\b", "C:/a/b", "\a" (root of the current drive), "a\b" and "C:a" (relative to the
// current folder). UNC paths ("\\server\share") are not part of this file system.
int TFakeFileSystem::Parse(const std::string& path, TParsed& parsed) const {
  std::string text = path;
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.empty()) return ENOENT;
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') return ENOENT;

  TParsed current;
  current.Drive = FCurrent[0];
  for (size_t pos = 3; pos < FCurrent.size();) {
    size_t next = FCurrent.find('\\', pos);
    if (next == std::string::npos) next = FCurrent.size();
    if (next > pos) current.Parts.push_back(FCurrent.substr(pos, next - pos));
    pos = next + 1;
  }

  std::string rest;
  if (text.size() >= 2 && text[1] == ':') {
    parsed.Drive = DriveLetter(text.substr(0, 2));
    if (!parsed.Drive) return EINVAL;
    rest = text.substr(2);
    if (rest.empty() || rest[0] != '\\') {
      if (parsed.Drive == current.Drive) parsed.Parts = current.Parts;
    }
  } else if (text[0] == '\\') {
    parsed.Drive = current.Drive;
    rest = text;
  } else {
    parsed = current;
    rest = text;
  }

  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t next = rest.find('\\', pos);
    if (next == std::string::npos) next = rest.size();
    std::string part = rest.substr(pos, next - pos);
    pos = next + 1;
    if (part == "..") {
      if (!parsed.Parts.empty()) parsed.Parts.pop_back();
      continue;
    }
    // Windows drops trailing dots and blanks of a name: "Apps. " names "Apps".
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty()) continue;
    if (!ValidName(part)) return EINVAL;
    parsed.Parts.push_back(part);
  }
  return 0;
}

TFakeFileSystem::TNode* TFakeFileSystem::Find(const TParsed& parsed) const {
  auto drive = FDrives.find(parsed.Drive);
  if (drive == FDrives.end()) return nullptr;
  TNode* node = drive->second.Root.get();
  for (const std::string& part : parsed.Parts) {
    if (!node->Folder) return nullptr;
    auto child = node->Children.find(UpperCase(part));
    if (child == node->Children.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

TFakeFileSystem::TNode* TFakeFileSystem::Find(const std::string& path) const {
  TParsed parsed;
  return Parse(path, parsed) == 0 ? Find(parsed) : nullptr;
}

int TFakeFileSystem::ParentOf(const std::string& path, TNode*& parent, std::string& name,
                              bool& inReadOnlyRoot) const {
  TParsed parsed;
  if (const int error = Parse(path, parsed)) return error;
  if (!FDrives.count(parsed.Drive)) return ENOENT;
  if (parsed.Parts.empty()) return EACCES;  // the root itself
  name = parsed.Parts.back();
  parsed.Parts.pop_back();
  parent = Find(parsed);
  if (!parent) return ENOENT;
  if (!parent->Folder) return ENOTDIR;
  inReadOnlyRoot = parsed.Parts.empty() && FDrives.at(parsed.Drive).ReadOnlyRoot;
  return 0;
}

std::string TFakeFileSystem::FullPath(const std::string& path) const {
  TParsed parsed;
  if (Parse(path, parsed) != 0) return std::string();
  std::string full = std::string(1, parsed.Drive) + ":\\";
  for (size_t i = 0; i < parsed.Parts.size(); ++i) full += (i ? "\\" : "") + parsed.Parts[i];
  return full;
}

// ---- arranging ------------------------------------------------------------------------------

void TFakeFileSystem::AddDrive(const std::string& drive, bool readOnlyRoot) {
  const char letter = DriveLetter(drive);
  if (!letter) return;
  TDrive& entry = FDrives[letter];
  if (!entry.Root) {
    entry.Root = std::make_unique<TNode>();
    entry.Root->Name = std::string(1, letter) + ":";
    entry.Root->Folder = true;
    entry.Root->Attributes = faDirectory;
  }
  entry.ReadOnlyRoot = readOnlyRoot;
}

void TFakeFileSystem::SetRootReadOnly(const std::string& drive, bool readOnly) {
  auto it = FDrives.find(DriveLetter(drive));
  if (it != FDrives.end()) it->second.ReadOnlyRoot = readOnly;
}

bool TFakeFileSystem::HasDrive(const std::string& drive) const { return FDrives.count(DriveLetter(drive)) != 0; }

std::vector<std::string> TFakeFileSystem::DriveNames() const {
  std::vector<std::string> names;
  for (const auto& [letter, drive] : FDrives) names.push_back(std::string(1, letter) + ":");
  return names;
}

void TFakeFileSystem::SetCurrentFolder(const std::string& folder) {
  const std::string full = FullPath(folder);
  if (!full.empty()) FCurrent = full.back() == '\\' ? full : full + "\\";
}

void TFakeFileSystem::AddFile(const std::string& path, const std::string& bytes, uint32_t attributes) {
  const std::string full = FullPath(path);
  if (full.empty()) return;
  if (!HasDrive(full.substr(0, 2))) AddDrive(full.substr(0, 2));
  const bool rootReadOnly = FDrives[full[0]].ReadOnlyRoot;
  FDrives[full[0]].ReadOnlyRoot = false;
  ForceFolders(full.substr(0, full.rfind('\\')));
  TNode* parent = nullptr;
  std::string name;
  bool inRoot = false;
  if (ParentOf(full, parent, name, inRoot) == 0) {
    auto& slot = parent->Children[UpperCase(name)];
    if (!slot || slot->Folder) slot = std::make_unique<TNode>();
    slot->Name = name;
    slot->Data = std::make_shared<std::string>(bytes);
    slot->Attributes = attributes;
  }
  FDrives[full[0]].ReadOnlyRoot = rootReadOnly;
}

void TFakeFileSystem::SetRawAttributes(const std::string& path, uint32_t attributes) {
  if (TNode* node = Find(path)) node->Attributes = attributes;
}

void TFakeFileSystem::HoldLockElsewhere(const std::string& lockPath) { FHeldLocks->insert(UpperCase(FullPath(lockPath))); }

// ---- queries --------------------------------------------------------------------------------

bool TFakeFileSystem::FileExists(const std::string& path) const {
  const TNode* node = Find(path);
  return node && !node->Folder;
}

bool TFakeFileSystem::FolderExists(const std::string& path) const {
  const TNode* node = Find(path);
  return node && node->Folder;
}

int64_t TFakeFileSystem::FileSize(const std::string& path) const {
  const TNode* node = Find(path);
  return node && !node->Folder ? int64_t(node->Data->size()) : -1;
}

// ---- folders --------------------------------------------------------------------------------

int TFakeFileSystem::CreateFolder(const std::string& path) {
  TNode* parent = nullptr;
  std::string name;
  bool inReadOnlyRoot = false;
  if (const int error = ParentOf(path, parent, name, inReadOnlyRoot)) return error == EACCES ? EEXIST : error;
  auto& slot = parent->Children[UpperCase(name)];
  if (slot) return EEXIST;
  if (inReadOnlyRoot) {
    parent->Children.erase(UpperCase(name));
    return EACCES;
  }
  slot = std::make_unique<TNode>();
  slot->Name = name;
  slot->Folder = true;
  slot->Attributes = faDirectory;
  return 0;
}

int TFakeFileSystem::ForceFolders(const std::string& path) {
  TParsed parsed;
  if (const int error = Parse(path, parsed)) return error;
  if (!FDrives.count(parsed.Drive)) return ENOENT;
  std::string prefix = std::string(1, parsed.Drive) + ":";
  for (const std::string& part : parsed.Parts) {
    prefix += "\\" + part;
    const TNode* node = Find(prefix);
    if (node && !node->Folder) return ENOTDIR;
    if (!node)
      if (const int error = CreateFolder(prefix)) return error;
  }
  return 0;
}

int TFakeFileSystem::RemoveFolder(const std::string& path) {
  TNode* parent = nullptr;
  std::string name;
  bool inReadOnlyRoot = false;
  if (const int error = ParentOf(path, parent, name, inReadOnlyRoot)) return error;
  auto it = parent->Children.find(UpperCase(name));
  if (it == parent->Children.end()) return ENOENT;
  if (!it->second->Folder) return ENOTDIR;
  if (!it->second->Children.empty()) return ENOTEMPTY;
  parent->Children.erase(it);
  return 0;
}

// ---- files ----------------------------------------------------------------------------------

// Finds or creates the file node of path; refuses folders, read-only files and new files in
// a read-only root.
int TFakeFileSystem::CreateFile(const std::string& path, TNode*& node) {
  TNode* parent = nullptr;
  std::string name;
  bool inReadOnlyRoot = false;
  if (const int error = ParentOf(path, parent, name, inReadOnlyRoot)) return error == EACCES ? EISDIR : error;
  const std::string key = UpperCase(name);
  auto it = parent->Children.find(key);
  if (it != parent->Children.end()) {
    if (it->second->Folder) return EISDIR;
    if (it->second->Attributes & faReadOnly) return EACCES;
    node = it->second.get();
    return 0;
  }
  if (inReadOnlyRoot) return EACCES;
  auto created = std::make_unique<TNode>();
  created->Name = name;
  created->Attributes = DefaultFileAttributes;
  created->Data = std::make_shared<std::string>();
  node = created.get();
  parent->Children[key] = std::move(created);
  return 0;
}

int TFakeFileSystem::ReadAll(const std::string& path, std::string& bytes) const {
  bytes.clear();
  const TNode* node = Find(path);
  if (!node) return ENOENT;
  if (node->Folder) return EISDIR;
  bytes = *node->Data;
  return 0;
}

int TFakeFileSystem::WriteAtomic(const std::string& path, const std::string& bytes) {
  TNode* node = nullptr;
  if (const int error = CreateFile(path, node)) return error;
  // A new buffer, as a rename would give: files opened before keep the old content.
  node->Data = std::make_shared<std::string>(bytes);
  return 0;
}

int TFakeFileSystem::Append(const std::string& path, const std::string& bytes) {
  TNode* node = nullptr;
  if (const int error = CreateFile(path, node)) return error;
  node->Data->append(bytes);
  return 0;
}

int TFakeFileSystem::DeleteFile(const std::string& path) {
  TNode* parent = nullptr;
  std::string name;
  bool inReadOnlyRoot = false;
  if (const int error = ParentOf(path, parent, name, inReadOnlyRoot)) return error;
  auto it = parent->Children.find(UpperCase(name));
  if (it == parent->Children.end()) return ENOENT;
  if (it->second->Folder) return EISDIR;
  if (it->second->Attributes & faReadOnly) return EACCES;
  parent->Children.erase(it);
  return 0;
}

int TFakeFileSystem::RenameFile(const std::string& from, const std::string& to) {
  TNode* fromParent = nullptr;
  TNode* toParent = nullptr;
  std::string fromName, toName;
  bool fromRoot = false, toReadOnlyRoot = false;
  if (const int error = ParentOf(from, fromParent, fromName, fromRoot)) return error;
  auto source = fromParent->Children.find(UpperCase(fromName));
  if (source == fromParent->Children.end()) return ENOENT;
  if (const int error = ParentOf(to, toParent, toName, toReadOnlyRoot)) return error;
  const std::string fromFull = UpperCase(FullPath(from)), toFull = UpperCase(FullPath(to));
  if (fromFull == toFull) return 0;
  if (source->second->Folder && toFull.compare(0, fromFull.size() + 1, fromFull + "\\") == 0) return EINVAL;
  auto target = toParent->Children.find(UpperCase(toName));
  if (target != toParent->Children.end()) {
    if (target->second->Folder || source->second->Folder) return EEXIST;
    if (target->second->Attributes & faReadOnly) return EACCES;
  } else if (toReadOnlyRoot) {
    return EACCES;
  }
  std::unique_ptr<TNode> moving = std::move(source->second);
  fromParent->Children.erase(source);
  moving->Name = toName;
  toParent->Children[UpperCase(toName)] = std::move(moving);
  return 0;
}

int TFakeFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const TNode* source = Find(from);
  if (!source) return ENOENT;
  if (source->Folder) return EISDIR;
  const std::string bytes = *source->Data;
  const uint32_t attributes = source->Attributes;
  TNode* node = nullptr;
  if (const int error = CreateFile(to, node)) return error;
  node->Data = std::make_shared<std::string>(bytes);
  node->Attributes = attributes;  // a Windows copy keeps the attributes
  return 0;
}

std::unique_ptr<TFile> TFakeFileSystem::Open(const std::string& path, TOpenMode mode, int* error) {
  auto fail = [&](int code) -> std::unique_ptr<TFile> {
    if (error) *error = code;
    return nullptr;
  };
  TNode* node = Find(path);
  if (mode == TOpenMode::Read || mode == TOpenMode::ReadWrite) {
    if (!node) return fail(ENOENT);
    if (node->Folder) return fail(EISDIR);
    if (mode == TOpenMode::ReadWrite && (node->Attributes & faReadOnly)) return fail(EACCES);
  } else {
    if (const int code = CreateFile(path, node)) return fail(code);
    if (mode == TOpenMode::CreateAlways) node->Data->clear();
  }
  if (error) *error = 0;
  return std::make_unique<TFakeFile>(node->Data, mode != TOpenMode::Read);
}

// ---- attributes -----------------------------------------------------------------------------

uint32_t TFakeFileSystem::GetAttributes(const std::string& path) const {
  const TNode* node = Find(path);
  return node ? node->Attributes : faInvalid;
}

int TFakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  TNode* node = Find(path);
  if (!node) return ENOENT;
  if (node->Folder) {
    node->Attributes = (attributes & ~uint32_t(faNormal)) | faDirectory;
  } else {
    attributes &= ~uint32_t(faDirectory);
    node->Attributes = attributes == 0 ? uint32_t(faNormal) : attributes;
  }
  return 0;
}

// ---- listing --------------------------------------------------------------------------------

std::vector<TDirEntry> TFakeFileSystem::List(const std::string& pattern) const {
  std::vector<TDirEntry> entries;
  std::string text = pattern;
  for (char& c : text)
    if (c == '/') c = '\\';
  const size_t cut = text.find_last_of("\\:");
  const std::string folder = cut == std::string::npos ? "." : text.substr(0, cut + 1);
  std::string mask = UpperCase(cut == std::string::npos ? text : text.substr(cut + 1));
  if (mask == "*.*") mask = "*";
  const TNode* node = Find(folder);
  if (!node || !node->Folder) return entries;
  for (const auto& [key, child] : node->Children)
    if (Matches(mask.c_str(), key.c_str()))
      entries.push_back({child->Name, child->Folder ? 0 : int64_t(child->Data->size()), child->Attributes});
  return entries;
}

// ---- locks ----------------------------------------------------------------------------------

// NOTE: one process holds every fake lock, so a blocking wait for a held lock could never
// end; it fails with EDEADLK instead.
std::unique_ptr<TFileLock> TFakeFileSystem::Lock(const std::string& lockPath, bool wait, int* error) {
  auto fail = [&](int code) -> std::unique_ptr<TFileLock> {
    if (error) *error = code;
    return nullptr;
  };
  TNode* node = Find(lockPath);
  if (!node) {
    if (const int code = CreateFile(lockPath, node)) return fail(code);
  } else if (node->Folder) {
    return fail(EISDIR);
  }
  const std::string key = UpperCase(FullPath(lockPath));
  if (FHeldLocks->count(key)) return fail(wait ? EDEADLK : EWOULDBLOCK);
  FHeldLocks->insert(key);
  if (error) *error = 0;
  return std::make_unique<TFakeFileLock>(FHeldLocks, key);
}

std::unique_ptr<TFileLock> TFakeFileSystem::LockExclusive(const std::string& lockPath, int* error) {
  return Lock(lockPath, true, error);
}

std::unique_ptr<TFileLock> TFakeFileSystem::TryLockExclusive(const std::string& lockPath, int* error) {
  return Lock(lockPath, false, error);
}
