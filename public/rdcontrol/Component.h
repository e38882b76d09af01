#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "public/rdcontrol/Persistent.h"

class TComponent;

// Events are std::function members the owner assigns; sender is the component that raises it.
using TNotifyEvent = std::function<void(TComponent* sender)>;

enum TComponentStateFlag : uint32_t {
  csLoading = 1,     // between BeginLoading and Loaded: properties arrive in any order
  csReading = 2,     // its properties are being read from a description
  csDestroying = 4,  // the destructor runs
  csUpdating = 8,    // a skin or another bulk change is being applied
};

enum TOperation { opInsert, opRemove };

// A named object in an ownership tree. The owner keeps its components in creation order and
// frees them when it is freed (the last created first); a component freed earlier leaves its
// owner's list by itself. Whoever has no owner is freed by its creator (std::unique_ptr).
//
// A component created with an owner is adopted by it in the constructor:
//   auto* timer = new TRdTimer(form);        // form owns it from here on
//   auto solo = std::make_unique<TRdTimer>(nullptr);
// A component that must go away from inside one of its own events asks for Release(), which
// frees it from the event loop once the current event has returned.
class TComponent : public TPersistent {
  QVB_PERSISTENT(TComponent)

 public:
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& name) { FName = name; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Component(int index) const { return FComponents[size_t(index)].get(); }
  // The owned component with that name (letter case ignored); null when none.
  TComponent* FindComponent(std::string_view name) const;
  // The top of the ownership tree (the form of a control read from a description).
  TComponent* Root();

  // Moves ownership: takes the component from its current owner (if any) into this one.
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Gives up ownership of an owned component; null when it is not owned by this one.
  std::unique_ptr<TComponent> ExtractComponent(TComponent* component);

  uint32_t ComponentState() const { return FState; }
  bool IsLoading() const { return FState & csLoading; }
  bool IsReading() const { return FState & csReading; }
  bool IsDestroying() const { return FState & csDestroying; }
  bool IsUpdating() const { return FState & csUpdating; }
  void SetStateFlag(TComponentStateFlag flag, bool on);
  // Loading brackets: the description reader calls BeginLoading before the first property and
  // Loaded once every component of the description has its properties and references.
  void BeginLoading() { SetStateFlag(csLoading, true); }
  virtual void Loaded();

  // Frees the component from the event loop after the current event: it leaves its owner (and
  // its parent, for a control) at once and is destroyed when the loop runs posted calls.
  virtual void Release();

  // Called on the root of a description, after loading, for every event assignment it held
  // (target.event = handler; target is a component or a collection item). A form class binds
  // the names to its methods here.
  virtual void ResolveEvent(TPersistent& target, const std::string& event, const std::string& handler) {}

  // Where the component sits in a description: the reader calls SetParentComponent with the
  // enclosing object, the writer nests the component under GetParentComponent. Controls use
  // their parent control; a menu item its menu.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) {}

  // Told about components that come and go in the tree (opRemove before a component is freed),
  // so that references to it can be cleared. The default passes it on to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  void RemoveFromOwner();

  std::string FName;
  int FTag{0};
  TComponent* FOwner{nullptr};
  std::vector<std::unique_ptr<TComponent>> FComponents;
  uint32_t FState{0};
};

// Owned components of owner, in creation order, that are of class T.
template <class T>
std::vector<T*> ComponentsOf(const TComponent& owner) {
  std::vector<T*> out;
  for (int i = 0; i < owner.ComponentCount(); ++i)
    if (auto* c = dynamic_cast<T*>(owner.Component(i))) out.push_back(c);
  return out;
}
