#include "public/rdcontrol/Component.h"

#include <algorithm>

#include "platform/EventLoop.h"
#include "platform/TextCodec.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info = TPropertyTable<TComponent>("TComponent", &TPersistent::StaticClass())
                                     .String("Name", &TComponent::Name, &TComponent::SetName)
                                     .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
                                     .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) {
    owner->FComponents.emplace_back(this);
    FOwner = owner;
  }
}

TComponent::~TComponent() {
  FState |= csDestroying;
  // The last created goes first, so later components never see earlier ones already gone.
  while (!FComponents.empty()) {
    std::unique_ptr<TComponent> c = std::move(FComponents.back());
    FComponents.pop_back();
    c->FOwner = nullptr;
    c.reset();
  }
  if (FOwner) {
    TComponent* owner = FOwner;
    RemoveFromOwner();
    owner->Root()->Notification(this, opRemove);
  }
}

void TComponent::RemoveFromOwner() {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  auto it = std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == this; });
  if (it != list.end()) {
    (void)it->release();  // this object is being destroyed or handed on by the caller
    list.erase(it);
  }
  FOwner = nullptr;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  std::string n(name);
  for (const auto& c : FComponents)
    if (SameText(c->FName, n)) return c.get();
  return nullptr;
}

TComponent* TComponent::Root() {
  TComponent* c = this;
  while (c->FOwner) c = c->FOwner;
  return c;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  if (!component) return;
  if (component->FOwner) {
    std::unique_ptr<TComponent> again = component->FOwner->ExtractComponent(component.get());
    (void)again.release();  // the same object; ownership stays with component
  }
  component->FOwner = this;
  FComponents.push_back(std::move(component));
}

std::unique_ptr<TComponent> TComponent::ExtractComponent(TComponent* component) {
  auto it = std::find_if(FComponents.begin(), FComponents.end(),
                         [component](const auto& p) { return p.get() == component; });
  if (it == FComponents.end()) return nullptr;
  std::unique_ptr<TComponent> out = std::move(*it);
  FComponents.erase(it);
  out->FOwner = nullptr;
  return out;
}

void TComponent::SetStateFlag(TComponentStateFlag flag, bool on) {
  if (on)
    FState |= flag;
  else
    FState &= ~uint32_t(flag);
}

void TComponent::Loaded() {
  FState &= ~uint32_t(csLoading | csReading);
}

void TComponent::Release() {
  if (!FOwner) return;  // an ownerless component belongs to its creator's unique_ptr
  TComponent* owner = FOwner;
  std::unique_ptr<TComponent> self = owner->ExtractComponent(this);
  owner->Root()->Notification(this, opRemove);
  TEventLoop::Main().DeleteLater(std::move(self));
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  for (const auto& c : FComponents)
    if (c.get() != component) c->Notification(component, operation);
}
