// The skinning objects of one skinned window. The window's frame painter owns
// the list; the skinning objects know only this interface, never the painter.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {
class TControl;
}

namespace skin {

class TSkinControl;

class TSkinControlList {
public:
    TSkinControlList() = default;
    TSkinControlList(const TSkinControlList&) = delete;
    TSkinControlList& operator=(const TSkinControlList&) = delete;
    // Releases every object still in the list.
    ~TSkinControlList();

    // Appends `object` unless it is listed already; true when it was.
    bool Register(TSkinControl* object);
    // Removes `object` (its destructor calls this).
    void Unregister(TSkinControl* object);
    // Removes and frees every object whose window has been destroyed.
    void Purge();
    // Detaches every object whose window still lives, then removes and frees
    // each object, first to last: every replaced window procedure goes back.
    void ReleaseAll();
    // Sets every object's skin colours again and repaints it (a new skin).
    void ReapplyAll();

    // The object attached to `control` or to `window`, or null.
    TSkinControl* FindControl(const ui::TControl* control) const;
    TSkinControl* FindWindow(HWND window) const;
    const std::vector<TSkinControl*>& Items() const { return items_; }

private:
    std::vector<TSkinControl*> items_;
};

} // namespace skin
