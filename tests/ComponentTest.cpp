// Components: who frees whom, in what order, and finding one by name.
#include "platform/Component.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

// Writes its name into a shared log when it is destroyed.
class Recorder : public TComponent {
 public:
  Recorder(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    Name = std::move(name);
  }
  ~Recorder() override { log_.push_back(Name); }

 private:
  std::vector<std::string>& log_;
};

TEST(Component, AnOwnerFreesItsComponentsInReverseOrderOfCreation) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new Recorder(&owner, "Image1", log);
    new Recorder(&owner, "Timer1", log);
    new Recorder(&owner, "Sprite1", log);
    EXPECT_EQ(owner.ComponentCount(), 3);
    EXPECT_TRUE(log.empty());
  }
  EXPECT_THAT(log, ElementsAre("Sprite1", "Timer1", "Image1"));
}

TEST(Component, OwnershipNestsAndEachLevelFreesItsOwn) {
  std::vector<std::string> log;
  {
    auto* window = new Recorder(nullptr, "Form1", log);
    auto* menu = new Recorder(window, "MainMenu1", log);
    new Recorder(menu, "Game1", log);
    new Recorder(menu, "Help1", log);
    new Recorder(window, "Label1", log);
    EXPECT_EQ(window->ComponentCount(), 2);
    EXPECT_EQ(menu->ComponentCount(), 2);
    delete window;
  }
  // Each component's own destructor runs before the base frees what it owns.
  EXPECT_THAT(log, ElementsAre("Form1", "Label1", "MainMenu1", "Help1", "Game1"));
}

TEST(Component, AComponentDeletedDirectlyLeavesItsOwnersList) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new Recorder(&owner, "First", log);
    auto* middle = new Recorder(&owner, "Middle", log);
    new Recorder(&owner, "Last", log);
    delete middle;
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.FindComponent("Middle"), nullptr);
    std::vector<std::string> left;
    for (const TComponent* c : owner.Components()) left.push_back(c->Name);
    EXPECT_THAT(left, ElementsAre("First", "Last"));
  }
  // Freed once each: the sanitizer build reports a second free.
  EXPECT_THAT(log, ElementsAre("Middle", "Last", "First"));
}

// A component whose destructor frees a sibling, as a window may free a control it made.
class Freer : public TComponent {
 public:
  Freer(TComponent* owner, TComponent* victim) : TComponent(owner), victim_(victim) {}
  ~Freer() override { delete victim_; }

 private:
  TComponent* victim_;
};

TEST(Component, ASiblingFreedDuringTheOwnersTeardownIsNotFreedAgain) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    auto* victim = new Recorder(&owner, "Victim", log);
    new Recorder(&owner, "Bystander", log);
    new Freer(&owner, victim);
  }
  EXPECT_THAT(log, ElementsAre("Victim", "Bystander"));
}

TEST(Component, FindComponentLooksOnlyAmongTheOwnersOwnComponents) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* image = new Recorder(&owner, "Image1", log);
  auto* unnamed = new TComponent(&owner);
  new Recorder(image, "Inner", log);
  EXPECT_EQ(owner.FindComponent("Image1"), image);
  EXPECT_EQ(owner.FindComponent("Image2"), nullptr);
  EXPECT_EQ(owner.FindComponent("Inner"), nullptr) << "only direct components are searched";
  EXPECT_EQ(owner.FindComponent(""), nullptr) << "an unnamed component is not found by the empty name";
  EXPECT_EQ(image->Owner(), &owner);
  EXPECT_EQ(unnamed->Owner(), &owner);
  EXPECT_THAT(owner.Components(), ElementsAre(image, unnamed));
}

class RecordingPeer : public ComponentPeer {
 public:
  void Changed() override { ++changes; }
  void ComponentDestroyed() override { destroyed = true; }
  int changes = 0;
  bool destroyed = false;
};

TEST(Component, ThePeerHearsOfTheComponentsEnd) {
  RecordingPeer peer;
  {
    TComponent component(nullptr);
    component.SetPeer(&peer);
    EXPECT_EQ(component.Peer(), &peer);
  }
  EXPECT_TRUE(peer.destroyed);
}

}  // namespace
