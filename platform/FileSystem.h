#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Windows file attribute bits; the core's rules speak in these on every platform.
enum : uint32_t {
  faReadOnly = 0x1,
  faHidden = 0x2,
  faSystem = 0x4,
  faDirectory = 0x10,
  faArchive = 0x20,
  faNormal = 0x80,
  faTemporary = 0x100,
  faOffline = 0x1000,
  faNotContentIndexed = 0x2000,
};
constexpr uint32_t faInvalid = 0xFFFFFFFF;

// An open file with positional reads and writes (the download engine writes each range at its
// own offset). Methods return -1 / false on failure and leave the cause in LastError().
class TFile {
public:
  virtual ~TFile() = default;
  virtual int64_t ReadAt(int64_t offset, void* buffer, int64_t count) = 0;
  virtual int64_t WriteAt(int64_t offset, const void* data, int64_t count) = 0;
  virtual int64_t Size() = 0;
  virtual bool SetSize(int64_t size) = 0;
  virtual bool Sync() = 0;  // data reaches the disk
  virtual int LastError() const = 0;
};

struct TDirEntry {
  std::string Name;
  int64_t Size{0};
  uint32_t Attributes{0};
};

// An exclusive lock on a lock file, held until the object is destroyed (or the process dies).
class TFileLock {
public:
  virtual ~TFileLock() = default;
};

enum class TOpenMode {
  Read,          // existing file, read only
  ReadWrite,     // existing file, read and write
  OpenOrCreate,  // read and write, created when missing
  CreateAlways,  // read and write, truncated or created
};

// Files and folders. Paths use the platform's style: Separator() ('/' on Linux, '\' for the
// Windows-style fake, which also accepts '/'), and letter case counts only where
// CaseSensitive(). Error results are errno values (0 = success).
class TFileSystem {
public:
  virtual ~TFileSystem() = default;

  virtual char Separator() const = 0;
  virtual bool CaseSensitive() const = 0;
  virtual std::string CurrentFolder() const = 0;  // with trailing separator

  virtual bool FileExists(const std::string& path) const = 0;    // a file, not a folder
  virtual bool FolderExists(const std::string& path) const = 0;  // a folder
  virtual int CreateFolder(const std::string& path) = 0;         // one level
  virtual int ForceFolders(const std::string& path) = 0;         // with all missing parents
  virtual int RemoveFolder(const std::string& path) = 0;         // an empty folder

  virtual int ReadAll(const std::string& path, std::string& bytes) const = 0;
  // Replaces the file as a whole: a temporary file beside it, synced, renamed into place.
  virtual int WriteAtomic(const std::string& path, const std::string& bytes) = 0;
  virtual int Append(const std::string& path, const std::string& bytes) = 0;
  virtual int DeleteFile(const std::string& path) = 0;
  virtual int RenameFile(const std::string& from, const std::string& to) = 0;
  virtual int CopyFile(const std::string& from, const std::string& to) = 0;
  virtual std::unique_ptr<TFile> Open(const std::string& path, TOpenMode mode, int* error = nullptr) = 0;

  virtual int64_t FileSize(const std::string& path) const = 0;  // -1 when missing
  virtual uint32_t GetAttributes(const std::string& path) const = 0;  // faInvalid when missing
  virtual int SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // pattern: folder + name with '*' and '?' wildcards; '.' and '..' are not listed.
  virtual std::vector<TDirEntry> List(const std::string& pattern) const = 0;
  // Blocks until the exclusive lock on lockPath is held (creating the file when needed).
  virtual std::unique_ptr<TFileLock> LockExclusive(const std::string& lockPath, int* error = nullptr) = 0;
  // Non-blocking: null when another process holds it.
  virtual std::unique_ptr<TFileLock> TryLockExclusive(const std::string& lockPath, int* error = nullptr) = 0;
  // POSIX only: the execute bit for a file about to be started; no-op elsewhere.
  virtual int MakeExecutable(const std::string& path) { return 0; }
};
