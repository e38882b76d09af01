#pragma once
#include <memory>

#include "platform/fake/FakePlatform.h"

// Installs a fresh fake platform as the current one for its lifetime and puts the previous
// one back afterwards:
//   TFakePlatformScope fake;
//   fake->FakeDrives().SetFreeSpace("C:", 100 << 20);
class TFakePlatformScope {
public:
  TFakePlatformScope();
  ~TFakePlatformScope();
  TFakePlatformScope(const TFakePlatformScope&) = delete;
  TFakePlatformScope& operator=(const TFakePlatformScope&) = delete;

  TFakePlatform& Fake() const { return *FFake; }
  TFakePlatform* operator->() const { return FFake; }

private:
  TFakePlatform* FFake{nullptr};  // owned by the platform registry while installed
  std::unique_ptr<TPlatform> FPrevious;
};
