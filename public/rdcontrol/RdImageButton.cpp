#include "public/rdcontrol/RdImageButton.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

namespace {
const TEnumInfo AniEffectNames{"TAniEffect", {{"ibeNone", 0}, {"ibeSingle", 1}, {"ibeDouble", 2}}};
}

const char* const* TRdImageButton::PictureNames() {
  static const char* const names[piCount] = {"ImageNormal",
                                             "ImageOver",
                                             "ImageDown",
                                             "ImageDisabled",
                                             "ImageRange",
                                             "ImageSelected",
                                             "ExpandImage",
                                             "CheckBoxNormalImage",
                                             "CheckBoxUnCheckedHoverImage",
                                             "CheckBoxGrayedImage",
                                             "CheckBoxCheckedImage",
                                             "CheckBoxCheckedHoverImage",
                                             "CheckBoxCheckedGrayedImage",
                                             "CheckBoxHalfCheckedImage",
                                             "CheckBoxHalfCheckedHoverImage",
                                             "CheckBoxHalfCheckedGrayedImage",
                                             "UpNormalIcon",
                                             "UpHoverIcon",
                                             "UpDownIcon",
                                             "UpDisableIcon",
                                             "UpSelectedIcon",
                                             "DnNormalIcon",
                                             "DnHoverIcon",
                                             "DnDownIcon",
                                             "DnDisableIcon",
                                             "DnSelectedIcon"};
  return names;
}

const TClassInfo& TRdImageButton::StaticClass() {
  using C = TRdImageButton;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdImageButton", &TRdGraphicControl::StaticClass());
    t.Creatable();
    for (int i = 0; i < piCount; ++i)
      t.Object(PictureNames()[i], [i](C& c) -> TPicture& { return c.Picture(TPictureSlot(i)); });
    t.Object("ImageOption", &C::ImageOption)
        .BoolField("Expand", &C::FExpand, false)
        .String("Caption", &C::Caption, &C::SetCaption)
        .EnumField("ButtonCaptionAlignment", AlignmentNames(), &C::FButtonCaptionAlignment, taCenter)
        .IntField("TextOffset", &C::FTextOffset, 20)
        .IntField("TextTopOffset", &C::FTextTopOffset, 0)
        .IntField("TextLeftMargin", &C::FTextLeftMargin, 0)
        .IntField("TextRightMargin", &C::FTextRightMargin, 0)
        .IntField("TextTopMargin", &C::FTextTopMargin, 0)
        .IntField("TextBottomMargin", &C::FTextBottomMargin, 0)
        .EnumField("TextAlignY", VerticalAlignmentNames(), &C::FTextAlignY, taVerticalCenter)
        .BoolField("WordWrap", &C::FWordWrap, false)
        .EnumField("TextWarpAlign", AlignmentNames(), &C::FTextWarpAlign, taLeftJustify)
        .IntField("TextMaxLine", &C::FTextMaxLine, 0)
        .BoolField("EllipsisByHeight", &C::FEllipsisByHeight, true)
        .BoolField("ShowAccelChar", &C::FShowAccelChar, false)
        .ColorField("FontHoverColor", &C::FFontHoverColor, clDefault)
        .ColorField("FontDownColor", &C::FFontDownColor, clDefault)
        .ColorField("FontCheckedColor", &C::FFontCheckedColor, clDefault)
        .ColorField("FontSelectedColor", &C::FFontSelectedColor, clDefault)
        .ColorField("FontDisabledColor", &C::FFontDisabledColor, cl3DDkShadow)
        .BoolField("FontAntialiased", &C::FFontAntialiased, false)
        .BoolField("AutoSize", &C::FAutoSize, false)
        .BoolField("AutoSizeByText", &C::FAutoSizeByText, false)
        .BoolField("AutoShowHint", &C::FAutoShowHint, false)
        .Boolean("ShowCheckBox", &C::ShowCheckBox, &C::SetShowCheckBox, false)
        .Boolean("Checked", &C::Checked, &C::SetChecked, false)
        .Enum("CheckState", CheckBoxStateNames(), &C::CheckState, &C::SetCheckState, cbUnchecked)
        .NotStored()
        .BoolField("CheckBoxFullClick", &C::FCheckBoxFullClick, true)
        .EnumField("CheckBoxAlignX", AlignmentNames(), &C::FCheckBoxAlignX, taLeftJustify)
        .BoolField("CheckBoxAlignXByText", &C::FCheckBoxAlignXByText, false)
        .EnumField("CheckBoxAlignY", VerticalAlignmentNames(), &C::FCheckBoxAlignY, taVerticalCenter)
        .BoolField("CheckBoxAlignYByFont", &C::FCheckBoxAlignYByFont, false)
        .EnumField("CheckBoxAlignYByFontLine", TextLayoutNames(), &C::FCheckBoxAlignYByFontLine, tlBottom)
        .IntField("CheckBoxOffset", &C::FCheckBoxOffset, 10)
        .IntField("CheckBoxOffsetY", &C::FCheckBoxOffsetY, 0)
        .EnumField("CheckBoxCursor", CursorNames(), &C::FCheckBoxCursor, 0)
        .StringField("CheckBoxHint", &C::FCheckBoxHint)
        .BoolField("IconVisible", &C::FIconVisible, true)
        .EnumField("IconAlign", AlignmentNames(), &C::FIconAlign, taRightJustify)
        .BoolField("IconAlignByText", &C::FIconAlignByText, false)
        .EnumField("IconAlignY", VerticalAlignmentNames(), &C::FIconAlignY, taVerticalCenter)
        .BoolField("IconAlignYByText", &C::FIconAlignYByText, false)
        .IntField("IconOffset", &C::FIconOffset, 10)
        .IntField("IconOffsetY", &C::FIconOffsetY, 0)
        .EnumField("IconCursor", CursorNames(), &C::FIconCursor, 0)
        .StringField("IconHint", &C::FIconHint)
        .BoolField("IconFullClick", &C::FIconFullClick, false)
        .BoolField("IconLockBySelected", &C::FIconLockBySelected, false)
        .EnumField("HoverEffect", AniEffectNames, &C::FHoverEffect, ibeNone)
        .ReadOnlyBool("FoundTextEllipsis", &C::FoundTextEllipsis)
        .ReadOnlyBool("FoundTextWordBreak", &C::FoundTextWordBreak)
        .Integer("FoundTextDrawLine", &C::FoundTextDrawLine, nullptr)
        // The same event as OnMouseLeave under a second name; a description may use either.
        .Event("OnMouseExit")
        .Event("OnCheckedChanged")
        .Event("OnCaptionChanged")
        .Event("OnPaintImage")
        .Event("OnPaintEnd")
        .Event("OnShowHint")
        .Event("IconOnClick")
        .Event("CheckBoxBeforeClick")
        .Event("CheckBoxOnClick");
    return t.Build();
  }();
  return info;
}

