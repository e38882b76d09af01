#include "platform/fake/FakeInstanceLocks.h"

namespace {

class TFakeNamedLock : public TNamedLock {
public:
  TFakeNamedLock(std::shared_ptr<std::set<std::string>> held, std::string name)
      : FHeld(std::move(held)), FName(std::move(name)) {}
  ~TFakeNamedLock() override { FHeld->erase(FName); }

private:
  std::shared_ptr<std::set<std::string>> FHeld;
  std::string FName;
};

}  // namespace

// Names are compared exactly, as Windows compares mutex names.
std::unique_ptr<TNamedLock> TFakeInstanceLocks::Acquire(const std::string& name) {
  if (!FHeld->insert(name).second) return nullptr;
  return std::make_unique<TFakeNamedLock>(FHeld, name);
}
