// Ownership of components.
#include "platform/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->Insert(this);
}

TComponent::~TComponent() {
  if (peer_ != nullptr) peer_->ComponentDestroyed();
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
  if (owner_ != nullptr) owner_->Remove(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (c->Name == name) return c;
  return nullptr;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}
