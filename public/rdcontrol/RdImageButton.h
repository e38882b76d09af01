#pragma once
#include "public/rdcontrol/ControlTypes.h"
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdGraphicControl.h"

// The library's windowless button: a state picture drawn by nine-grid slicing, a caption, an
// optional check box (which makes it a check box) and an optional state icon. This class keeps
// the published state and the basic state machine (normal, hover, down, disabled, checked); its
// paint maps the state to a picture and draws a plain placeholder where pictures are missing.
class TRdImageButton : public TRdGraphicControl {
  QVB_PERSISTENT(TRdImageButton)

 public:
  // The published pictures, in the order of their names (PictureNames()).
  enum TPictureSlot {
    piImageNormal,
    piImageOver,
    piImageDown,
    piImageDisabled,
    piImageRange,
    piImageSelected,
    piExpandImage,
    piCheckBoxNormalImage,
    piCheckBoxUnCheckedHoverImage,
    piCheckBoxGrayedImage,
    piCheckBoxCheckedImage,
    piCheckBoxCheckedHoverImage,
    piCheckBoxCheckedGrayedImage,
    piCheckBoxHalfCheckedImage,
    piCheckBoxHalfCheckedHoverImage,
    piCheckBoxHalfCheckedGrayedImage,
    piUpNormalIcon,
    piUpHoverIcon,
    piUpDownIcon,
    piUpDisableIcon,
    piUpSelectedIcon,
    piDnNormalIcon,
    piDnHoverIcon,
    piDnDownIcon,
    piDnDisableIcon,
    piDnSelectedIcon,
    piCount
  };
  static const char* const* PictureNames();
  enum TButtonState { bsNormal, bsDown, bsDisabled };
  enum TAniEffect { ibeNone, ibeSingle, ibeDouble };

  explicit TRdImageButton(TComponent* owner = nullptr);

  TPicture& Picture(TPictureSlot slot) { return FPictures[slot]; }
  TPicture& ImageNormal() { return FPictures[piImageNormal]; }
  TDesignRect& ImageOption() { return FImageOption; }

  bool Checked() const { return FCheckState == cbChecked; }
  void SetChecked(bool checked);
  TCheckBoxState CheckState() const { return FCheckState; }
  void SetCheckState(TCheckBoxState state);
  bool ShowCheckBox() const { return FShowCheckBox; }
  void SetShowCheckBox(bool on);
  void SetCaption(const std::string& text) override;
  TButtonState ButtonState() const { return FButtonState; }
  bool FoundTextEllipsis() const { return FFoundTextEllipsis; }
  bool FoundTextWordBreak() const { return FFoundTextWordBreak; }
  int FoundTextDrawLine() const { return FFoundTextDrawLine; }

  void Paint(TPainter& painter) override;
  bool HitTestAt(TPoint local) const override;

  TNotifyEvent OnCheckedChanged;
  TNotifyEvent OnCaptionChanged;
  TNotifyEvent CheckBoxBeforeClick;
  TNotifyEvent CheckBoxOnClick;
  TNotifyEvent IconOnClick;
  TNotifyEvent OnPaintImage;
  TNotifyEvent OnPaintEnd;

  // Published values that only the full drawing uses.
  bool FExpand{false};
  TAlignment FButtonCaptionAlignment{taCenter};
  int FTextOffset{20};
  int FTextTopOffset{0};
  int FTextLeftMargin{0}, FTextRightMargin{0}, FTextTopMargin{0}, FTextBottomMargin{0};
  TVerticalAlignment FTextAlignY{taVerticalCenter};
  bool FWordWrap{false};
  TAlignment FTextWarpAlign{taLeftJustify};
  int FTextMaxLine{0};
  bool FEllipsisByHeight{true};
  bool FShowAccelChar{false};
  TColor FFontHoverColor{clDefault}, FFontDownColor{clDefault}, FFontCheckedColor{clDefault},
      FFontSelectedColor{clDefault}, FFontDisabledColor{cl3DDkShadow};
  bool FFontAntialiased{false};
  bool FAutoSize{false};
  bool FAutoSizeByText{false};
  bool FAutoShowHint{false};
  bool FCheckBoxFullClick{true};
  TAlignment FCheckBoxAlignX{taLeftJustify};
  bool FCheckBoxAlignXByText{false};
  TVerticalAlignment FCheckBoxAlignY{taVerticalCenter};
  bool FCheckBoxAlignYByFont{false};
  TTextLayoutPos FCheckBoxAlignYByFontLine{tlBottom};
  int FCheckBoxOffset{10};
  int FCheckBoxOffsetY{0};
  int FCheckBoxCursor{0};
  std::string FCheckBoxHint;
  bool FIconVisible{true};
  TAlignment FIconAlign{taRightJustify};
  bool FIconAlignByText{false};
  TVerticalAlignment FIconAlignY{taVerticalCenter};
  bool FIconAlignYByText{false};
  int FIconOffset{10};
  int FIconOffsetY{0};
  int FIconCursor{0};
  std::string FIconHint;
  bool FIconFullClick{false};
  bool FIconLockBySelected{false};
  TAniEffect FHoverEffect{ibeNone};

 protected:
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void EnabledChanged() override;
  // The background picture for the current state; null when none applies.
  const TPicture* StatePicture() const;
  TColor CaptionColor() const;

 private:
  TPicture FPictures[piCount];
  TDesignRect FImageOption;
  TCheckBoxState FCheckState{cbUnchecked};
  bool FShowCheckBox{false};
  TButtonState FButtonState{bsNormal};
  TButtonState FSavedState{bsNormal};
  bool FFoundTextEllipsis{false};
  bool FFoundTextWordBreak{false};
  int FFoundTextDrawLine{0};
};
