#include "public/rdcontrol/RdForm.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TRdForm::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TRdForm>("TRdForm", &TCustomForm::StaticClass()).Creatable().Build();
  return info;
}
