// TSkinControl: the base of every control skinning object. Attached to a
// control, it sees each of the control's messages first, paints the control
// from skin elements and tracks the hot and pressed states.
//
// Two ways to attach: framework mode takes over a framework control's
// WindowProc; window mode replaces the window procedure of a bare window (a
// button inside a message box) and finds its object again through a window
// property. Either way the old handler is kept, every message the object does
// not consume goes on to it, and it is put back when the object goes.
#pragma once

#include "platform/GdiHandles.h"
#include "skin/Bitmap.h"
#include "skin/SkinTypes.h"
#include "ui/Control.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace skin {

class TSkinHolder;
class TSkinControlList;
struct TSkinData;

// Life states of a skinning object.
constexpr int kLifeAttached = 1;
constexpr int kLifeWindowDestroyed = 6;

// State flag bits.
constexpr std::uint8_t kStateHot = 0x01;
constexpr std::uint8_t kStatePressed = 0x02;

// An off-screen 32-bit picture of a control's size. It keeps its memory DC and
// DIB section between paints and makes new ones only when the size changes,
// so repainting creates no GDI objects.
class TFaceBitmap {
public:
    TFaceBitmap() = default;
    TFaceBitmap(const TFaceBitmap&) = delete;
    TFaceBitmap& operator=(const TFaceBitmap&) = delete;
    ~TFaceBitmap();

    // Makes the picture width x height (both at least 1); false when the
    // system refuses. The DC keeps its selected font, colours and modes.
    bool Resize(int width, int height);
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Copies an image 1:1 to (x, y), clipped to the picture; with
    // `transparent`, pixels of the key colour leave the picture unchanged.
    void Put(const Pixmap& image, int x, int y, bool transparent, Colour key = kMagenta);
    void Fill(COLORREF colour);
    // Copies the picture to `dc` at (x, y) in one step.
    void CopyTo(HDC dc, int x, int y) const;

private:
    platform::MemoryDC dc_{nullptr};
    platform::Bitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

class TSkinControl : public ui::TComponent {
public:
    // The owner frees the object: the control in framework mode, nobody (the
    // list) in window mode.
    explicit TSkinControl(ui::TComponent* owner);
    ~TSkinControl() override;
    std::wstring ClassName() const override { return L"TSkinControl"; }

    // Framework mode: takes over `control`'s WindowProc and registers with
    // `list`. A second Attach does nothing.
    virtual void Attach(ui::TControl& control, TSkinControlList* list, TSkinHolder& holder,
                        bool ownsColour);
    // Window mode: replaces `window`'s procedure and registers with `list`.
    virtual void AttachWindow(HWND window, TSkinHolder& holder, TSkinControlList* list);
    // Gives back the colour and background settings taken at attach.
    virtual void Detach();
    // True lets the previous handler run (then AfterMessage); false consumes
    // the message, whose Result has been set.
    virtual bool BeforeMessage(ui::TMessage& msg);
    virtual void AfterMessage(ui::TMessage& msg);
    // Paints the window now: into `dc`, or into its window DC when null.
    virtual void PaintWindow(HDC dc);
    virtual void Paint(HDC dc, const RECT& rect) {
        (void)dc;
        (void)rect;
    }
    // Takes the skin colour again and repaints (after a skin change).
    virtual void Reapply();

    // Every message of the control or window passes through here.
    void HandleMessage(ui::TMessage& msg);
    // The replaced handler or procedure, with the same message.
    void CallPrevious(ui::TMessage& msg);
    // Repaints: the paint target's invalidation, else an erase-invalidate and
    // an immediate update of the window.
    void Refresh();

    // ---- state, for the list, the dispatch and tests ----
    HWND Window() const { return window_; }
    ui::TControl* Control() const { return control_; }
    // The windowless control this object paints (speed buttons), or null.
    ui::TControl* PaintTarget() const { return paintTarget_; }
    int LifeState() const { return lifeState_; }
    bool Active() const { return active_; }
    bool Attached() const { return attached_; }
    bool OwnsColour() const { return ownsColour_; }
    std::uint8_t State() const { return state_; }
    // The caption as last painted.
    const std::wstring& Text() const { return text_; }
    int Kind = 0;
    TSkinControlList* List() const { return list_; }
    // The list forgets the object (the list is going away).
    void ForgetList() { list_ = nullptr; }

protected:
    // ---- operations shared by the family ----
    const TSkinData* Data() const;
    TSkinHolder* Holder() const { return holder_; }
    COLORREF ButtonFace() const;
    void FillColour(HDC dc, const RECT& r, COLORREF colour) const;
    void FillButtonFace(HDC dc, const RECT& r) const;
    // The parent's integer Color, else ButtonFace.
    void FillParentColour(HDC dc, const RECT& r) const;
    // Draws the parent's background (erase, then paint) into `dc` as the
    // part under the control.
    void PaintParentBackground(HDC dc) const;
    // A dotted focus rectangle around `text` drawn with `format` in `r`.
    void FocusMarkAroundText(HDC dc, const std::wstring& text, UINT format, const RECT& r) const;
    // DT_RTLREADING when the control reads right to left.
    UINT RtlFlags() const;
    void TrackMouseLeave() const;
    std::wstring WindowText() const;
    // The caption with its font and colour: the control's "Caption" and
    // "Font", or for a bare window its text, its WM_GETFONT font and
    // `bareColour`. Remembers the caption as the text last read.
    struct TCaptionLook {
        std::wstring Text;
        HFONT Font = nullptr;
        COLORREF Colour = 0;
    };
    TCaptionLook ReadCaptionLook(COLORREF bareColour);
    bool IsUnicodeWindow() const { return unicode_; }
    // WM_PAINT as the painting classes answer it: BeginPaint unless wParam
    // holds a DC, then Paint over the whole client.
    void StandardPaint(ui::TMessage& msg);
    // The previous handler runs through this for window-mode objects.
    static LRESULT CALLBACK WindowModeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void SetState(std::uint8_t bits, bool on) {
        state_ = on ? static_cast<std::uint8_t>(state_ | bits)
                    : static_cast<std::uint8_t>(state_ & ~bits);
    }
    bool Hot() const { return (state_ & kStateHot) != 0; }
    bool Pressed() const { return (state_ & kStatePressed) != 0; }

    // Framework mode with a windowless control: its invalidation stands for
    // this object's refresh.
    ui::TControl* paintTarget_ = nullptr;
    ui::TWndMethod previousHandler_;
    ui::TControl* control_ = nullptr;
    HWND window_ = nullptr;
    TSkinHolder* holder_ = nullptr;
    TSkinControlList* list_ = nullptr;
    RECT windowRect_{};
    std::wstring text_;
    bool enabled_ = true;
    bool focused_ = false;
    bool attached_ = false;
    int lifeState_ = 0;

private:
    void RestoreWindowProc();
    void AdjustParentBackground(bool attaching);

    std::uint8_t state_ = 0;
    bool active_ = true;
    bool unicode_ = true;
    bool ownsColour_ = false;
    ui::TColor savedColour_ = 0;
    bool parentBackgroundWasOn_ = false;
    WNDPROC previousProc_ = nullptr; // window mode
    bool procInstalled_ = false;
};

} // namespace skin
