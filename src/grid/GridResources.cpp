#include "grid/GridResources.h"

#include <stdexcept>

namespace grid {

namespace {

constexpr wchar_t kStyleWindowClass[] = L"TDataGridStyleWindow";

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

platform::Bitmap LoadResBitmap(const wchar_t* name) {
    return platform::Bitmap(static_cast<HBITMAP>(
        LoadImageW(Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void AddMasked(HIMAGELIST list, const wchar_t* name, COLORREF transparent) {
    platform::Bitmap bmp = LoadResBitmap(name);
    if (bmp) ImageList_AddMasked(list, bmp.get(), transparent);
}

// The white arrow with yellow where it was white: drawn from a one-image
// list whose white is transparent over a yellow back colour.
platform::Bitmap YellowArrow() {
    platform::Bitmap white = LoadResBitmap(L"GRIDARROWW");
    if (!white) return {};
    HIMAGELIST temp = ImageList_Create(kGlyphWidth, kGlyphHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
    ImageList_AddMasked(temp, white.get(), RGB(255, 255, 255));
    ImageList_SetBkColor(temp, RGB(255, 255, 0));
    platform::WindowDC screen(nullptr);
    platform::Bitmap result(CreateCompatibleBitmap(screen.get(), kGlyphWidth, kGlyphHeight));
    {
        platform::MemoryDC mem(screen.get());
        platform::SelectGuard sel(mem.get(), result.get());
        ImageList_Draw(temp, 0, mem.get(), 0, 0, ILD_NORMAL);
    }
    ImageList_Destroy(temp);
    return result;
}

HCURSOR LoadGridCursor(const wchar_t* name) {
    HCURSOR c = LoadCursorW(Instance(), name);
    if (!c) throw std::runtime_error("Cannot load cursor resource");
    return c;
}

} // namespace

// --- TDataGridStyle ---

TDataGridStyle::TDataGridStyle() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(Instance(), kStyleWindowClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = Instance();
        wc.lpszClassName = kStyleWindowClass;
        RegisterClassExW(&wc);
    }
    // A hidden top-level window: system colour changes are broadcast to those.
    wnd_ = CreateWindowExW(0, kStyleWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           Instance(), nullptr);
    if (wnd_) SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateColorCount();
}

TDataGridStyle::~TDataGridStyle() {
    if (wnd_) {
        SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
        DestroyWindow(wnd_);
    }
}

void TDataGridStyle::UpdateColorCount() {
    platform::WindowDC screen(nullptr);
    numColors_ = GetDeviceCaps(screen.get(), NUMCOLORS);
}

LRESULT CALLBACK TDataGridStyle::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOLORCHANGE)
        if (auto* self = reinterpret_cast<TDataGridStyle*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            self->UpdateColorCount();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// --- TGridResources ---

TGridResources::TGridResources() {
    glyphs_ = ImageList_Create(kGlyphWidth, kGlyphHeight, ILC_COLOR24 | ILC_MASK, 7, 0);
    const COLORREF white = RGB(255, 255, 255), teal = RGB(0, 128, 128);
    AddMasked(glyphs_, L"GRIDARROW", white);
    AddMasked(glyphs_, L"GRIDEDIT", white);
    AddMasked(glyphs_, L"GRIDINSERT", white);
    AddMasked(glyphs_, L"GRIDMULTIDOT", white);
    AddMasked(glyphs_, L"GRIDMULTIARROW", white);
    AddMasked(glyphs_, L"GRIDARROWW", teal);
    if (platform::Bitmap yellow = YellowArrow()) ImageList_AddMasked(glyphs_, yellow.get(), teal);

    sortMarkers_ =
        ImageList_Create(kSortMarkerWidth, kSortMarkerHeight, ILC_COLOR24 | ILC_MASK, 2, 0);
    AddMasked(sortMarkers_, L"GRIDSORTDOWN", RGB(255, 0, 255));
    AddMasked(sortMarkers_, L"GRIDSORTUP", RGB(255, 0, 255));

    LOGFONTW lf{};
    lf.lfHeight = 1 - kSortMarkerHeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, L"Arial");
    sortFont_.reset(CreateFontIndirectW(&lf));

    try {
        downCursor_ = LoadGridCursor(L"GRIDDOWNCUR");
        rightCursor_ = LoadGridCursor(L"GRIDRIGHTCUR");
        leftCursor_ = LoadGridCursor(L"GRIDLEFTCUR");
    } catch (...) {
        ImageList_Destroy(glyphs_);
        ImageList_Destroy(sortMarkers_);
        throw;
    }
}

TGridResources::~TGridResources() {
    // Cursors from LoadCursor are shared resources and are not destroyed.
    ImageList_Destroy(glyphs_);
    ImageList_Destroy(sortMarkers_);
}

TGridResources& GridResources() {
    static TGridResources resources;
    return resources;
}

} // namespace grid
