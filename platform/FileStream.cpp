#include "platform/FileStream.h"

#include <cerrno>

#include "platform/Platform.h"

std::unique_ptr<TFileStream> TFileStream::Open(const std::string& path, TOpenMode mode, int* error) {
  int code = 0;
  std::unique_ptr<TFile> file = TPlatform::Current().Files().Open(path, mode, &code);
  if (error) *error = file ? 0 : (code ? code : EIO);
  if (!file) return nullptr;
  return std::make_unique<TFileStream>(std::move(file));
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  const int64_t n = FFile->ReadAt(FPosition, buffer, count);
  if (n < 0) {
    FError = FFile->LastError();
    return -1;
  }
  FPosition += n;
  return n;
}

int64_t TFileStream::Write(const void* data, int64_t count) {
  const int64_t n = FFile->WriteAt(FPosition, data, count);
  if (n < 0) {
    FError = FFile->LastError();
    return -1;
  }
  FPosition += n;
  return n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = FPosition;
  if (origin == TSeekOrigin::End) {
    base = FFile->Size();
    if (base < 0) {
      FError = FFile->LastError();
      return -1;
    }
  }
  if (base + offset < 0) {
    FError = EINVAL;
    return -1;
  }
  FPosition = base + offset;
  return FPosition;
}

int64_t TFileStream::Size() {
  const int64_t size = FFile->Size();
  if (size < 0) FError = FFile->LastError();
  return size;
}

bool TFileStream::SetSize(int64_t size) {
  if (!FFile->SetSize(size)) {
    FError = FFile->LastError();
    return false;
  }
  return true;
}

int TFileStream::LastError() const {
  return FError;
}
