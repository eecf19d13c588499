#include "skin/controls/SkinControlList.h"

#include "skin/controls/SkinControl.h"

#include <algorithm>

namespace skin {

TSkinControlList::~TSkinControlList() {
    ReleaseAll();
}

bool TSkinControlList::Register(TSkinControl* object) {
    if (!object) return false;
    if (std::find(items_.begin(), items_.end(), object) != items_.end()) return true;
    items_.push_back(object);
    return false;
}

void TSkinControlList::Unregister(TSkinControl* object) {
    std::erase(items_, object);
}

void TSkinControlList::Purge() {
    std::vector<TSkinControl*> dead;
    for (TSkinControl* object : items_)
        if (object->LifeState() == kLifeWindowDestroyed) dead.push_back(object);
    for (TSkinControl* object : dead) {
        Unregister(object);
        object->ForgetList();
        delete object;
    }
}

void TSkinControlList::ReleaseAll() {
    for (TSkinControl* object : std::vector<TSkinControl*>(items_))
        if (object->LifeState() != kLifeWindowDestroyed) object->Detach();
    while (!items_.empty()) {
        TSkinControl* object = items_.front();
        items_.erase(items_.begin());
        object->ForgetList();
        delete object; // gives its control's handler or window procedure back
    }
}

void TSkinControlList::ReapplyAll() {
    for (TSkinControl* object : std::vector<TSkinControl*>(items_))
        if (object->LifeState() != kLifeWindowDestroyed) object->Reapply();
}

TSkinControl* TSkinControlList::FindControl(const ui::TControl* control) const {
    if (!control) return nullptr;
    for (TSkinControl* object : items_)
        if (object->Control() == control || object->PaintTarget() == control) return object;
    return nullptr;
}

TSkinControl* TSkinControlList::FindWindow(HWND window) const {
    if (!window) return nullptr;
    for (TSkinControl* object : items_)
        if (object->Window() == window) return object;
    return nullptr;
}

} // namespace skin
