#include "public/rdcontrol/MadExceptionHandler.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TMadExceptionHandler::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TMadExceptionHandler>("TMadExceptionHandler", &TComponent::StaticClass())
          .Creatable()
          .Event("OnException")
          .Build();
  return info;
}
