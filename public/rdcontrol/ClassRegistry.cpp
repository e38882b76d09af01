#include "public/rdcontrol/ClassRegistry.h"

#include <map>
#include <mutex>
#include <string>

#include "public/rdcontrol/CCTrayIcon.h"
#include "public/rdcontrol/CheckBox.h"
#include "public/rdcontrol/ClassInfo.h"
#include "public/rdcontrol/ComboBox.h"
#include "public/rdcontrol/Edit.h"
#include "public/rdcontrol/Image.h"
#include "public/rdcontrol/ImageNote.h"
#include "public/rdcontrol/Label.h"
#include "public/rdcontrol/LabelNote.h"
#include "public/rdcontrol/MadExceptionHandler.h"
#include "public/rdcontrol/MenuItem.h"
#include "public/rdcontrol/PopupMenu.h"
#include "public/rdcontrol/BalloonHint.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/Panel.h"
#include "public/rdcontrol/RdBalloonHint.h"
#include "public/rdcontrol/RdComboBox.h"
#include "public/rdcontrol/RdEdit.h"
#include "public/rdcontrol/RdForm.h"
#include "public/rdcontrol/RdFormSkin.h"
#include "public/rdcontrol/RdHtmLabel.h"
#include "public/rdcontrol/RdImage.h"
#include "public/rdcontrol/RdImageButton.h"
#include "public/rdcontrol/RdImageNote.h"
#include "public/rdcontrol/RdLabel.h"
#include "public/rdcontrol/RdPaintBox.h"
#include "public/rdcontrol/RdPanel.h"
#include "public/rdcontrol/RdProgressBar.h"
#include "public/rdcontrol/RdScrollBar.h"
#include "public/rdcontrol/RdSkinStyle.h"
#include "public/rdcontrol/RdStretchImage.h"
#include "public/rdcontrol/RdTimer.h"

namespace {

std::string Key(std::string_view name) {
  std::string k(name);
  for (char& c : k) c = char(std::tolower(static_cast<unsigned char>(c)));
  return k;
}

struct TRegistry {
  std::map<std::string, const TClassInfo*> Classes;
};

void RegisterLibraryClasses(TRegistry& r);

TRegistry& Registry() {
  // NOTE: built on first use, not by static registrations in each class's file: a static library
  // drops object files nothing refers to, and with them such registrations.
  static TRegistry* registry = [] {
    auto* r = new TRegistry;
    RegisterLibraryClasses(*r);
    return r;
  }();
  return *registry;
}

void Add(TRegistry& r, const TClassInfo& info) {
  r.Classes[Key(info.Name())] = &info;
}

// Every class of the library that a description can name.
void RegisterLibraryClasses(TRegistry& r) {
  for (const TClassInfo* info :
       {&TRdForm::StaticClass(),         &TLabel::StaticClass(),         &TImage::StaticClass(),
        &TPanel::StaticClass(),          &TEdit::StaticClass(),          &TComboBox::StaticClass(),
        &TCheckBox::StaticClass(),       &TPopupMenu::StaticClass(),     &TMenuItem::StaticClass(),
        &TRdLabel::StaticClass(),        &TRdHtmLabel::StaticClass(),    &TRdImageButton::StaticClass(),
        &TRdImage::StaticClass(),        &TRdImageNote::StaticClass(),   &TRdPaintBox::StaticClass(),
        &TRdStretchImage::StaticClass(), &TRdProgressBar::StaticClass(), &TRdPanel::StaticClass(),
        &TPageNote::StaticClass(),       &TPageTab::StaticClass(),       &TRdEdit::StaticClass(),
        &TRdComboBox::StaticClass(),     &TRdScrollBar::StaticClass(),   &TRdTimer::StaticClass(),
        &TCCTrayIcon::StaticClass(),     &TRdBalloonHint::StaticClass(), &TBalloonHint::StaticClass(),
        &TRdFormSkin::StaticClass(),     &TRdSkinStyle::StaticClass(),   &TMadExceptionHandler::StaticClass(),
        &TImageNote::StaticClass(),      &TLabelNote::StaticClass()})
    Add(r, *info);
}

}  // namespace

void TClassRegistry::Register(const TClassInfo& info) {
  Add(Registry(), info);
}

const TClassInfo* TClassRegistry::Find(std::string_view name) {
  auto& classes = Registry().Classes;
  auto it = classes.find(Key(name));
  return it == classes.end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> TClassRegistry::All() {
  std::vector<const TClassInfo*> out;
  for (const auto& [k, v] : Registry().Classes) out.push_back(v);
  return out;
}
