#include "SkinControlsFixture.h"

#include "skin/GdiImage.h"
#include "skin/ImageOps.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace skintest {

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::unique_ptr<skin::TSkinHolder> MakeHolder() {
    auto holder = std::make_unique<skin::TSkinHolder>(nullptr);
#ifdef SONDRELK_SKIN_FILE
    const std::vector<std::uint8_t> file = ReadFile(SONDRELK_SKIN_FILE);
    holder->SetSkinFileBytes(file);
#endif
    return holder;
}

skin::Pixmap AssetBitmap(const std::string& name) {
    return skin::LoadBmp(ReadFile(std::string(SONDRELK_ASSETS_DIR) + "/skin/" + name));
}

skin::Pixmap ExpectedFrame(const skin::Pixmap& bitmap, const skin::TSkinMargins& margins, bool tile,
                           int frames, int index, int w, int h) {
    return skin::ComposeElement(skin::Rect{0, 0, w, h}, bitmap, margins, false, tile, frames,
                                index);
}

skin::Pixmap Capture(HWND window, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    skin::gdi::DibCanvas canvas(w, h);
    HDC dc = GetDC(window);
    BitBlt(canvas.dc(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas.ToPixmap();
}

skin::Pixmap CaptureClient(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return Capture(window, r);
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing_support::Pump();
}

FormHost::FormHost(int width, int height) {
    form = new ui::TForm(&app);
    form->BorderStyle = ui::TFormBorderStyle::bsSingle;
    form->SetClientSize(width, height);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    testing_support::Pump();
}

FormHost::~FormHost() = default;

int DiffCount(const skin::Pixmap& a, const skin::Pixmap& b, RECT* box) {
    int n = 0;
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    const int w = std::min(a.Width(), b.Width()), h = std::min(a.Height(), b.Height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                ++n;
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (box) *box = n ? bounds : RECT{};
    return n;
}

} // namespace skintest
