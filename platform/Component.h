// TObject and TComponent: the base of every component, and who frees whom.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

class TComponent;

// The window back-end's side of one component. Components tell it when
// something a person can see has changed; headless, no component has one.
class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Changed() = 0;
  // The component is being destroyed: forget it.
  virtual void ComponentDestroyed() {}
};

// A component belongs to its owner, which frees it. The owner frees its
// components in the reverse order of their creation, as C++ frees members, so
// a component can still use the ones made before it while it is destroyed.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // The owned component with that name, or none.
  TComponent* FindComponent(const std::string& name) const;

  std::string Name;

  // The back-end attaches itself here; it must outlive the component or detach.
  void SetPeer(ComponentPeer* peer) { peer_ = peer; }
  ComponentPeer* Peer() const { return peer_; }

 protected:
  // Tells the back-end, if any, that a visible property has changed.
  void Changed() {
    if (peer_ != nullptr) peer_->Changed();
  }

 private:
  void Insert(TComponent* component) { components_.push_back(component); }
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  ComponentPeer* peer_ = nullptr;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
