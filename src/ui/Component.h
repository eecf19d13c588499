// TComponent: the root of the framework's object tree. An owner frees what it
// owns, in the reverse order of creation, so that later components (which may
// refer to earlier ones) go first.
#pragma once

#include <string>
#include <vector>

namespace ui {

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    // The framework class name; window classes and the skin engine go by it.
    virtual std::wstring ClassName() const { return L"TComponent"; }
    // The class and its ancestors, nearest first (for lookups by class name).
    virtual std::vector<std::wstring> ClassChain() const { return {L"TComponent", L"TObject"}; }
    bool InheritsFrom(const std::wstring& className) const;

    const std::wstring& Name() const { return name_; }
    void SetName(std::wstring name) { name_ = std::move(name); }
    long long Tag = 0;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Owned component by name (case-insensitive), or nullptr.
    TComponent* FindComponent(const std::wstring& name) const;

    // Another component is about to be destroyed; drop references to it.
    virtual void Notification(TComponent* component) { (void)component; }

protected:
    // Frees the owned components, last first. Controls call it at the start of
    // their destructor, so that owned objects (skinning objects that replaced
    // the control's WindowProc) still find the control whole.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::wstring name_;
    std::vector<TComponent*> components_;
};

bool SameText(const std::wstring& a, const std::wstring& b);

} // namespace ui
