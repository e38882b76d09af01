#include "public/rdcontrol/RdEdit.h"

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"
#include "public/rdcontrol/RdGraphicControl.h"

const char* const* TRdEdit::FrameNames() {
  static const char* const names[feCount] = {"ImageNormal",   "ImageOver",  "ImageSelected",
                                             "ImageDisabled", "ImageError", "ImageEmpty"};
  return names;
}

const TClassInfo& TRdEdit::StaticClass() {
  using C = TRdEdit;
  static const TClassInfo info = [] {
    TPropertyTable<C> t("TRdEdit", &TEdit::StaticClass());
    t.Creatable();
    for (int i = 0; i < feCount; ++i)
      t.Object(FrameNames()[i], [i](C& c) -> TPicture& { return c.Frame(TFrameSlot(i)); });
    QVB_RD_COMMON(t, C)
        .BoolField("AutoSize", &C::FAutoSize, false)
        .Object("ImageOption", &C::ImageOption)
        .Object("FontNormal", &C::FontNormal)
        .Object("FontError", &C::FontError)
        .Object("FontDisabled", &C::FontDisabled)
        .ColorField("FontEmptyColor", &C::FFontEmptyColor, 0x808080)
        .Boolean("ErrorMode", &C::ErrorMode, &C::SetErrorMode, false)
        .IntField("TextLeftMargin", &C::FTextLeftMargin, 0)
        .IntField("TextRightMargin", &C::FTextRightMargin, 0);
    return t.Build();
  }();
  return info;
}

TRdEdit::TRdEdit(TComponent* owner) : TEdit(owner), FAllSkin(this) {
  FAutoSize = false;
  FFontError.SetColor(255);
  FFontDisabled.SetColor(0x808080);
  for (TPicture& p : FFrames) {
    p.SetOwner(this);
    p.OnChange = [this] { Invalidate(); };
  }
  FImageOption.SetOwner(this);
  FImageOption.OnChange = [this] { Invalidate(); };
  for (TRdFont* f : {&FFontNormal, &FFontError, &FFontDisabled}) {
    f->SetOwner(this);
    f->OnChange = [this] { Invalidate(); };
  }
}

void TRdEdit::SetErrorMode(bool on) {
  FErrorMode = on;
  Invalidate();
}

const TPicture* TRdEdit::FramePicture() const {
  auto set = [this](TFrameSlot s) { return !FFrames[s].Empty(); };
  const TPicture* p = &FFrames[feNormal];
  if (FErrorMode && set(feError))
    p = &FFrames[feError];
  else if (!EffectivelyEnabled() && set(feDisabled))
    p = &FFrames[feDisabled];
  else if (Focused() && set(feSelected))
    p = &FFrames[feSelected];
  else if (!FErrorMode && MouseInControl() && set(feOver))
    p = &FFrames[feOver];
  else if (!FErrorMode && Text().empty() && set(feEmpty))
    p = &FFrames[feEmpty];
  return p->Empty() ? nullptr : p;
}

void TRdEdit::Paint(TPainter& painter) {
  TColor c = Color();
  if (c != clNone) painter.FillRect(ClientRect(), c);
  if (const TPicture* p = FramePicture())
    p->Draw(painter, ClientRect(), &FImageOption.Grid());
  else
    painter.FrameRect(ClientRect(), clGray);
  const TRdFont& font = FErrorMode ? FFontError : !EffectivelyEnabled() ? FFontDisabled : Font();
  TTextFormat f;
  f.VAlign = taVerticalCenter;
  TRect box{3 + FTextLeftMargin, 0, Width() - 3 - FTextRightMargin, Height()};
  if (Text().empty() && !FTextHint.empty())
    painter.DrawText(TTextLayout(font.Font(), FTextHint, box, f), FFontEmptyColor);
  else
    painter.DrawText(font.Font(), DisplayText(), box, f);
}
