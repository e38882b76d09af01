#pragma once
#include "public/rdcontrol/Image.h"
#include "public/rdcontrol/RdAutoAlign.h"
#include "public/rdcontrol/RdSkinClass.h"

// The library's image control: the platform image with the skin selector, the hit-test switch
// and paint events before and after the picture.
class TRdImage : public TImage {
  QVB_PERSISTENT(TRdImage)

 public:
  explicit TRdImage(TComponent* owner = nullptr) : TImage(owner), FAllSkin(this) {}

  TRdSkinClass& AllSkin() { return FAllSkin; }
  TRdAutoAlign& AutoAlign() { return FAutoAlign; }
  void Paint(TPainter& painter) override;

  TNotifyEvent OnPaint;
  TNotifyEvent OnPaintEnd;

 private:
  TRdSkinClass FAllSkin;
  TRdAutoAlign FAutoAlign;
};
