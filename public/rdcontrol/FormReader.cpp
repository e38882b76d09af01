#include "public/rdcontrol/FormReader.h"

#include <fmt/format.h>

#include "platform/TextCodec.h"
#include "public/rdcontrol/ClassRegistry.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/Control.h"
#include "public/rdcontrol/PropertyResolver.h"
#include "public/rdcontrol/WinControl.h"

namespace {

class TReadContext : public TPropertyContext {
 public:
  TReadContext(TComponent& root, TFormReadReport& report) : FRoot(root), FReport(report) {}

  struct TFixup {
    TPersistent* Object;
    const TPropInfo* Property;
    std::string Name;
    int Line;
  };
  struct TEventBinding {
    TPersistent* Target;
    std::string Event;
    std::string Handler;
  };

  void DeferReference(TPersistent& object, const TPropInfo& property, const std::string& name) override {
    FFixups.push_back({&object, &property, name, FLine});
  }
  void EventAssigned(TPersistent& object, const TPropInfo& property, const std::string& handler) override {
    FEvents.push_back({&object, property.Name, handler});
  }

  void Warn(int line, const std::string& message) {
    FReport.Warnings.push_back(fmt::format("line {}: {}", line, message));
  }

  void ApplyProperties(TComponent& target, const std::vector<TFormProperty>& props) {
    for (const TFormProperty& p : props) {
      FLine = p.Line;
      TPropertyResult r = SetPropertyValue(target, p.Name, p.Value, this);
      if (!r && r.Status != TPropertyResult::tsSkipped)
        Warn(p.Line, fmt::format("{}.{}: {}", target.Name(), p.Name, r.Message));
    }
  }

  void ReadChildren(TComponent* parent, const std::vector<TFormObject>& children) {
    for (const TFormObject& child : children) {
      TComponent* c = nullptr;
      if (child.Kind != TFormObject::okObject && !child.Name.empty()) c = FRoot.FindComponent(child.Name);
      if (!c) {
        const TClassInfo* info = TClassRegistry::Find(child.ClassName);
        if (!info || !info->CanCreate()) {
          Warn(child.Line, fmt::format("unknown class {} of {}; skipped", child.ClassName, child.Name));
          continue;
        }
        if (!child.Name.empty() && FRoot.FindComponent(child.Name))
          Warn(child.Line, fmt::format("a second component named {}", child.Name));
        c = info->Create(&FRoot);
        c->SetStateFlag(csReading, true);
        c->BeginLoading();
        c->SetName(child.Name);
        FCreated.push_back(c);
      }
      c->SetParentComponent(parent);
      ApplyProperties(*c, child.Properties);
      ReadChildren(c, child.Children);
    }
  }

  void Finish() {
    for (const TFixup& f : FFixups) {
      TComponent* found = nullptr;
      std::string local = f.Name;
      size_t dot = local.rfind('.');
      if (dot != std::string::npos && SameText(local.substr(0, dot), FRoot.Name()))
        local = local.substr(dot + 1);
      found = SameText(local, FRoot.Name()) ? &FRoot : FRoot.FindComponent(local);
      if (!found) {
        Warn(f.Line, fmt::format("{}: no component named {}", f.Property->Name, f.Name));
        continue;
      }
      if (!f.Property->SetRef || !f.Property->SetRef(*f.Object, found))
        Warn(f.Line, fmt::format("{}: {} cannot be assigned", f.Property->Name, f.Name));
    }
    for (const TEventBinding& e : FEvents) FRoot.ResolveEvent(*e.Target, e.Event, e.Handler);
    FRoot.Loaded();
    for (TComponent* c : FCreated) c->Loaded();
  }

 private:
  TComponent& FRoot;
  TFormReadReport& FReport;
  std::vector<TFixup> FFixups;
  std::vector<TEventBinding> FEvents;
  std::vector<TComponent*> FCreated;
  int FLine{0};
};

}  // namespace

TFormReadReport TFormReader::ReadRoot(TComponent& root, std::string_view text) {
  TFormObject description = ParseFormText(text);
  return ReadRoot(root, description);
}

TFormReadReport TFormReader::ReadRoot(TComponent& root, const TFormObject& description) {
  TFormReadReport report;
  TReadContext context(root, report);
  root.SetStateFlag(csReading, true);
  root.BeginLoading();
  if (!description.Name.empty()) root.SetName(description.Name);
  context.ApplyProperties(root, description.Properties);
  context.ReadChildren(&root, description.Children);
  context.Finish();
  return report;
}
