#pragma once
#include "public/rdcontrol/PropertyInfo.h"
#include "public/rdcontrol/TextLayout.h"

// The platform enumerations that the control classes publish, with their names for the
// property tables. (TAlignment and TVerticalAlignment come from the text layout.)
enum TTextLayoutPos { tlTop, tlCenter, tlBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TPngSmoothFilter { psfDefault, psfFastSmooth, psfSmooth };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

const TEnumInfo& AlignmentNames();
const TEnumInfo& VerticalAlignmentNames();
const TEnumInfo& TextLayoutNames();
const TEnumInfo& CheckBoxStateNames();
const TEnumInfo& EllipsisPositionNames();
const TEnumInfo& BevelCutNames();
const TEnumInfo& SmoothFilterNames();
const TEnumInfo& ScrollBarKindNames();
const TEnumInfo& ComboBoxStyleNames();
const TEnumInfo& EditCharCaseNames();
