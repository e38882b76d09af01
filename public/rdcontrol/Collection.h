#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "public/rdcontrol/Persistent.h"

class TCollection;

// One item of a collection: a persistent object whose published properties a description
// stores between "item" and "end".
class TCollectionItem : public TPersistent {
  QVB_PERSISTENT(TCollectionItem)

 public:
  explicit TCollectionItem(TCollection* collection = nullptr) : FCollection(collection) {}

  TCollection* Collection() const { return FCollection; }
  int Index() const;
  virtual std::string DisplayName() const { return ClassName(); }
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection that a property of the item changed.
  void Changed();

 private:
  friend class TCollection;
  TCollection* FCollection;
};

// An ordered list of items of one class, owned by the collection. The item class is given by a
// factory, so that a description's "<item ... end>" blocks create the right kind.
class TCollection : public TPersistent {
  QVB_PERSISTENT(TCollection)

 public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection& collection)>;

  TCollection(TPersistent* owner, TItemFactory factory) : FOwner(owner), FFactory(std::move(factory)) {}

  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int index) const {
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
  }
  template <class T>
  T* Item(int index) const {
    return dynamic_cast<T*>(Items(index));
  }
  TCollectionItem& Add();
  TCollectionItem& Insert(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  // A new item that is not part of the collection (the writer compares against it).
  std::unique_ptr<TCollectionItem> NewItem() { return FFactory(*this); }

  // Copies the items of another collection (same item class), each through Assign.
  void Assign(const TPersistent& source) override;
  TPersistent* GetOwner() const override { return FOwner; }

  // Called after items were added, removed or changed.
  std::function<void()> OnChange;

 protected:
  friend class TCollectionItem;
  void Changed() {
    if (OnChange && FUpdateCount == 0) OnChange();
  }

 private:
  TPersistent* FOwner;
  TItemFactory FFactory;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FUpdateCount{0};
};
