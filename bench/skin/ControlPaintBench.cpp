// Prints the time of one paint of a push button (105 x 25) and of the
// progress bar (272 x 25, one third done), each skinned with the embedded
// skin and as the system paints it unskinned. A paint is a full invalidate
// and immediate update of the control's window: the message path, the face
// composition and the copy to the window. Figures are medians over batches.
#include "skin/SkinHolder.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/SkinProgress.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/ProgressBar.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kBatches = 15;
constexpr int kPaintsPerBatch = 200;

// Microseconds per paint, median of the batches.
double PaintMicros(HWND window) {
    std::vector<double> perPaint;
    for (int b = 0; b < kBatches; ++b) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kPaintsPerBatch; ++i)
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const double us =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0)
                .count();
        perPaint.push_back(us / kPaintsPerBatch);
    }
    std::sort(perPaint.begin(), perPaint.end());
    return perPaint[perPaint.size() / 2];
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : SONDRELK_SKIN_FILE;
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    skin::TSkinHolder holder(nullptr);
    holder.SetSkinFileBytes(file);
    if (!holder.Data()) {
        std::fprintf(stderr, "cannot load the skin file %s\n", path);
        return 1;
    }

    ui::TApplication app;
    auto* form = new ui::TForm(&app);
    form->SetClientSize(342, 130);
    form->Show();
    auto* button = new ui::TButton(form);
    button->SetBounds(20, 20, 105, 25);
    button->SetCaption(L"检测");
    button->SetParent(form);
    auto* bar = new ui::TProgressBar(form);
    bar->SetBounds(35, 64, 272, 25);
    bar->SetRange(0, 3);
    bar->SetPosition(1);
    bar->SetParent(form);
    Pump();

    const double buttonPlain = PaintMicros(button->Handle());
    const double barPlain = PaintMicros(bar->Handle());
    {
        skin::TSkinControlList list;
        (new skin::TSkinButton(button))->Attach(*button, &list, holder, false);
        (new skin::TSkinProgress(bar))->Attach(*bar, &list, holder, false);
        Pump();
        const double buttonSkinned = PaintMicros(button->Handle());
        const double barSkinned = PaintMicros(bar->Handle());
        std::printf("one paint, median of %d batches of %d:\n", kBatches, kPaintsPerBatch);
        std::printf("  push button 105 x 25   skinned %8.1f us   unskinned %8.1f us\n",
                    buttonSkinned, buttonPlain);
        std::printf("  progress bar 272 x 25  skinned %8.1f us   unskinned %8.1f us\n", barSkinned,
                    barPlain);
    }
    return 0;
}
