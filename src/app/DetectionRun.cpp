#include "app/DetectionRun.h"

#include "app/PortLookup.h"
#include "app/ProgressForm.h"
#include "app/Remarks.h"
#include "app/ServerInterrogation.h"
#include "data/ClientDataSet.h"
#include "platform/Registry.h"
#include "platform/TaskWindows.h"
#include "ui/Application.h"
#include "ui/ProgressBar.h"
#include "ui/SpeedButton.h"

#include <memory>
#include <vector>

namespace app {

namespace {

void FreeProgressWindow() {
    if (!sp_jdt_frm) return;
    Tsp_jdt_frm* window = sp_jdt_frm;
    sp_jdt_frm = nullptr;
    window->Close();
    delete window;
}

// Every row once, in the order in which they stand now, even where writing a
// row moves it under a sort in force: bookmarks name rows, not positions.
std::vector<data::TDataSet::TBookmark> RowsInOrder(data::TDataSet& table) {
    std::vector<data::TDataSet::TBookmark> rows;
    {
        data::TDisabledControls quiet(table);
        for (table.First(); !table.Eof(); table.Next())
            rows.push_back(table.GetBookmark());
    }
    table.First();
    return rows;
}

void WalkRows(const DetectionServices& s, platform::TRegistry& registry) {
    data::TClientDataSet& table = *s.Table;
    for (const auto& row : RowsInOrder(table)) {
        if (!table.BookmarkValid(row)) continue;
        table.GotoBookmark(row);
        try {
            LookupPort(registry, table);
            s.PumpMessages();
            InterrogateServer(*s.Database, table);
        } catch (...) {
            AppendRemark(table, kRemarkNoConnection);
        }
        sp_jdt_frm->ProgressBar1->StepIt();
        s.PumpMessages();
    }
    registry.CloseKey();
}

// The clean-up of every run, however it ends, each part on its own.
struct RunCleanup {
    std::unique_ptr<platform::TRegistry> registry = std::make_unique<platform::TRegistry>();
    platform::TaskWindowList disabled;
    RunCleanup() = default;
    RunCleanup(const RunCleanup&) = delete;
    RunCleanup& operator=(const RunCleanup&) = delete;
    ~RunCleanup() {
        try {
            platform::EnableTaskWindows(disabled);
        } catch (...) {
        }
        try {
            FreeProgressWindow();
        } catch (...) {
        }
    }
};

} // namespace

void RunDetection(const DetectionServices& s) {
    data::TClientDataSet& table = *s.Table;
    // Outside every guard: a failure here goes to the default error handler.
    if (!table.IsEmpty()) table.EmptyDataSet();
    table.Close();
    table.Open();

    RunCleanup run;
    try {
        DiscoverInstances(*run.registry, table, s.HostName);
    } catch (...) {
        s.ShowMessage(kDiscoveryFailedMessage, kMessageCaption, kMessageFlags);
        return;
    }

    sp_jdt_frm = new Tsp_jdt_frm(ui::Application);
    sp_jdt_frm->ProgressBar1->SetMin(0);
    sp_jdt_frm->ProgressBar1->SetMax(table.RecordCount());
    run.disabled = platform::DisableTaskWindows(sp_jdt_frm->Handle());
    sp_jdt_frm->SpeedButton2->Hide();
    sp_jdt_frm->Show();
    s.PumpMessages();
    try {
        WalkRows(s, *run.registry);
    } catch (...) {
        try {
            FreeProgressWindow();
        } catch (...) {
        }
        s.ShowMessage(kWalkFailedMessage, kMessageCaption, kMessageFlags);
    }
}

} // namespace app
