#include "public/rdcontrol/SizeConstraints.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TSizeConstraints::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TSizeConstraints>("TSizeConstraints", &TPersistent::StaticClass())
          .Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0)
          .Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0)
          .Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0)
          .Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0)
          .Build();
  return info;
}

int TSizeConstraints::ClampWidth(int width) const {
  if (FMaxWidth > 0 && width > FMaxWidth) width = FMaxWidth;
  if (FMinWidth > 0 && width < FMinWidth) width = FMinWidth;
  return width;
}

int TSizeConstraints::ClampHeight(int height) const {
  if (FMaxHeight > 0 && height > FMaxHeight) height = FMaxHeight;
  if (FMinHeight > 0 && height < FMinHeight) height = FMinHeight;
  return height;
}
