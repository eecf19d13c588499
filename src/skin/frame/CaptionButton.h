// Clickable objects in a skinned window's non-client area. TFrameObject holds
// the state machine every such object shares (normal, hot, pressed, with one
// current object per window); TCaptionButton is one caption button of the
// skin: the close, maximise and minimise buttons, the window icon, and the
// buttons of a maximised MDI child.
#pragma once

#include "skin/Bitmap.h"

#include <windows.h>

namespace skin {

class TFramePainter;
class TSkinCaptionButtonDef;

// Caption button actions with a meaning of their own.
enum TCaptionAction : int {
    caClose = 0,
    caMaximize = 1,
    caMinimize = 2,
    caSystemMenu = 3,
    caMdiMinimize = 7,
    caMdiRestore = 8,
    caMdiClose = 9,
    caSystemMenuIcon = 11,
    caSystemMenuAlt = 12,
    caMaximizeAlt = 22,
    caMinimizeAlt = 23,
    caMdiMinimizeAlt = 60,
    caMdiRestoreAlt = 61,
    caMdiCloseAlt = 62,
};

// Button states; they double as the frame drawn for a state change.
enum TButtonState : int { bsNormal = 1, bsPressed = 2, bsHot = 3 };

class TFrameObject {
public:
    explicit TFrameObject(TFramePainter& painter) : painter_(painter) {}
    virtual ~TFrameObject() = default;
    TFrameObject(const TFrameObject&) = delete;
    TFrameObject& operator=(const TFrameObject&) = delete;

    virtual void Press();
    virtual void Release();
    virtual void Hover();
    virtual void Leave();
    virtual void Repaint() {}

    TFramePainter& Painter() const { return painter_; }
    RECT Bounds{};
    bool Visible = false;
    int State = bsNormal;

private:
    TFramePainter& painter_;
};

class TCaptionButton : public TFrameObject {
public:
    TCaptionButton(TFramePainter& painter, TSkinCaptionButtonDef& def)
        : TFrameObject(painter), def_(def) {}

    TSkinCaptionButtonDef& Def() const { return def_; }
    int Action() const;
    bool IsIconButton() const;
    bool IsMdiButton() const;

    // Draws the button in its state onto the window.
    void Repaint() override;
    // Draws the button as a full caption paint shows it onto `canvas`, whose
    // origin is the window's top-left corner.
    void DrawNormal(Pixmap& canvas) const;

private:
    TSkinCaptionButtonDef& def_;
};

} // namespace skin
