#pragma once
#include <map>
#include <set>

#include "platform/FileSystem.h"

// An in-memory file system with Windows path rules: drive letters ("C:"), '\' as separator
// (also '/'), names compared without regard to letter case, trailing dots and blanks of a
// name ignored, the characters <>:"|?* refused in names (EINVAL). Files are buffers; a file
// with the read-only attribute refuses writes and deletion (EACCES); a drive can be made
// read-only at its root, so that nothing can be created directly in that root (EACCES), as
// for a user without administrator rights on a system drive. Starts with an empty drive C:.
class TFakeFileSystem : public TFileSystem {
public:
  TFakeFileSystem();
  ~TFakeFileSystem() override;

  // ---- arranging a test
  void AddDrive(const std::string& drive, bool readOnlyRoot = false);  // "D:", "D:\" or "d"
  void SetRootReadOnly(const std::string& drive, bool readOnly);
  bool HasDrive(const std::string& drive) const;
  std::vector<std::string> DriveNames() const;  // "C:", "D:", ... in letter order
  void SetCurrentFolder(const std::string& folder);
  // Writes a file with all missing parent folders, past every read-only rule.
  void AddFile(const std::string& path, const std::string& bytes, uint32_t attributes = faArchive);
  // Stores attributes exactly as given (SetAttributes keeps a folder's directory bit).
  void SetRawAttributes(const std::string& path, uint32_t attributes);
  // Locks held by "another process": TryLockExclusive of that path fails.
  void HoldLockElsewhere(const std::string& lockPath);

  // ---- TFileSystem
  char Separator() const override { return '\\'; }
  bool CaseSensitive() const override { return false; }
  std::string CurrentFolder() const override { return FCurrent; }

  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  int CreateFolder(const std::string& path) override;
  int ForceFolders(const std::string& path) override;
  int RemoveFolder(const std::string& path) override;

  int ReadAll(const std::string& path, std::string& bytes) const override;
  int WriteAtomic(const std::string& path, const std::string& bytes) override;
  int Append(const std::string& path, const std::string& bytes) override;
  int DeleteFile(const std::string& path) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  int CopyFile(const std::string& from, const std::string& to) override;
  std::unique_ptr<TFile> Open(const std::string& path, TOpenMode mode, int* error = nullptr) override;

  int64_t FileSize(const std::string& path) const override;
  uint32_t GetAttributes(const std::string& path) const override;
  int SetAttributes(const std::string& path, uint32_t attributes) override;
  std::vector<TDirEntry> List(const std::string& pattern) const override;
  std::unique_ptr<TFileLock> LockExclusive(const std::string& lockPath, int* error = nullptr) override;
  std::unique_ptr<TFileLock> TryLockExclusive(const std::string& lockPath, int* error = nullptr) override;

  // The normal form of a path ("C:\Dir\Name", letter case as given), empty when invalid.
  std::string FullPath(const std::string& path) const;

private:
  struct TNode {
    std::string Name;
    bool Folder{false};
    uint32_t Attributes{0};
    std::shared_ptr<std::string> Data;
    std::map<std::string, std::unique_ptr<TNode>> Children;  // by upper-case name
  };
  struct TDrive {
    std::unique_ptr<TNode> Root;
    bool ReadOnlyRoot{false};
  };
  struct TParsed {
    char Drive{0};
    std::vector<std::string> Parts;
  };

  int Parse(const std::string& path, TParsed& parsed) const;
  TNode* Find(const TParsed& parsed) const;
  TNode* Find(const std::string& path) const;
  // The folder that would hold path, with the name to use; error 0 or an errno.
  int ParentOf(const std::string& path, TNode*& parent, std::string& name, bool& inReadOnlyRoot) const;
  int CreateFile(const std::string& path, TNode*& node);
  std::unique_ptr<TFileLock> Lock(const std::string& lockPath, bool wait, int* error);

  std::map<char, TDrive> FDrives;
  std::string FCurrent{"C:\\"};
  std::shared_ptr<std::set<std::string>> FHeldLocks{std::make_shared<std::set<std::string>>()};
};
