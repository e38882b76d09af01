#include "public/rdcontrol/RdPaintBox.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdPaintBox::StaticClass() {
  static const TClassInfo info = TPropertyTable<TRdPaintBox>("TRdPaintBox", &TRdGraphicControl::StaticClass())
                                     .Creatable()
                                     .Event("OnPaint")
                                     .Build();
  return info;
}

TRdPaintBox::TRdPaintBox(TComponent* owner) : TRdGraphicControl(owner) {
  InitBounds(0, 0, 105, 105);
}

void TRdPaintBox::Paint(TPainter& painter) {
  if (OnPaint) OnPaint(this);
}
