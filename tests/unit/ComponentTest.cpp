#include <gtest/gtest.h>

#include "platform/EventLoop.h"
#include "public/rdcontrol/Label.h"
#include "public/rdcontrol/Panel.h"
#include "public/rdcontrol/RdForm.h"

namespace {

// Notes its own destruction in a shared log.
class TTraced : public TComponent {
 public:
  TTraced(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), FLog(log) {
    SetName(std::move(name));
  }
  ~TTraced() override { FLog.push_back(Name()); }

 private:
  std::vector<std::string>& FLog;
};

TEST(ComponentTest, OwnerKeepsCreationOrderAndFreesTheLastFirst) {
  std::vector<std::string> freed;
  {
    TComponent owner;
    for (const char* n : {"a", "b", "c"}) new TTraced(&owner, n, freed);
    ASSERT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(owner.Component(0)->Name(), "a");
    EXPECT_EQ(owner.FindComponent("B"), owner.Component(1)) << "names ignore letter case";
    delete owner.Component(1);  // freed early: it leaves the list itself
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.FindComponent("b"), nullptr);

    TComponent other;
    other.InsertComponent(owner.ExtractComponent(owner.Component(0)));
    EXPECT_EQ(other.FindComponent("a")->Owner(), &other);
    EXPECT_EQ(owner.ComponentCount(), 1);
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"b", "a", "c"}));
}

TEST(ComponentTest, ReleaseFreesAfterTheCurrentEvent) {
  TEventLoop loop;
  TEventLoop* previous = TEventLoop::SetMain(&loop);
  std::vector<std::string> freed;
  TComponent owner;
  auto* c = new TTraced(&owner, "self", freed);
  c->Release();  // as from inside one of its own events
  EXPECT_TRUE(freed.empty()) << "still alive until the event returns";
  EXPECT_EQ(owner.ComponentCount(), 0) << "no longer reachable through its owner";
  loop.ProcessPendingMessages();
  EXPECT_EQ(freed, (std::vector<std::string>{"self"}));
  TEventLoop::SetMain(previous);
}

// A control released from its own event leaves its parent at once, so freeing the parent before
// the loop runs cannot free the control a second time.
TEST(ComponentTest, ReleasedControlOutlivesItsParentSafely) {
  TEventLoop loop;
  TEventLoop* previous = TEventLoop::SetMain(&loop);
  TRdForm form;
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* owned = new TLabel(&form);
  owned->SetParent(panel);
  auto* parentOnly = new TLabel(nullptr);
  parentOnly->SetParent(panel);
  owned->Release();
  parentOnly->Release();
  EXPECT_EQ(panel->ControlCount(), 0);
  delete panel;
  loop.ProcessPendingMessages();  // frees both released labels exactly once
  EXPECT_EQ(form.ComponentCount(), 0);
  TEventLoop::SetMain(previous);
}

TEST(ComponentTest, ReferencesToAFreedComponentAreCleared) {
  TRdForm form;
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  ASSERT_TRUE(label->SetFocusControl(panel));
  delete panel;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(ComponentTest, WindowedParentFreesItsChildren) {
  TRdForm form;
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* inner = new TLabel(&form);
  inner->SetParent(panel);
  auto* orphan = new TLabel(nullptr);  // a child without an owner belongs to its parent (a leak shows)
  orphan->SetParent(panel);
  EXPECT_EQ(form.ComponentCount(), 2);
  delete panel;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST(ComponentTest, ControlsFollowTheirParentsFontUntilGivenTheirOwn) {
  TRdForm form;
  form.Font().SetName("Roboto");
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  EXPECT_EQ(label->Font().Name(), "Roboto");
  form.Font().SetHeight(-20);
  EXPECT_EQ(label->Font().Height(), -20);
  label->Font().SetColor(clRed);
  EXPECT_FALSE(label->ParentFont());
  form.Font().SetHeight(-30);
  EXPECT_EQ(label->Font().Height(), -20) << "an own font no longer follows";
  label->SetParentFont(true);
  EXPECT_EQ(label->Font().Height(), -30);
}

}  // namespace
