#include "public/rdcontrol/Persistent.h"

#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info = TPropertyTable<TPersistent>("TPersistent", nullptr).Build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  if (&source == this) return;
  const TClassInfo& from = source.ClassInfo();
  for (const TPropInfo* p : ClassInfo().Properties()) {
    const TPropInfo* sp = from.FindProperty(p->Name);
    if (!sp || sp->Type != p->Type) continue;
    if (p->IsSubObject()) {
      TPersistent* target = p->Object(*this);
      const TPersistent* src = sp->Object(source);
      if (target && src) target->Assign(*src);
    } else if (p->Type == TPropType::Component) {
      if (p->SetRef && sp->GetRef) p->SetRef(*this, sp->GetRef(source));
    } else if (p->Set && sp->Get) {
      TFormValue v = sp->Get(source);
      if (!v.IsNull() || p->Type == TPropType::Event)
        p->Set(*this, v.IsNull() ? TFormValue::String("") : v, nullptr);
    }
  }
}

const std::string& TPersistent::EventHandlerName(std::string_view event) const {
  static const std::string none;
  if (!FEventNames) return none;
  auto it = FEventNames->find(event);
  return it == FEventNames->end() ? none : it->second;
}

void TPersistent::SetEventHandlerName(std::string_view event, const std::string& handler) {
  if (handler.empty()) {
    if (FEventNames) FEventNames->erase(std::string(event));
    return;
  }
  // Copies of an object share nothing: the map is replaced, never written through a copy.
  auto names = FEventNames ? std::make_shared<std::map<std::string, std::string, std::less<>>>(*FEventNames)
                           : std::make_shared<std::map<std::string, std::string, std::less<>>>();
  (*names)[std::string(event)] = handler;
  FEventNames = std::move(names);
}
