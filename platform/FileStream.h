#pragma once
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Stream.h"

// A stream over an open TFile (from TFileSystem::Open); reads and writes go to the file at the
// stream's position. The stream owns the file and closes it when destroyed.
class TFileStream : public TStream {
 public:
  explicit TFileStream(std::unique_ptr<TFile> file) : FFile(std::move(file)) {}
  // Opens path through the current platform's file system; null on failure (cause in *error).
  static std::unique_ptr<TFileStream> Open(const std::string& path, TOpenMode mode, int* error = nullptr);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* data, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  bool SetSize(int64_t size) override;
  int LastError() const override;

  bool Sync() { return FFile->Sync(); }
  TFile& File() { return *FFile; }

 private:
  std::unique_ptr<TFile> FFile;
  int64_t FPosition{0};
  int FError{0};
};
