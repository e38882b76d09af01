#include "platform/fake/FakePlatformScope.h"

TFakePlatformScope::TFakePlatformScope() {
  auto fake = std::make_unique<TFakePlatform>();
  FFake = fake.get();
  FPrevious = TPlatform::Install(std::move(fake));
}

TFakePlatformScope::~TFakePlatformScope() { TPlatform::Install(std::move(FPrevious)); }
