#include "public/rdcontrol/FormWriter.h"

#include <map>
#include <memory>

#include "public/rdcontrol/Collection.h"
#include "public/rdcontrol/Component.h"
#include "public/rdcontrol/WinControl.h"

namespace {

// One reference object per creatable class, made on first need and kept for the process: creating
// a component once is cheaper than for every object written. NOTE: deliberately never freed, so
// that no process-exit destructor order matters.
TComponent* Prototype(const TClassInfo& info) {
  static auto* prototypes = new std::map<const TClassInfo*, TComponent*>;
  auto it = prototypes->find(&info);
  if (it != prototypes->end()) return it->second;
  TComponent* made = info.CanCreate() ? info.Create(nullptr) : nullptr;
  prototypes->emplace(&info, made);
  return made;
}

TFormValue DescribeCollection(TCollection& coll) {
  TFormValue v;
  v.Kind = TFormValue::vCollection;
  for (int i = 0; i < coll.Count(); ++i) {
    std::unique_ptr<TCollectionItem> fresh = coll.NewItem();
    TFormItem item;
    item.Properties = TFormWriter::DescribeProperties(*coll.Items(i), fresh.get());
    v.Collection.push_back(std::move(item));
  }
  return v;
}

void DescribeChildren(TComponent& root, TComponent* parent, std::vector<TFormObject>& out);

TFormObject DescribeComponent(TComponent& root, TComponent& c) {
  TFormObject obj;
  obj.Name = c.Name();
  obj.ClassName = c.ClassName();
  obj.Properties = TFormWriter::DescribeProperties(c, Prototype(c.ClassInfo()));
  DescribeChildren(root, &c, obj.Children);
  return obj;
}

// The components of root that belong under parent: controls whose parent it is; for the root
// also every component that is not placed in a control.
void DescribeChildren(TComponent& root, TComponent* parent, std::vector<TFormObject>& out) {
  for (int i = 0; i < root.ComponentCount(); ++i) {
    TComponent* c = root.Component(i);
    TComponent* placedIn = c->GetParentComponent() ? c->GetParentComponent() : &root;
    if (placedIn != parent) continue;
    out.push_back(DescribeComponent(root, *c));
  }
}

}  // namespace

std::vector<TFormProperty> TFormWriter::DescribeProperties(TPersistent& object, TPersistent* reference,
                                                           const std::string& prefix) {
  std::vector<TFormProperty> out;
  if (reference && &reference->ClassInfo() != &object.ClassInfo()) reference = nullptr;
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    if (p->Name == "Name" && prefix.empty() && dynamic_cast<TComponent*>(&object)) continue;
    if (!p->IsStored(object)) continue;
    std::string name = prefix + p->Name;
    switch (p->Type) {
      case TPropType::Object:
      case TPropType::StringList: {
        TPersistent* sub = p->Object(object);
        TPersistent* subRef = reference ? p->Object(*reference) : nullptr;
        if (!sub) break;
        std::vector<TFormProperty> inner = DescribeProperties(*sub, subRef, name + ".");
        out.insert(out.end(), inner.begin(), inner.end());
        break;
      }
      case TPropType::Collection: {
        auto* coll = dynamic_cast<TCollection*>(p->Object(object));
        if (!coll) break;
        TFormValue v = DescribeCollection(*coll);
        auto* refColl = reference ? dynamic_cast<TCollection*>(p->Object(*reference)) : nullptr;
        if (refColl ? v == DescribeCollection(*refColl) : v.Collection.empty()) break;
        out.push_back({name, std::move(v), 0});
        break;
      }
      case TPropType::Component: {
        TComponent* c = p->GetRef(object);
        if (!c || c->Name().empty()) break;
        out.push_back({name, TFormValue::Ident(c->Name()), 0});
        break;
      }
      default: {
        if (!p->Set || !p->Get) break;
        TFormValue v = p->Get(object);
        if (v.IsNull()) break;
        if (reference) {
          if (v == p->Get(*reference)) break;
        } else if (p->Default && v == *p->Default) {
          break;
        }
        out.push_back({name, std::move(v), 0});
      }
    }
  }
  return out;
}

TFormObject TFormWriter::Describe(TComponent& root) {
  TFormObject obj;
  obj.Name = root.Name();
  obj.ClassName = root.ClassName();
  obj.Properties = DescribeProperties(root, Prototype(root.ClassInfo()));
  DescribeChildren(root, &root, obj.Children);
  return obj;
}

std::string TFormWriter::Write(TComponent& root) {
  return FormatFormText(Describe(root));
}
