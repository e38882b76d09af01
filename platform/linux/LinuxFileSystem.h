#pragma once
#include <sys/types.h>

#include "platform/FileSystem.h"

// Files and folders on a POSIX file system. The Windows attribute bits map as follows:
// read-only is the absence of every write permission bit, the directory bit comes from the
// file type, and the other bits (hidden, system, archive, ...) live in the extended attribute
// "user.qvb.attributes" where the file system keeps user attributes; elsewhere they are
// simply not kept. A file without that attribute reports archive, as a new Windows file does.
class TLinuxFileSystem : public TFileSystem {
public:
  static constexpr const char* AttributeName = "user.qvb.attributes";

  char Separator() const override { return '/'; }
  bool CaseSensitive() const override { return true; }
  std::string CurrentFolder() const override;

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
  int MakeExecutable(const std::string& path) override;

  // Running as root for an invoking user: what is created in that user's home is handed
  // to the user, so that the user can still change it when running without root.
  void SetUserFilesOwner(uid_t uid, gid_t gid, const std::string& home);

private:
  void Adopt(const std::string& path) const;
  template <class TWriter>
  int Replace(const std::string& path, TWriter&& writeTo);
  std::unique_ptr<TFileLock> Lock(const std::string& lockPath, bool wait, int* error);

  bool FHasUserOwner{false};
  uid_t FUserUid{0};
  gid_t FUserGid{0};
  std::string FUserHome;
};
