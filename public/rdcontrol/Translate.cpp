#include "public/rdcontrol/Translate.h"

#include <string>
#include <vector>

#include "public/rdcontrol/Control.h"
#include "public/rdcontrol/FormValue.h"
#include "public/rdcontrol/ImageNote.h"
#include "public/rdcontrol/LabelNote.h"
#include "public/rdcontrol/PropertyResolver.h"
#include "support/Language.h"

namespace {

// NOTE: the kinds are told apart by class name through the class information, so a control
// class of this library that descends from one of the platform's kinds (TRdComboBox from
// TComboBox) is translated as that kind. The order of the tests below decides for a class that
// descends from several of them (TLabelNote is also a label).
const char* const kCaptionClasses[] = {"TLabel",       "TRdLabel",    "TButton",      "TGroupBox",
                                       "TCheckBox",    "TRadioButton", "TMenuItem",   "TToolButton",
                                       "TSpeedButton", "TTabSheet"};

class TWindowTranslator {
public:
  TWindowTranslator(const TLanguage& language, TComponent& window)
      : FLanguage(language), FSection(language.Prefix() + "_" + window.Name()), FWindow(window) {}

  void Run() {
    const std::string captionKey = FWindow.Name() + ".Caption";
    if (FLanguage.Text().ValueExists(FSection, captionKey))
      SetPropertyText(FWindow, "Caption", FLanguage.ReadText(FSection, captionKey, ""));
    // By index, read afresh each time: a setter that adds or frees components must not leave
    // the walk on a stale position.
    for (int i = 0; i < FWindow.ComponentCount(); ++i) TranslateOwned(*FWindow.Component(i));
  }

private:
  std::string Key(const TComponent& component, const std::string& property) const {
    return component.Name() + "." + property;
  }
  std::string Indexed(const TComponent& component, const char* list, size_t index) const {
    return component.Name() + "." + list + "[" + std::to_string(index) + "].Caption";
  }
  // Sets the property to the section's text for key, the current text being the default.
  void Apply(TComponent& component, const char* property, const std::string& key) {
    std::string current;
    if (!GetPropertyText(component, property, current)) return;
    SetPropertyText(component, property, FLanguage.ReadText(FSection, key, current));
  }
  static bool HintEnabled(const TComponent& component) {
    const auto* control = dynamic_cast<const TControl*>(&component);
    return control && control->ShowHint();
  }

  void TranslateOwned(TComponent& component) {
    if (auto* note = dynamic_cast<TLabelNote*>(&component)) {
      // Only the items change: the caption follows them when TextIndex is set again.
      for (int i = 0; i < note->Items().Count(); ++i) {
        TLabelItem* item = note->Item(i);
        item->SetText(FLanguage.ReadText(FSection, Indexed(component, "Items", size_t(i)), item->Text()));
      }
      return;
    }
    if (dynamic_cast<TImageNote*>(&component)) {
      if (HintEnabled(component)) Apply(component, "Hint", Key(component, "Hint"));
      return;
    }
    for (const char* kind : kCaptionClasses)
      if (component.InheritsFrom(kind)) {
        Apply(component, "Caption", Key(component, "Caption"));
        return;
      }
    if (component.InheritsFrom("TComboBox")) return TranslateComboBox(component);
    if (component.InheritsFrom("TTreeView")) return TranslateCollection(component, "Items", "Text");
    if (component.InheritsFrom("TListView")) return TranslateCollection(component, "Columns", "Caption");
    if (component.InheritsFrom("TRdImageButton")) {
      Apply(component, "Caption", Key(component, "Caption"));
      if (HintEnabled(component)) Apply(component, "Hint", Key(component, "Hint"));
      return;
    }
    const std::string& className = component.ClassName();
    if (className == "TReportTab" || className == "TReportContent") TranslateComponent(FLanguage, &component);
  }

  void TranslateComboBox(TComponent& component) {
    TFormValue items, selected;
    if (!GetPropertyValue(component, "Items.Strings", items) || items.Kind != TFormValue::vList) return;
    const bool hasSelection = bool(GetPropertyValue(component, "ItemIndex", selected));
    for (size_t i = 0; i < items.Items.size(); ++i) {
      TFormValue& item = items.Items[i];
      if (item.Kind == TFormValue::vString) item.Text = FLanguage.ReadText(FSection, Indexed(component, "Items", i), item.Text);
    }
    SetPropertyValue(component, "Items.Strings", items);
    if (hasSelection) SetPropertyValue(component, "ItemIndex", selected);
    if (auto* control = dynamic_cast<TControl*>(&component)) control->Invalidate();
  }

  // Tree nodes (by absolute index) and list columns, as their collections publish them; the
  // walk ends at the first index the collection does not have.
  void TranslateCollection(TComponent& component, const char* list, const char* property) {
    for (size_t i = 0;; ++i) {
      const std::string path = std::string(list) + "[" + std::to_string(i) + "]." + property;
      std::string current;
      if (!GetPropertyText(component, path, current)) return;
      SetPropertyText(component, path, FLanguage.ReadText(FSection, Indexed(component, list, i), current));
    }
  }

  const TLanguage& FLanguage;
  std::string FSection;
  TComponent& FWindow;
};

}  // namespace

void TranslateComponent(const TLanguage& language, TComponent* window) {
  if (!window || window->Name().empty()) return;
  try {
    TWindowTranslator(language, *window).Run();
  } catch (...) {
    // A failing setter stops this window's translation; the texts set so far stay.
  }
}
