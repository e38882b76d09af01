#pragma once
#include "public/rdcontrol/DesignRect.h"
#include "public/rdcontrol/Edit.h"
#include "public/rdcontrol/Picture.h"
#include "public/rdcontrol/RdAutoAlign.h"
#include "public/rdcontrol/RdFont.h"
#include "public/rdcontrol/RdSkinClass.h"

// The library's edit: frame pictures by state drawn by nine-grid slicing, fonts by state.
class TRdEdit : public TEdit {
  QVB_PERSISTENT(TRdEdit)

 public:
  enum TFrameSlot { feNormal, feOver, feSelected, feDisabled, feError, feEmpty, feCount };
  static const char* const* FrameNames();

  explicit TRdEdit(TComponent* owner = nullptr);

  TPicture& Frame(TFrameSlot slot) { return FFrames[slot]; }
  TDesignRect& ImageOption() { return FImageOption; }
  TRdFont& FontNormal() { return FFontNormal; }
  TRdFont& FontError() { return FFontError; }
  TRdFont& FontDisabled() { return FFontDisabled; }
  TRdSkinClass& AllSkin() { return FAllSkin; }
  TRdAutoAlign& AutoAlign() { return FAutoAlign; }
  bool ErrorMode() const { return FErrorMode; }
  void SetErrorMode(bool on);
  // The frame picture for the current state; null when none is set.
  const TPicture* FramePicture() const;

  void Paint(TPainter& painter) override;

  TColor FFontEmptyColor{0x808080};
  int FTextLeftMargin{0};
  int FTextRightMargin{0};

 private:
  TPicture FFrames[feCount];
  TDesignRect FImageOption;
  TRdFont FFontNormal;
  TRdFont FFontError;
  TRdFont FFontDisabled;
  TRdSkinClass FAllSkin;
  TRdAutoAlign FAutoAlign;
  bool FErrorMode{false};
};
