#include "public/rdcontrol/RdProgressBar.h"

#include <algorithm>
#include <cstdlib>

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdProgressBar::StaticClass() {
  using C = TRdProgressBar;
  static const TClassInfo info = TPropertyTable<C>("TRdProgressBar", &TRdPaintBox::StaticClass())
                                     .Creatable()
                                     .Integer("Min", &C::Min, &C::SetMin, 0)
                                     .Integer("Max", &C::Max, &C::SetMax, 100)
                                     .Integer("Position", &C::Position, &C::SetPosition, 0)
                                     .Object("ImgBackground", &C::ImgBackground)
                                     .Object("ImgBackgroundOption", &C::ImgBackgroundOption)
                                     .Object("ImgBar", &C::ImgBar)
                                     .Object("ImgBarOption", &C::ImgBarOption)
                                     .Object("ImgBooster", &C::ImgBooster)
                                     .Integer("ImgBoosterY", &C::ImgBoosterY, &C::SetImgBoosterY, 0)
                                     .Integer("ImgInterval", &C::ImgInterval, &C::SetImgInterval, 30)
                                     .Build();
  return info;
}

TRdProgressBar::TRdProgressBar(TComponent* owner) : TRdPaintBox(owner) {
  InitBounds(0, 0, 150, 16);
  for (TPicture* p : {&FImgBackground, &FImgBar}) {
    p->SetOwner(this);
    p->OnChange = [this] { Invalidate(); };
  }
  FImgBooster.SetOwner(this);
  FImgBooster.OnChange = [this] {
    UpdateBoosterTimer();
    Invalidate();
  };
  for (TDesignRect* r : {&FImgBackgroundOption, &FImgBarOption}) {
    r->SetOwner(this);
    r->OnChange = [this] { Invalidate(); };
  }
}

TRdProgressBar::~TRdProgressBar() {
  FBoosterTimer.reset();
}

void TRdProgressBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  SetPosition(FPosition);
  Invalidate();
}

void TRdProgressBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  SetPosition(FPosition);
  Invalidate();
}

void TRdProgressBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v != FPosition) {
    FPosition = v;
    Invalidate();
  }
  if (FBoosterTimer) FBoosterTimer->SetEnabled(FMin < FPosition);
}

void TRdProgressBar::SetCaption(const std::string& text) {
  TRdPaintBox::SetCaption(text);
  int64_t n = 0;
  if (!PropConvert::ToInt(TFormValue::String(text), n, nullptr) || n < INT32_MIN || n > INT32_MAX) n = 0;
  SetPosition(int(n));
}

void TRdProgressBar::SetImgBoosterY(int y) {
  FImgBoosterY = y;
  Invalidate();
}

void TRdProgressBar::SetImgInterval(int ms) {
  FImgInterval = std::max(ms, 0);
  if (FBoosterTimer) FBoosterTimer->SetInterval(FImgInterval);
}

int TRdProgressBar::FilledWidth() const {
  if (FPosition <= FMin || int64_t(FMax) - FMin <= 0) return 0;
  const int64_t range = int64_t(FMax) - FMin;
  const int64_t w = (int64_t(Width()) * (int64_t(FPosition) - FMin) + range - 1) / range;
  const int64_t least = int64_t(FImgBarOption.Left()) + FImgBarOption.Right();
  return int(std::max(w, least));
}

TRect TRdProgressBar::BarRect() const {
  int filled = FilledWidth();
  if (filled <= 0) return {};
  TRect client = ClientRect();
  client.Right = std::min(client.Right, client.Left + filled);
  return client;
}

void TRdProgressBar::UpdateBoosterTimer() {
  if (FImgBooster.Empty()) {
    FBoosterTimer.reset();
    FBoosterOffset = 0;
    return;
  }
  if (FBoosterTimer) return;
  FBoosterTimer = std::make_unique<TRdTimer>(nullptr);
  FBoosterTimer->SetInterval(FImgInterval);
  FBoosterTimer->SetEnabled(FMin < FPosition);
  FBoosterTimer->SetOnTimer([this](TComponent*) { BoosterTick(); });
}

void TRdProgressBar::BoosterTick() {
  if (!Showing() || FPosition <= FMin || int64_t(FMax) - FMin <= 0) return;
  TRect client = ClientRect();
  int barRight = BarRect().Right;
  int boosterWidth = FImgBooster.Width();
  if (client.Left + FBoosterOffset + boosterWidth < barRight)
    FBoosterOffset += 4;
  else
    // 0 when the bar is full; negative otherwise, so the next sweep waits as long as the
    // unfilled part.
    FBoosterOffset = barRight + client.Left - client.Right;
  Invalidate();
}

void TRdProgressBar::Loaded() {
  TRdPaintBox::Loaded();
  UpdateBoosterTimer();
  if (FBoosterTimer) FBoosterTimer->SetEnabled(FMin < FPosition);
}

void TRdProgressBar::Paint(TPainter& painter) {
  if (FBoosterTimer) FBoosterTimer->SetEnabled(FMin < FPosition);
  TRect client = ClientRect();
  if (!FImgBackground.Draw(painter, client, &FImgBackgroundOption.Grid()))
    painter.FillRoundRect(client, client.Height() / 2, 0xD8D8D8);
  TRect bar = BarRect();
  if (!bar.IsEmpty() && !FImgBar.Draw(painter, bar, &FImgBarOption.Grid()))
    painter.FillRoundRect(bar, bar.Height() / 2, 0xD08A2E);
  if (!FImgBooster.Empty() && FMin < FPosition && FPosition < FMax && FBoosterOffset > 0) {
    const TBitmap& b = FImgBooster.Bitmap();
    int x = client.Left + FBoosterOffset;
    if (x + b.Width() <= bar.Right) painter.DrawBitmap(b, TPoint{x, FImgBoosterY});
  }
  TRdPaintBox::Paint(painter);
}