TRdImageButton::TRdImageButton(TComponent* owner) : TRdGraphicControl(owner) {
  InitBounds(0, 0, 75, 25);
  for (TPicture& p : FPictures) {
    p.SetOwner(this);
    p.OnChange = [this] { Invalidate(); };
  }
  FImageOption.SetOwner(this);
  FImageOption.OnChange = [this] { Invalidate(); };
}

void TRdImageButton::SetChecked(bool checked) {
  SetCheckState(checked ? cbChecked : cbUnchecked);
}

void TRdImageButton::SetCheckState(TCheckBoxState state) {
  if (FCheckState == state) return;
  FCheckState = state;
  if (OnCheckedChanged && !IsLoading()) OnCheckedChanged(this);
  if (FShowCheckBox) Invalidate();
}

void TRdImageButton::SetShowCheckBox(bool on) {
  FShowCheckBox = on;
  Invalidate();
}

void TRdImageButton::SetCaption(const std::string& text) {
  if (text == Caption()) return;
  TRdGraphicControl::SetCaption(text);
  if (OnCaptionChanged && !IsLoading()) OnCaptionChanged(this);
}

bool TRdImageButton::HitTestAt(TPoint local) const {
  if (!TRdGraphicControl::HitTestAt(local)) return false;
  // A hit mask lets the mouse in only where it has a visible, non-black pixel.
  const TBitmap& mask = FPictures[piImageRange].Bitmap();
  if (mask.Empty()) return true;
  if (local.X >= mask.Width() || local.Y >= mask.Height()) return false;
  TPixel p = mask.Pixel(local.X, local.Y);
  return PixelA(p) != 0 && (PixelR(p) | PixelG(p) | PixelB(p)) != 0;
}

void TRdImageButton::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  if (button == mbLeft && EffectivelyEnabled()) {
    if (FShowCheckBox && FCheckBoxFullClick) {
      if (CheckBoxBeforeClick) CheckBoxBeforeClick(this);
      // The toggle of a click does not fire OnCheckedChanged.
      FCheckState = FCheckState == cbChecked ? cbUnchecked : cbChecked;
      if (CheckBoxOnClick) CheckBoxOnClick(this);
    }
    FButtonState = bsDown;
    Invalidate();
  }
  TRdGraphicControl::MouseDown(button, shift, x, y);
}

