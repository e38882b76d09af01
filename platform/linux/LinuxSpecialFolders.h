#pragma once
#include "platform/SpecialFolders.h"

class TEnvironment;

// The standard folders of a Linux desktop. QVB_SYSROOT, when set, is the machine root under
// which every machine-wide folder lives (tests and packaging run in a throw-away root).
class TLinuxSpecialFolders : public TSpecialFolders {
public:
  explicit TLinuxSpecialFolders(const TEnvironment& env) : FEnv(env) {}
  std::string Folder(TFolderKind kind) const override;

  // QVB_SYSROOT without a trailing '/', empty for the real root.
  std::string MachineRoot() const;

private:
  std::string Home() const;
  std::string Desktop() const;
  const TEnvironment& FEnv;
};
