#include "public/rdcontrol/ControlTypes.h"

const TEnumInfo& AlignmentNames() {
  static const TEnumInfo n{
      "TAlignment",
      {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}};
  return n;
}
const TEnumInfo& VerticalAlignmentNames() {
  static const TEnumInfo n{
      "TVerticalAlignment",
      {{"taAlignTop", taAlignTop}, {"taAlignBottom", taAlignBottom}, {"taVerticalCenter", taVerticalCenter}}};
  return n;
}
const TEnumInfo& TextLayoutNames() {
  static const TEnumInfo n{"TTextLayout", {{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}}};
  return n;
}
const TEnumInfo& CheckBoxStateNames() {
  static const TEnumInfo n{"TCheckBoxState",
                           {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}}};
  return n;
}
const TEnumInfo& EllipsisPositionNames() {
  static const TEnumInfo n{"TEllipsisPosition",
                           {{"epNone", epNone},
                            {"epPathEllipsis", epPathEllipsis},
                            {"epEndEllipsis", epEndEllipsis},
                            {"epWordEllipsis", epWordEllipsis}}};
  return n;
}
const TEnumInfo& BevelCutNames() {
  static const TEnumInfo n{
      "TBevelCut",
      {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}};
  return n;
}
const TEnumInfo& SmoothFilterNames() {
  static const TEnumInfo n{
      "TPngSmoothFilter",
      {{"psfDefault", psfDefault}, {"psfFastSmooth", psfFastSmooth}, {"psfSmooth", psfSmooth}}};
  return n;
}
const TEnumInfo& ScrollBarKindNames() {
  static const TEnumInfo n{"TScrollBarKind", {{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}};
  return n;
}
const TEnumInfo& ComboBoxStyleNames() {
  static const TEnumInfo n{"TComboBoxStyle",
                           {{"csDropDown", csDropDown},
                            {"csSimple", csSimple},
                            {"csDropDownList", csDropDownList},
                            {"csOwnerDrawFixed", csOwnerDrawFixed},
                            {"csOwnerDrawVariable", csOwnerDrawVariable}}};
  return n;
}
const TEnumInfo& EditCharCaseNames() {
  static const TEnumInfo n{
      "TEditCharCase", {{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}}};
  return n;
}
