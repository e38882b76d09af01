#pragma once
#include <map>

#include "platform/SpecialFolders.h"

// Windows folders of a 64-bit system as a 32-bit program sees them, for the user
// DefaultUser; each can be set, and set empty to make the platform "unable to name" it.
class TFakeSpecialFolders : public TSpecialFolders {
public:
  static constexpr const char* DefaultUser = "TestUser";
  TFakeSpecialFolders();
  std::string Folder(TFolderKind kind) const override;
  void SetFolder(TFolderKind kind, const std::string& path);

private:
  std::map<TFolderKind, std::string> FFolders;
};
