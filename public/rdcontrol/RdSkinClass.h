#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/Persistent.h"
#include "public/rdcontrol/RdSkinClassDraw.h"
#include "public/rdcontrol/StringList.h"

// A control's skin selector (its published AllSkin): which section of the skin definition
// applies to the control. The values are kept here; applying a skin section is the skin
// library's work.
class TRdSkinClass : public TPersistent {
  QVB_PERSISTENT(TRdSkinClass)

 public:
  explicit TRdSkinClass(TPersistent* owner = nullptr) : FOwner(owner) {}

  const std::string& SkinClass() const { return FSkinClass; }
  void SetSkinClass(const std::string& name) { FSkinClass = name; }
  TStringList& IgnoreValues() { return FIgnoreValues; }
  TStringList& SkinValues() { return FSkinValues; }
  TRdSkinClassDraw& Draw() { return FDraw; }
  TPersistent* GetOwner() const override { return FOwner; }

  bool FClearOwnerPic{false};
  bool FForceUseSkinPic{false};

 private:
  TPersistent* FOwner;
  std::string FSkinClass;
  TStringList FIgnoreValues;
  TStringList FSkinValues;
  TRdSkinClassDraw FDraw;
};
