// Shared set-up of the control skinning tests: a skin data component holding
// the packed embedded skin, the skin's own bitmaps from assets/skin, a form
// to put controls on, and pixels read back from what a window shows.
#pragma once

#include "skin/Bitmap.h"
#include "skin/SkinElements.h"
#include "skin/SkinHolder.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <windows.h>

#include <memory>
#include <string>

namespace skintest {

// A skin data component with the embedded skin loaded (Data() non-null).
std::unique_ptr<skin::TSkinHolder> MakeHolder();

// A bitmap of assets/skin, read with the program's own BMP reader.
skin::Pixmap AssetBitmap(const std::string& name);

// Frame `index` of `frames` of `bitmap` composed at w x h, as the skin draws it.
skin::Pixmap ExpectedFrame(const skin::Pixmap& bitmap, const skin::TSkinMargins& margins, bool tile,
                           int frames, int index, int w, int h);

// What the window shows in `r` (client coordinates), after it painted.
skin::Pixmap Capture(HWND window, const RECT& r);
// The whole client area.
skin::Pixmap CaptureClient(HWND window);

// Repaints at once.
void Repaint(HWND window);

// A shown form of the given client size in an application of its own.
struct FormHost {
    FormHost(int width = 400, int height = 200);
    ~FormHost();
    ui::TApplication app;
    ui::TForm* form = nullptr;
};

// Pixels of `a` and `b` that differ, as a count; `box` gets their bounds.
int DiffCount(const skin::Pixmap& a, const skin::Pixmap& b, RECT* box = nullptr);

constexpr skin::TSkinMargins kButtonMargins{5, 5, 5, 5};
constexpr skin::TSkinMargins kProgressMargins{3, 6, 3, 6};

} // namespace skintest
