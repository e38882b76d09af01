#pragma once
#include <string>

#include "platform/Stream.h"

// A stream over a byte buffer that it owns. Bytes() gives the content directly, so a caller
// that needs the whole buffer (encryption, parsing) does not copy it through Read.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : FData(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* data, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return int64_t(FData.size()); }
  bool SetSize(int64_t size) override;

  const std::string& Bytes() const { return FData; }
  std::string& Bytes() { return FData; }  // the position is clamped at the next operation
  // Replaces the content; the position goes to the start.
  void SetBytes(std::string bytes);
  void Clear() { SetBytes({}); }

 private:
  std::string FData;
  int64_t FPosition{0};
};
