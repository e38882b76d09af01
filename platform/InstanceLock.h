#pragma once
#include <memory>
#include <string>

// A held named lock; the kernel releases it when the process dies.
class TNamedLock {
public:
  virtual ~TNamedLock() = default;
};

class TInstanceLocks {
public:
  virtual ~TInstanceLocks() = default;
  // Null when another process already holds the lock of that name.
  virtual std::unique_ptr<TNamedLock> Acquire(const std::string& name) = 0;
};
