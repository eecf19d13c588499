#include "app/MainForm.h"

#include "app/DetectionRun.h"
#include "app/HomePage.h"
#include "app/HomePageAddress.h"
#include "app/Resources.h"
#include "data/ClientDataSet.h"
#include "data/DataSource.h"
#include "grid/DataGrid.h"
#include "grid/ResultGridConfig.h"
#include "platform/AdoSession.h"
#include "skin/SkinHolder.h"
#include "platform/Sockets.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Image.h"
#include "ui/SpeedButton.h"

namespace app {

int DateSerial(int year, int month, int day) {
    // Days from the civil calendar, shifted so that 30 December 1899 is 0.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int daysFrom1970 = era * 146097 + doe - 719468;
    return daysFrom1970 + 25569;
}

SYSTEMTIME LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

int TodaySerial() {
    const SYSTEMTIME now = LocalTimeNow();
    return DateSerial(now.wYear, now.wMonth, now.wDay);
}

bool BannerVisibleOn(int dateSerial) {
    return dateSerial > kBannerAfterDate;
}

std::string TTcpClient::LocalHostName() const {
    return platform::LocalHostName();
}

std::unique_ptr<data::TClientDataSet> CreateResultTable() {
    auto table = std::make_unique<data::TClientDataSet>();
    table->Name = L"ClientDataSet1";
    struct FieldSpec {
        const wchar_t* name;
        int size;
        const wchar_t* label;
    };
    static const FieldSpec fields[] = {
        {L"fwq", 100, L"服务器(实例名)"}, {L"sjkglxt", 100, L"数据库管理系统"},
        {L"bbmc", 100, L"版本名称"},      {L"bdmc", 100, L"补丁名称"},
        {L"dkh", 100, L"端口号"},         {L"bz", 400, L"备注"},
    };
    for (const FieldSpec& f : fields)
        table->FieldDefs().Add(f.name, f.size);
    table->CreateDataSet();
    for (const FieldSpec& f : fields)
        table->FieldByName(f.name)->SetDisplayLabel(f.label);
    return table;
}

TForm1::TForm1(ui::TComponent* owner, std::unique_ptr<platform::IDatabaseSession> database)
    : ui::TForm(owner), HomePageDisguised(kHomePageDisguised),
      adoConnection1_(std::move(database)) {
    SetName(L"Form1");
    SetCaption(kApplicationTitle);
    BorderStyle = ui::TFormBorderStyle::bsSingle;
    BorderIcons = ui::biSystemMenu | ui::biMinimize;
    Position = ui::TPosition::poScreenCenter;
    SetColor(ui::clBtnFace);
    SetFont(ui::TFont(L"MS Sans Serif", 8));
    SetClientSize(882, 369);

    Image1 = new ui::TImage(this);
    Image1->SetName(L"Image1");
    Image1->SetBounds(3, 295, 417, 61);
    Image1->Cursor = ui::TCursor::crHandPoint;
    // Only the header is read here; the pixels wait for the first paint.
    Image1->LoadJpeg(LoadProgramData(kBannerId));
    Image1->SetVisible(false);
    Image1->OnClick = [this](ui::TComponent* sender) { Image1Click(sender); };
    Image1->SetParent(this);

    SpeedButton15 = new ui::TSpeedButton(this);
    SpeedButton15->SetName(L"SpeedButton15");
    SpeedButton15->SetBounds(424, 296, 105, 59);
    SpeedButton15->SetCaption(L"作者主页");
    SpeedButton15->SetFont(ui::TFont(L"MS Sans Serif", 8, ui::clBlue));
    SpeedButton15->Cursor = ui::TCursor::crHandPoint;
    SpeedButton15->OnClick = [this](ui::TComponent* sender) { SpeedButton15Click(sender); };
    SpeedButton15->SetParent(this);

    Button2 = new ui::TButton(this);
    Button2->SetName(L"Button2");
    Button2->SetBounds(770, 296, 105, 59);
    Button2->SetCaption(L"退出");
    Button2->Cursor = ui::TCursor::crHandPoint;
    Button2->TabOrder = 2;
    Button2->OnClick = [this](ui::TComponent* sender) { Button2Click(sender); };
    Button2->SetParent(this);

    // The result table's grid: the band across the top, first in tab order.
    DataGrid1 = new grid::TDataGrid(this);
    DataGrid1->SetName(L"DataGrid1");
    DataGrid1->SetBounds(0, 0, 882, 281);
    DataGrid1->TabOrder = 0;
    DataGrid1->SetParent(this);

    Button1 = new ui::TButton(this);
    Button1->SetName(L"Button1");
    Button1->SetBounds(661, 296, 105, 59);
    Button1->SetCaption(L"检测");
    Button1->Cursor = ui::TCursor::crHandPoint;
    Button1->TabOrder = 1;
    Button1->OnClick = [this](ui::TComponent* sender) { Button1Click(sender); };
    Button1->SetParent(this);

    TcpClient1 = new TTcpClient(this);
    TcpClient1->SetName(L"TcpClient1");
    HostName = [this] { return TcpClient1->LocalHostName(); };

    SkinHolder1 = new skin::TSkinHolder(this);
    SkinHolder1->SetName(L"SkinHolder1");
    SkinHolder1->LoadStoredSkin(L"SKINHOLDER1");

    if (!adoConnection1_) adoConnection1_ = std::make_unique<platform::AdoSession>();
    clientDataSet1_ = CreateResultTable();
    dataSource1_ = std::make_unique<data::TDataSource>();
    dataSource1_->SetDataSet(clientDataSet1_.get());
    dataSource1_->Name = L"DataSource1";
    DataGrid1->SetDataSource(dataSource1_.get());
    grid::ApplyResultGridConfig(*DataGrid1);

    ScaleToScreen();
    // The form's stored properties are all in place.
    SkinHolder1->Loaded();
    OnCreate = [this](ui::TComponent* sender) { FormCreate(sender); };
    DoCreate();
}

TForm1::~TForm1() {
    // The grid lets go of the data source, and the source of the table,
    // before the members below are freed (the grid, an owned component,
    // outlives them).
    if (DataGrid1) DataGrid1->SetDataSource(nullptr);
    if (dataSource1_) dataSource1_->SetDataSet(nullptr);
}

std::vector<std::wstring> TForm1::ClassChain() const {
    auto chain = ui::TForm::ClassChain();
    chain.insert(chain.begin(), L"TForm1");
    return chain;
}

void TForm1::FormCreate(ui::TComponent*) {
    const SYSTEMTIME now = LocalTime();
    Image1->SetVisible(BannerVisibleOn(DateSerial(now.wYear, now.wMonth, now.wDay)));
    SkinHolder1->SetActive(true);
}

void TForm1::Button1Click(ui::TComponent*) {
    DetectionServices services;
    services.Table = clientDataSet1_.get();
    services.Database = adoConnection1_.get();
    services.HostName = HostName;
    services.ShowMessage = [](const std::wstring& text, const std::wstring& caption,
                              unsigned flags) {
        ui::Application->ShowMessageBox(text, caption, flags);
    };
    services.PumpMessages = [] { ui::Application->ProcessMessages(); };
    RunDetection(services);
}

void TForm1::Button2Click(ui::TComponent*) {
    Close();
}

// Both links hand their own working copy of the disguised address over.
void TForm1::Image1Click(ui::TComponent*) {
    OpenHomePage(Handle(), HomePageDisguised, kHomePageNoiseWord, ShellOpen);
}

void TForm1::SpeedButton15Click(ui::TComponent*) {
    OpenHomePage(Handle(), HomePageDisguised, kHomePageNoiseWord, ShellOpen);
}

} // namespace app
