#include "ui/Control.h"

#include "ui/Messages.h"
#include "ui/WinControl.h"

#include <cerrno>
#include <cwchar>
#include <exception>
#include <stdexcept>

namespace ui {

namespace {

TExceptionReporter& Reporter() {
    static TExceptionReporter reporter;
    return reporter;
}

const TPropInfo kControlProps[] = {
    {L"Caption", [](const TControl& c) -> TPropValue { return c.Caption(); },
     [](TControl& c, const TPropValue& v) { c.SetCaption(std::get<std::wstring>(v)); }},
    {L"Visible", [](const TControl& c) -> TPropValue { return c.Visible(); },
     [](TControl& c, const TPropValue& v) { c.SetVisible(std::get<bool>(v)); }},
    {L"Enabled", [](const TControl& c) -> TPropValue { return c.Enabled(); },
     [](TControl& c, const TPropValue& v) { c.SetEnabled(std::get<bool>(v)); }},
    {L"Color", [](const TControl& c) -> TPropValue { return static_cast<long long>(c.Color()); },
     [](TControl& c, const TPropValue& v) {
         c.SetColor(static_cast<TColor>(std::get<long long>(v)));
     }},
    {L"Left", [](const TControl& c) -> TPropValue { return static_cast<long long>(c.Left()); },
     nullptr},
    {L"Top", [](const TControl& c) -> TPropValue { return static_cast<long long>(c.Top()); },
     nullptr},
    {L"Width", [](const TControl& c) -> TPropValue { return static_cast<long long>(c.Width()); },
     nullptr},
    {L"Height", [](const TControl& c) -> TPropValue { return static_cast<long long>(c.Height()); },
     nullptr},
    {L"Tag", [](const TControl& c) -> TPropValue { return c.Tag; },
     [](TControl& c, const TPropValue& v) { c.Tag = std::get<long long>(v); }},
    {L"Name", [](const TControl& c) -> TPropValue { return c.Name(); }, nullptr},
    {L"Font",
     [](const TControl& c) -> TPropValue {
         return TPropObject{&c.Font(), nullptr};
     },
     nullptr},
};

} // namespace

void SetExceptionReporter(TExceptionReporter reporter) {
    Reporter() = std::move(reporter);
}

void ReportException(std::exception_ptr e) {
    if (Reporter()) {
        try {
            Reporter()(e);
        } catch (...) {
            // A failing reporter must not unwind into the system.
        }
    }
}

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring ExceptionText(std::exception_ptr e) {
    try {
        if (e) std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return Utf8ToWide(ex.what());
    } catch (...) {
    }
    return L"Unknown error";
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
    DestroyComponents();
    if (parent_) parent_->RemoveControl(this);
}

std::vector<std::wstring> TControl::ClassChain() const {
    return {L"TControl", L"TComponent", L"TPersistent", L"TObject"};
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) parent_->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    Invalidate();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
    if (visible) Invalidate();
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetCaption(const std::wstring& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    TextChanged();
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetFont(const TFont& font) {
    font_ = font;
    FontChanged();
    Perform(CM_FONTCHANGED);
    Invalidate();
}

TColor TControl::Color() const {
    return ParentColor && parent_ ? parent_->Color() : color_;
}

void TControl::SetColor(TColor color) {
    ParentColor = false;
    if (color_ == color) return;
    color_ = color;
    ColorChanged();
    Perform(CM_COLORCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, FALSE);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::WndProc(TMessage& msg) {
    DefaultHandler(msg);
}

const TPropInfo* TControl::FindIn(std::span<const TPropInfo> table, const std::wstring& name) {
    for (const TPropInfo& p : table)
        if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TPropInfo* TControl::FindProp(const std::wstring& name) const {
    return FindIn(kControlProps, name);
}

std::optional<TPropValue> TControl::GetPropValue(const std::wstring& name) const {
    const TPropInfo* p = FindProp(name);
    if (!p) return std::nullopt;
    return p->Get(*this);
}

long long PropInt(const TControl& control, const std::wstring& name) {
    const auto v = control.GetPropValue(name);
    if (!v) return -1;
    if (const long long* i = std::get_if<long long>(&*v)) return *i;
    return -1;
}

std::wstring PropEnumName(const TControl& control, const std::wstring& name) {
    const auto v = control.GetPropValue(name);
    if (!v) return {};
    if (const bool* b = std::get_if<bool>(&*v)) return *b ? L"true" : L"false";
    if (const TEnumName* e = std::get_if<TEnumName>(&*v)) return e->Name;
    return {};
}

std::wstring PropText(const TControl& control, const std::wstring& name) {
    const auto v = control.GetPropValue(name);
    if (!v) return {};
    if (const std::wstring* s = std::get_if<std::wstring>(&*v)) return *s;
    return {};
}

TPropObject PropObject(const TControl& control, const std::wstring& name) {
    const auto v = control.GetPropValue(name);
    if (!v) return {};
    if (const TPropObject* o = std::get_if<TPropObject>(&*v)) return *o;
    return {};
}

bool HasProp(const TControl& control, const std::wstring& name) {
    return control.FindProp(name) != nullptr;
}

bool SetPropText(TControl& control, const std::wstring& name, const std::wstring& text) {
    const auto current = control.GetPropValue(name);
    if (!current) return false;
    switch (current->index()) {
    case 0: { // integer
        wchar_t* end = nullptr;
        errno = 0;
        const long long v = std::wcstoll(text.c_str(), &end, 10);
        if (text.empty() || *end != L'\0' || errno == ERANGE) return false;
        return control.SetPropValue(name, v);
    }
    case 1: // boolean
        if (SameText(text, L"True")) return control.SetPropValue(name, true);
        if (SameText(text, L"False")) return control.SetPropValue(name, false);
        return false;
    case 2:
        return control.SetPropValue(name, text);
    case 3:
        return control.SetPropValue(name, TEnumName{text});
    default: // objects are not set from text
        return false;
    }
}

bool TControl::SetPropValue(const std::wstring& name, const TPropValue& value) {
    const TPropInfo* p = FindProp(name);
    if (!p || !p->Set) return false;
    try {
        p->Set(*this, value);
    } catch (const std::bad_variant_access&) {
        return false;
    } catch (const std::invalid_argument&) {
        return false; // an enumeration member name that the property does not have
    }
    return true;
}

} // namespace ui
