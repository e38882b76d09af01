#include "public/rdcontrol/RdBalloonHint.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdBalloonHint::StaticClass() {
  using C = TRdBalloonHint;
  static const TClassInfo info = TPropertyTable<C>("TRdBalloonHint", &TComponent::StaticClass())
                                     .Creatable()
                                     .IntField("Delay", &C::FDelay, 500)
                                     .IntField("HideAfter", &C::FHideAfter, -1)
                                     .StringField("Title", &C::FTitle)
                                     .StringField("Description", &C::FDescription)
                                     .Build();
  return info;
}
