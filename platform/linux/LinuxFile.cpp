#include "platform/linux/LinuxFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

TLinuxFile::~TLinuxFile() {
  if (FFd >= 0) ::close(FFd);
}

int64_t TLinuxFile::ReadAt(int64_t offset, void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(FFd, static_cast<char*>(buffer) + done, size_t(count - done), offset + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      FLastError = errno;
      return -1;
    }
    if (n == 0) break;  // end of file
    done += n;
  }
  return done;
}

int64_t TLinuxFile::WriteAt(int64_t offset, const void* data, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::pwrite(FFd, static_cast<const char*>(data) + done, size_t(count - done), offset + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      FLastError = errno;
      return -1;
    }
    done += n;
  }
  return done;
}

int64_t TLinuxFile::Size() {
  struct stat st{};
  if (::fstat(FFd, &st) != 0) {
    FLastError = errno;
    return -1;
  }
  return st.st_size;
}

bool TLinuxFile::SetSize(int64_t size) {
  if (::ftruncate(FFd, size) != 0) {
    FLastError = errno;
    return false;
  }
  return true;
}

bool TLinuxFile::Sync() {
  if (::fsync(FFd) != 0) {
    FLastError = errno;
    return false;
  }
  return true;
}
