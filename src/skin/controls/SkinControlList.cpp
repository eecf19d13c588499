// Placeholder until the control skinning objects land: no object is ever
// created, so the list stays empty.
#include "skin/controls/SkinControlList.h"

#include <algorithm>

namespace skin {

TSkinControlList::~TSkinControlList() = default;

bool TSkinControlList::Register(TSkinControl* object) {
    if (std::find(items_.begin(), items_.end(), object) != items_.end()) return true;
    items_.push_back(object);
    return false;
}

void TSkinControlList::Unregister(TSkinControl* object) {
    std::erase(items_, object);
}

void TSkinControlList::Purge() {}
void TSkinControlList::ReleaseAll() {}
void TSkinControlList::ReapplyAll() {}

TSkinControl* TSkinControlList::FindControl(const ui::TControl*) const {
    return nullptr;
}

TSkinControl* TSkinControlList::FindWindow(HWND) const {
    return nullptr;
}

} // namespace skin
