#include "platform/Stream.h"

bool TStream::ReadAll(std::string& bytes) {
  const int64_t size = Size();
  if (size < 0 || !SetPosition(0)) return false;
  bytes.resize(size_t(size));
  int64_t done = 0;
  while (done < size) {
    const int64_t n = Read(bytes.data() + done, size - done);
    if (n < 0) return false;
    if (n == 0) break;
    done += n;
  }
  bytes.resize(size_t(done));
  return true;
}

bool TStream::WriteAll(const std::string& bytes) {
  int64_t done = 0;
  const int64_t size = int64_t(bytes.size());
  while (done < size) {
    const int64_t n = Write(bytes.data() + done, size - done);
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

bool TStream::Assign(const std::string& bytes) {
  return SetSize(0) && SetPosition(0) && WriteAll(bytes);
}
