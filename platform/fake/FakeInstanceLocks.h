#pragma once
#include <memory>
#include <set>

#include "platform/InstanceLock.h"

// Named locks inside the test process; a name can be marked as held by another process.
class TFakeInstanceLocks : public TInstanceLocks {
public:
  std::unique_ptr<TNamedLock> Acquire(const std::string& name) override;
  void HoldElsewhere(const std::string& name) { FHeld->insert(name); }
  void ReleaseElsewhere(const std::string& name) { FHeld->erase(name); }
  bool IsHeld(const std::string& name) const { return FHeld->count(name) != 0; }

private:
  std::shared_ptr<std::set<std::string>> FHeld{std::make_shared<std::set<std::string>>()};
};
