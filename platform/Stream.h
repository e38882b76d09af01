#pragma once
#include <cstdint>
#include <string>

enum class TSeekOrigin { Begin, Current, End };

// A byte stream with a position (memory buffers, files). Methods return -1 / false on failure
// and leave the cause (an errno value) in LastError(); nothing throws.
class TStream {
 public:
  virtual ~TStream() = default;

  // Bytes read (0 at the end), or -1.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Bytes written (all of them unless the device is full), or -1.
  virtual int64_t Write(const void* data, int64_t count) = 0;
  // The new position, or -1. A position past the end is allowed; a write there fills the gap.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() = 0;
  virtual bool SetSize(int64_t size) = 0;
  virtual int LastError() const { return 0; }

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  bool SetPosition(int64_t position) { return Seek(position, TSeekOrigin::Begin) >= 0; }

  // The whole content from the start, whatever the position; false on a read error.
  bool ReadAll(std::string& bytes);
  // Writes all of bytes at the position; false unless every byte was written.
  bool WriteAll(const std::string& bytes);
  // Replaces the whole content with bytes and leaves the position at the end.
  bool Assign(const std::string& bytes);
};
