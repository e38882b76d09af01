#include "platform/Platform.h"

#include "platform/RegistryStore.h"
#include "platform/linux/LinuxPlatform.h"

namespace {

// The platform a test (or the program) installed; the built-in Linux platform answers while
// none is installed.
std::unique_ptr<TPlatform>& InstalledPlatform() {
  static std::unique_ptr<TPlatform> installed;
  return installed;
}

}  // namespace

TPlatform::TPlatform() = default;

// NOTE: members die in reverse order, so the registry store goes before the file system it uses.
TPlatform::~TPlatform() = default;

TPlatform& TPlatform::Current() {
  if (auto& installed = InstalledPlatform()) return *installed;
  static TLinuxPlatform linuxPlatform;
  return linuxPlatform;
}

std::unique_ptr<TPlatform> TPlatform::Install(std::unique_ptr<TPlatform> platform) {
  std::unique_ptr<TPlatform> previous = std::move(InstalledPlatform());
  InstalledPlatform() = std::move(platform);
  return previous;
}

void DebugOut(const std::string& line) { TPlatform::Current().Debug().Write(line); }
