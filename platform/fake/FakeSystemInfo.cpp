#include "platform/fake/FakeSystemInfo.h"

bool TFakeSystemInfo::NewGuid(std::array<uint8_t, 16>& guid) const {
  if (FGuidFails) return false;
  const uint32_t n = ++FGuidCount;
  guid.fill(0);
  guid[6] = 0x40;
  guid[8] = 0x80;
  guid[12] = uint8_t(n >> 24);
  guid[13] = uint8_t(n >> 16);
  guid[14] = uint8_t(n >> 8);
  guid[15] = uint8_t(n);
  return true;
}
