#pragma once
#include <functional>
#include <string>

#include "public/rdcontrol/Font.h"
#include "public/rdcontrol/Persistent.h"

// Quality of glyph rendering, as the platform font stores it.
enum TFontQuality {
  fqDefault,
  fqDraft,
  fqProof,
  fqNonAntialiased,
  fqAntialiased,
  fqClearType,
  fqClearTypeNatural
};
enum TFontPitch { fpDefault, fpVariable, fpFixed };

// The published font of a control: the drawing description (TFont) plus the values the platform
// font stores beside it. Every change calls OnChange, through which the control repaints and
// gives up following its parent's font.
class TRdFont : public TPersistent {
  QVB_PERSISTENT(TRdFont)

 public:
  TRdFont() = default;
  TRdFont(const TRdFont& other)
      : TPersistent(other),
        FFont(other.FFont),
        FCharset(other.FCharset),
        FQuality(other.FQuality),
        FPitch(other.FPitch) {}
  TRdFont& operator=(const TRdFont& other);  // copies the values, keeps OnChange and owner

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);

  const std::string& Name() const { return FFont.Name; }
  void SetName(const std::string& name);
  int Height() const { return FFont.Height; }
  void SetHeight(int height);
  int Size() const { return FFont.Size(); }
  void SetSize(int points);
  TColor Color() const { return FFont.Color; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FFont.Style; }
  void SetStyle(TFontStyles style);
  int Charset() const { return FCharset; }
  void SetCharset(int charset);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality quality);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch pitch);

  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }
  void Assign(const TPersistent& source) override;

  std::function<void()> OnChange;

 private:
  void Changed();

  TFont FFont;
  int FCharset{1};  // DEFAULT_CHARSET
  TFontQuality FQuality{fqDefault};
  TFontPitch FPitch{fpDefault};
  TPersistent* FOwner{nullptr};
};