void TRdImageButton::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  if (button == mbLeft && FButtonState == bsDown) {
    FButtonState = bsNormal;
    Invalidate();
  }
  TRdGraphicControl::MouseUp(button, shift, x, y);
}

void TRdImageButton::MouseEnter() {
  Invalidate();
  TRdGraphicControl::MouseEnter();
}

void TRdImageButton::MouseLeave() {
  if (FButtonState == bsDown) FButtonState = bsNormal;
  Invalidate();
  TRdGraphicControl::MouseLeave();
}

void TRdImageButton::EnabledChanged() {
  if (!Enabled()) {
    FSavedState = FButtonState;
    FButtonState = bsDisabled;
  } else if (FButtonState == bsDisabled) {
    FButtonState = FSavedState == bsDisabled ? bsNormal : FSavedState;
  }
}

const TPicture* TRdImageButton::StatePicture() const {
  auto has = [this](TPictureSlot s) { return !FPictures[s].Bitmap().Empty(); };
  bool hovered = MouseInControl();
  if (FButtonState == bsDown && hovered && has(piImageDown)) return &FPictures[piImageDown];
  if (hovered && has(piImageOver) && EffectivelyEnabled()) return &FPictures[piImageOver];
  if (!EffectivelyEnabled() && has(piImageDisabled)) return &FPictures[piImageDisabled];
  if (FExpand && has(piExpandImage)) return &FPictures[piExpandImage];
  return has(piImageNormal) ? &FPictures[piImageNormal] : nullptr;
}

TColor TRdImageButton::CaptionColor() const {
  TColor c = Font().Color();
  TColor over = clDefault;
  if (!EffectivelyEnabled())
    over = FFontDisabledColor;
  else if (FButtonState == bsDown)
    over = FFontDownColor;
  else if (MouseInControl())
    over = FFontHoverColor;
  else if (Checked())
    over = FFontCheckedColor;
  return over != clDefault ? over : c;
}

void TRdImageButton::Paint(TPainter& painter) {
  TRect client = ClientRect();
  if (const TPicture* p = StatePicture()) {
    p->Draw(painter, client, &FImageOption.Grid());
  } else if (!FShowCheckBox && !Caption().empty()) {
    // Placeholder face until the button has its pictures.
    TColor face = FButtonState == bsDown ? 0x8A5A1E : MouseInControl() ? 0xD99A3A : 0xC0842E;
    painter.FillRoundRect(client, std::min(4, client.Height() / 2), EffectivelyEnabled() ? face : clGray,
                          200);
  } else if (!FShowCheckBox) {
    // A picture frame without its picture: only its outline.
    painter.FrameRect(client, clGray, 1, 120);
  }
  if (OnPaintImage) OnPaintImage(this);
  TRect text = client;
  text.Left += FTextLeftMargin;
  text.Right -= FTextRightMargin;
  text.Top += FTextTopMargin;
  text.Bottom -= FTextBottomMargin;
  TTextFormat f;
  f.Align = FButtonCaptionAlignment;
  f.VAlign = FTextAlignY;
  f.WordWrap = FWordWrap;
  f.EndEllipsis = true;
  f.MaxLines = FTextMaxLine;
  f.EllipsisByHeight = FWordWrap && FEllipsisByHeight;
  f.Prefix = FShowAccelChar;
  if (FShowCheckBox) {
    // Placeholder check box at the left; the caption follows it.
    const int box = std::min(14, client.Height());
    TRect r = TRect::FromSize(0, (client.Height() - box) / 2, box, box);
    painter.FillRect(r, clWhite, 230);
    painter.FrameRect(r, clGray);
    if (FCheckState != cbUnchecked) painter.FillRect(r.Inflate(-3, -3), 0x8A5A1E);
    text.Left = std::max(text.Left, box + 6);
    if (f.Align == taCenter) f.Align = taLeftJustify;
  } else if (FButtonCaptionAlignment == taLeftJustify) {
    text.Left += FTextOffset;
  } else if (FButtonCaptionAlignment == taRightJustify) {
    text.Right -= FTextOffset;
  }
  TTextLayout layout(Font().Font(), Caption(), text, f);
  layout.Offset(0, FTextTopOffset);
  FFoundTextEllipsis = layout.Ellipsized();
  FFoundTextWordBreak = layout.Overflowed();
  FFoundTextDrawLine = int(layout.Lines().size());
  painter.DrawText(layout, CaptionColor());
  if (OnPaintEnd) OnPaintEnd(this);
}
