#include "platform/MemoryStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count < 0) return -1;
  const int64_t size = Size();
  if (FPosition >= size) return 0;
  const int64_t n = std::min(count, size - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* data, int64_t count) {
  if (count < 0) return -1;
  if (count == 0) return 0;
  const int64_t end = FPosition + count;
  if (end > Size()) FData.resize(size_t(end));
  std::memcpy(FData.data() + FPosition, data, size_t(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == TSeekOrigin::Begin ? 0 : origin == TSeekOrigin::Current ? FPosition : Size();
  const int64_t position = base + offset;
  if (position < 0) return -1;
  FPosition = position;
  return FPosition;
}

bool TMemoryStream::SetSize(int64_t size) {
  if (size < 0) return false;
  FData.resize(size_t(size));
  if (FPosition > size) FPosition = size;
  return true;
}

void TMemoryStream::SetBytes(std::string bytes) {
  FData = std::move(bytes);
  FPosition = 0;
}
