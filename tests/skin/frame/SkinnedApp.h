// The fixture of the skinned-window tests: an application whose first form
// owns an active skin data component with the program's embedded skin. The
// skin manager goes last, after every window.
#pragma once

#include "skin/SkinHolder.h"
#include "skin/SkinManager.h"
#include "skin/frame/FramePainter.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

struct SkinnedApp {
    struct ManagerEnd {
        ~ManagerEnd() { skin::TSkinManager::Destroy(); }
    } managerEnd;
    ui::TApplication app;
    ui::TForm* host = new ui::TForm(&app);
    skin::TSkinHolder* holder = new skin::TSkinHolder(host);

    SkinnedApp() {
        EXPECT_TRUE(holder->LoadStoredSkin(L"SKINHOLDER1"));
        holder->Loaded();
        holder->SetActive(true);
    }

    ui::TForm* Form(ui::TFormBorderStyle border, unsigned icons, int w, int h,
                    std::wstring caption = L"Skinned") {
        auto* form = new ui::TForm(&app);
        form->BorderStyle = border;
        form->BorderIcons = icons;
        form->Position = ui::TPosition::poScreenCenter;
        form->SetCaption(caption);
        form->SetClientSize(w, h);
        return form;
    }
    // Shown and activated, so the manager has skinned it.
    ui::TForm* Shown(ui::TForm* form) {
        form->Show();
        Pump(60);
        return form;
    }
    static skin::TSkinManager& Manager() { return *skin::TSkinManager::Instance(); }
    static skin::TFramePainter* Painter(HWND window) { return Manager().PainterOf(window); }
    const skin::TSkinData& Data() const { return *holder->Data(); }
};

} // namespace testing_support
