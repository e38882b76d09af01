#pragma once
#include "platform/FileSystem.h"

// An open file descriptor with positional reads and writes.
class TLinuxFile : public TFile {
public:
  explicit TLinuxFile(int fd) : FFd(fd) {}
  ~TLinuxFile() override;
  int64_t ReadAt(int64_t offset, void* buffer, int64_t count) override;
  int64_t WriteAt(int64_t offset, const void* data, int64_t count) override;
  int64_t Size() override;
  bool SetSize(int64_t size) override;
  bool Sync() override;
  int LastError() const override { return FLastError; }

private:
  int FFd{-1};
  int FLastError{0};
};
