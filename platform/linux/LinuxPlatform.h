#pragma once
#include "platform/Platform.h"

class TLinuxFileSystem;
class TLinuxSpecialFolders;

// The platform of a Linux desktop. Folders and hive files are fixed when it is made, from the
// environment of that moment (QVB_SYSROOT, HOME, XDG_*, TMPDIR).
class TLinuxPlatform : public TPlatform {
public:
  TLinuxPlatform();
  ~TLinuxPlatform() override;
};
