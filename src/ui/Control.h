// TControl: everything a visible control has, windowed or not. Every message
// of a control passes through WindowProc, a replaceable handler whose default
// is the control's own WndProc; the skin engine swaps it to take over a
// control's painting and puts the old one back when it lets go.
#pragma once

#include "ui/Component.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>

namespace ui {

class TWinControl;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;
using TNotifyEvent = std::function<void(TComponent* sender)>;

// The value of an enumerated property, by its member's name ("taCenter").
struct TEnumName {
    std::wstring Name;
    friend bool operator==(const TEnumName&, const TEnumName&) = default;
};
// The object an object property holds; at most one member is set.
struct TPropObject {
    const TFont* Font = nullptr;
    HBITMAP Bitmap = nullptr;
    friend bool operator==(const TPropObject&, const TPropObject&) = default;
};

// A published property's value, as read and written by name.
using TPropValue = std::variant<long long, bool, std::wstring, TEnumName, TPropObject>;

// Enumerated properties name their members in declaration order.
template <typename E> TPropValue EnumValue(E value, std::span<const wchar_t* const> names) {
    const auto i = static_cast<std::size_t>(value);
    return TEnumName{i < names.size() ? names[i] : L""};
}
// The member a TEnumName value names (case-insensitive); throws
// std::invalid_argument for a name the enumeration lacks.
template <typename E> E EnumFrom(const TPropValue& value, std::span<const wchar_t* const> names) {
    const std::wstring& name = std::get<TEnumName>(value).Name;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return static_cast<E>(i);
    throw std::invalid_argument("no such enumeration member");
}

class TControl;
struct TPropInfo {
    const wchar_t* Name;
    TPropValue (*Get)(const TControl&);
    void (*Set)(TControl&, const TPropValue&); // nullptr: read-only
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    std::wstring ClassName() const override { return L"TControl"; }
    std::vector<std::wstring> ClassChain() const override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int left, int top, int width, int height);
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    // With ParentColor the control shows its parent's colour, whatever that
    // becomes; setting a colour of its own ends that.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor = false;
    TCursor Cursor = TCursor::crDefault;

    TNotifyEvent OnClick;

    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual void Invalidate();
    virtual void Click();

    // Published properties by name (the skin engine reaches controls it does
    // not know this way). Names compare without regard to case.
    std::optional<TPropValue> GetPropValue(const std::wstring& name) const;
    bool SetPropValue(const std::wstring& name, const TPropValue& value);
    virtual const TPropInfo* FindProp(const std::wstring& name) const;

    // Bounds in the coordinates of the parent window's client area.
    POINT ClientToParent(POINT p) const { return {p.x + left_, p.y + top_}; }

protected:
    // The control's own message handling; WindowProc ends here by default.
    virtual void WndProc(TMessage& msg);
    // What a message does when the control does not handle it.
    virtual void DefaultHandler(TMessage& msg) { (void)msg; }

    virtual void BoundsChanged() {}
    // Records bounds the window already has (after the system moved or sized
    // it): nothing to invalidate, nothing to move.
    void RecordBounds(const RECT& r) {
        left_ = r.left;
        top_ = r.top;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
    }
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() { Invalidate(); }

    static const TPropInfo* FindIn(std::span<const TPropInfo> table, const std::wstring& name);

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring caption_;
    TFont font_;
    TColor color_ = clBtnFace;
};

// Property access by name with the conventions of the skin engine, which
// serves control classes it does not know. Names compare without regard to
// case.
// Integer property, or -1 when the property is missing or not an integer.
long long PropInt(const TControl& control, const std::wstring& name);
// Enumerated property: its member's name, "true"/"false" for a boolean, empty
// when missing.
std::wstring PropEnumName(const TControl& control, const std::wstring& name);
// Text property, or empty.
std::wstring PropText(const TControl& control, const std::wstring& name);
// Object property, or an empty TPropObject.
TPropObject PropObject(const TControl& control, const std::wstring& name);
bool HasProp(const TControl& control, const std::wstring& name);
// Sets a property from text: integers parse it, booleans take "True"/"False",
// enumerations the member's name, strings the text. A missing or read-only
// property, or text that does not fit, is ignored (false).
bool SetPropText(TControl& control, const std::wstring& name, const std::wstring& text);

// Every message that passes through a window's procedure may throw; the
// framework hands what escapes to this reporter (the application's default
// error handler) instead of letting it unwind through the system.
using TExceptionReporter = std::function<void(std::exception_ptr)>;
void SetExceptionReporter(TExceptionReporter reporter);
void ReportException(std::exception_ptr e);

// The text of an exception for the user (UTF-8 what() texts become UTF-16).
std::wstring ExceptionText(std::exception_ptr e);
std::wstring Utf8ToWide(std::string_view text);

} // namespace ui
