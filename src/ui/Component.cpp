#include "ui/Component.h"

#include <algorithm>
#include <cwctype>

namespace ui {

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Reverse order of creation; each child unlinks itself from us as it goes.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;
    }
}

bool TComponent::InheritsFrom(const std::wstring& className) const {
    for (const auto& c : ClassChain())
        if (SameText(c, className)) return true;
    return false;
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    for (TComponent* other : components_)
        other->Notification(c);
}

} // namespace ui
