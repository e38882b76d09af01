#include "public/rdcontrol/Picture.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Resources.h"
#include "platform/TextCodec.h"
#include "public/rdcontrol/PngCodec.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPicture::StaticClass() {
  static const TClassInfo info = TPropertyTable<TPicture>("TPicture", &TPersistent::StaticClass())
                                     .Binary("Data", &TPicture::Data, &TPicture::SetData)
                                     .String("Text", &TPicture::Text, &TPicture::SetText)
                                     .String("FileName", &TPicture::FileName, &TPicture::SetFileName)
                                     .Build();
  return info;
}

namespace {
const char* const PngClassName = "TPngImage";

std::string WrapPng(const std::string& png) {
  std::string data;
  data.push_back(char(std::char_traits<char>::length(PngClassName)));
  data += PngClassName;
  data += png;
  return data;
}
}  // namespace

bool TPicture::Empty() const {
  return FData.empty() && FText.empty() && FFileName.empty();
}

std::string TPicture::GraphicClassName() const {
  if (FData.empty()) return {};
  size_t n = static_cast<unsigned char>(FData[0]);
  if (1 + n > FData.size()) return {};
  return FData.substr(1, n);
}

void TPicture::Decode() const {
  FDecoded = true;
  FBitmap = TBitmap();
  std::string bytes;
  if (!FData.empty()) {
    std::string cls = GraphicClassName();
    // Stored data of any class that starts with the PNG signature is read as PNG.
    size_t start = cls.empty() ? 0 : 1 + cls.size();
    bytes = FData.substr(start);
    if (!TPngCodec::HasSignature(bytes) && TPngCodec::HasSignature(FData)) bytes = FData;
  } else if (!FFileName.empty()) {
    std::string_view res = FindResource(FFileName);
    if (!res.empty()) {
      bytes.assign(res);
    } else {
      TBitmap b;
      if (TPngCodec::LoadFromFile(FFileName, b)) FBitmap = std::move(b);
      return;
    }
  }
  if (!bytes.empty()) {
    TBitmap b;
    if (TPngCodec::Decode(bytes, b)) FBitmap = std::move(b);
  }
}

const TBitmap& TPicture::Bitmap() const {
  if (!FDecoded) Decode();
  return FBitmap;
}

void TPicture::SetData(const std::string& data) {
  if (FData == data) return;
  FData = data;
  Changed();
}

void TPicture::SetText(const std::string& text) {
  if (FText == text) return;
  FText = text;
  Changed();
}

void TPicture::SetFileName(const std::string& name) {
  if (FFileName == name) return;
  FFileName = name;
  Changed();
}

void TPicture::SetBitmap(const TBitmap& bitmap) {
  std::string png;
  if (bitmap.Empty() || !TPngCodec::Encode(bitmap, png)) {
    Clear();
    return;
  }
  FText.clear();
  FFileName.clear();
  FData = WrapPng(png);
  Changed();
}

bool TPicture::LoadFromFile(const std::string& path) {
  TBitmap b;
  std::string bytes;
  if (TPlatform::Current().Files().ReadAll(path, bytes) != 0) return false;
  if (bytes.empty() || !TPngCodec::HasSignature(bytes) || !TPngCodec::Decode(bytes, b)) return false;
  FText.clear();
  FFileName.clear();
  FData = WrapPng(bytes);
  Changed();
  return true;
}

void TPicture::Clear() {
  if (Empty()) return;
  FData.clear();
  FText.clear();
  FFileName.clear();
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TPicture*>(&source)) {
    if (other == this) return;
    FData = other->FData;
    FText = other->FText;
    FFileName = other->FFileName;
    Changed();
  } else {
    TPersistent::Assign(source);
  }
}

bool TPicture::Draw(TPainter& painter, const TRect& dst, const TNineGrid* grid, uint8_t opacity) const {
  const TBitmap& b = Bitmap();
  if (b.Empty() || dst.IsEmpty()) return false;
  TImageDrawOptions options;
  options.Opacity = opacity;
  options.Filter = TResampleFilter::Bilinear;
  painter.DrawNineGrid(b, dst, grid ? *grid : TNineGrid{}, options);
  return true;
}

void TPicture::Changed() {
  FDecoded = false;
  FBitmap = TBitmap();
  if (OnChange) OnChange();
}
