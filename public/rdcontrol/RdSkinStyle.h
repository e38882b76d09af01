#pragma once
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/StringList.h"

// The skin style component: which skin packages a window uses. This class keeps the published
// settings; registering the packages is the skin library's work.
class TRdSkinStyle : public TComponent {
  QVB_PERSISTENT(TRdSkinStyle)

 public:
  explicit TRdSkinStyle(TComponent* owner = nullptr);

  TStringList& PublicRccFiles() { return FPublicRccFiles; }

  std::string FSkinRccFile;
  std::string FRuntimePath{"skin"};
  bool FMainSkin{false};
  std::string FDesigntimePath;
  bool FCurOwnerFont{false};

 private:
  TStringList FPublicRccFiles;
};
