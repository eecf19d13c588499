// TWinControl: a control that owns a window. Its window procedure routes
// every message to WindowProc; the default handling ends in the window class's
// original procedure (DefWindowProc for our own classes, the system control's
// procedure for the ones we superclass). Windows are registered under the
// framework class name (TButton, TForm1, ...), which is what the skin engine
// goes by. The parent paints its graphic children and routes mouse messages,
// mouse enter/leave and cursor requests to them.
#pragma once

#include "ui/Control.h"

#include <vector>

namespace ui {

struct TCreateParams {
    std::wstring WinClassName;          // registered under this name
    const wchar_t* BaseClass = nullptr; // system class to superclass, or nullptr
    DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    HWND WndParent = nullptr;
    int X = 0, Y = 0, Width = 0, Height = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    std::wstring ClassName() const override { return L"TWinControl"; }
    std::vector<std::wstring> ClassChain() const override;

    HWND Handle();
    HWND HandleIfAllocated() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    void DestroyHandle();
    void RecreateWnd();

    int TabOrder = -1;
    bool TabStop = false;
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // Child controls in creation order (the order they were parented).
    const std::vector<TControl*>& Controls() const { return controls_; }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The visible, enabled graphic child under a client point, or nullptr.
    TControl* GraphicControlAt(POINT p) const;

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void Invalidate() override;
    void Update();

    // The control whose window is hwnd, or nullptr.
    static TWinControl* FromHandle(HWND hwnd);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: fonts, texts and state pushed to it.
    virtual void WindowCreated() {}
    // Our own classes paint everything here into an off-screen bitmap.
    virtual void PaintWindow(HDC dc);
    bool PaintsItself() const { return ownClass_; }

    void WndProc(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;

    void VisibleChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);

    void Attach(HWND hwnd);
    void Detach();
    void PaintHandler();
    void PaintControls(HDC dc, const RECT& clip);
    bool RouteMouse(TMessage& msg);
    void SetHovered(TControl* control);
    bool HandleSetCursor(TMessage& msg);

    HWND handle_ = nullptr;
    WNDPROC defProc_ = DefWindowProcW;
    bool ownClass_ = true;
    std::vector<TControl*> controls_;
    TControl* captured_ = nullptr; // graphic child that got the button press
    TControl* hovered_ = nullptr;  // graphic child under the mouse
    bool trackingLeave_ = false;
};

// The control of a window, or of its nearest ancestor that is one (the focus
// may be in a system window inside a control); nullptr when there is none.
TWinControl* FindControl(HWND hwnd);

} // namespace ui
