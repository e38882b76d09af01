#include "public/rdcontrol/BalloonHint.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TBalloonHint::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TBalloonHint>("TBalloonHint", &TRdBalloonHint::StaticClass()).Creatable().Build();
  return info;
}
