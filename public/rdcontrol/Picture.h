#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "public/rdcontrol/Bitmap.h"
#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/Persistent.h"

// A picture property. A description stores it in one of three forms:
//   - Data: the platform's picture data, a one-byte length, the graphic's class name and the
//     graphic's own bytes (for the PNG classes the PNG file);
//   - Text: the attribute lines of a skin image ("imgname=images/smallwindow_bg.png");
//   - FileName: the name of an artwork file, looked up among the built-in resources first and
//     then in the file system.
// The picture decodes PNG data on first use. Skin images are kept as their lines until the skin
// image class takes them over; they draw nothing yet.
class TPicture : public TPersistent {
  QVB_PERSISTENT(TPicture)

 public:
  TPicture() = default;

  bool Empty() const;
  // The decoded picture; empty when there is none or it cannot be decoded.
  const TBitmap& Bitmap() const;
  int Width() const { return Bitmap().Width(); }
  int Height() const { return Bitmap().Height(); }

  const std::string& Data() const { return FData; }
  void SetData(const std::string& data);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& name);
  // The class name inside Data ("TPngImage"); empty without data.
  std::string GraphicClassName() const;
  bool IsSkinImage() const { return !FText.empty(); }

  // A picture from code: stored as PNG data.
  void SetBitmap(const TBitmap& bitmap);
  // Loads a PNG file (any name ending in .png, or PNG bytes under any name); false when the
  // file cannot be read or is not a PNG. The picture keeps its content on failure.
  bool LoadFromFile(const std::string& path);
  void Clear();

  // Draws the picture into dst: stretched whole, or by nine-grid drawing when grid is given and
  // not empty. Returns false (drawing nothing) when there is no picture to draw.
  bool Draw(TPainter& painter, const TRect& dst, const TNineGrid* grid = nullptr,
            uint8_t opacity = 255) const;

  void Assign(const TPersistent& source) override;
  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }

  std::function<void()> OnChange;

 private:
  void Changed();
  void Decode() const;

  std::string FData;
  std::string FText;
  std::string FFileName;
  TPersistent* FOwner{nullptr};
  mutable bool FDecoded{false};
  mutable TBitmap FBitmap;
};
