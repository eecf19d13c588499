// The main window: the result grid's place, the Detect and Exit buttons, the
// home page link and the banner, and the non-visual components the detection
// run works with.
#pragma once

#include "app/InstanceDiscovery.h"
#include "platform/DatabaseSession.h"
#include "platform/Shell.h"
#include "ui/Form.h"

#include <functional>
#include <memory>

namespace data {
class TClientDataSet;
class TDataSource;
} // namespace data
namespace grid {
class TDataGrid;
}
namespace skin {
class TSkinHolder;
}
namespace ui {
class TButton;
class TImage;
class TSpeedButton;
} // namespace ui

namespace app {

inline constexpr wchar_t kApplicationTitle[] = L"SondrelkV1.02.07";
// 7 May 2013 as a day count from 30 December 1899; the banner shows after it.
inline constexpr int kBannerAfterDate = 41401;

// Days since 30 December 1899 of a calendar date.
int DateSerial(int year, int month, int day);
int TodaySerial();
SYSTEMTIME LocalTimeNow();
bool BannerVisibleOn(int dateSerial);

// The host name source of the main window (only ever asks for the name).
class TTcpClient : public ui::TComponent {
public:
    explicit TTcpClient(ui::TComponent* owner) : ui::TComponent(owner) {}
    std::wstring ClassName() const override { return L"TTcpClient"; }
    std::string LocalHostName() const;
};

class TForm1 : public ui::TForm {
public:
    // database: the session the detection run talks to (ADO when null).
    explicit TForm1(ui::TComponent* owner,
                    std::unique_ptr<platform::IDatabaseSession> database = nullptr);
    ~TForm1() override;

    std::wstring ClassName() const override { return L"TForm1"; }
    std::vector<std::wstring> ClassChain() const override;

    ui::TImage* Image1 = nullptr;
    ui::TSpeedButton* SpeedButton15 = nullptr;
    ui::TButton* Button2 = nullptr;
    grid::TDataGrid* DataGrid1 = nullptr;
    ui::TButton* Button1 = nullptr;
    TTcpClient* TcpClient1 = nullptr;
    // The stored skin; FormCreate switches skinning on for the application.
    skin::TSkinHolder* SkinHolder1 = nullptr;

    data::TClientDataSet& ClientDataSet1() { return *clientDataSet1_; }
    data::TDataSource& DataSource1() { return *dataSource1_; }
    platform::IDatabaseSession& ADOConnection1() { return *adoConnection1_; }

    // Where the detection run gets the host name; tests replace it.
    HostNameSource HostName;
    // The clock of the banner's date rule (local time; only the date counts).
    std::function<SYSTEMTIME()> LocalTime = LocalTimeNow;
    // The home page as the program stores it (disguised), and the shell the
    // clicks hand it to; tests replace both.
    std::wstring HomePageDisguised;
    platform::ShellExecutor ShellOpen = platform::ExecuteShellRequest;

    void FormCreate(ui::TComponent* sender);
    void Button1Click(ui::TComponent* sender);
    void Button2Click(ui::TComponent* sender);
    void Image1Click(ui::TComponent* sender);
    void SpeedButton15Click(ui::TComponent* sender);

private:
    std::unique_ptr<platform::IDatabaseSession> adoConnection1_;
    std::unique_ptr<data::TClientDataSet> clientDataSet1_;
    std::unique_ptr<data::TDataSource> dataSource1_;
};

// Creates the empty, open result table with its six fields.
std::unique_ptr<data::TClientDataSet> CreateResultTable();

} // namespace app
