// Whole detection runs through the main window's Detect button: the real
// registry (redirected), a scripted database, real windows and message boxes
// caught by the test.
#include "ScriptedDatabase.h"
#include "app/DetectionRun.h"
#include "app/MainForm.h"
#include "app/ProgressForm.h"
#include "data/ClientDataSet.h"
#include "platform/Com.h"
#include "support/RegistryOverride.h"
#include "support/WindowTest.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/ProgressBar.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ScriptedDatabase;

thread_local std::vector<std::wstring> t_created;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (!IS_INTRESOURCE(cbt->lpcs->lpszClass)) t_created.push_back(cbt->lpcs->lpszClass);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class DetectionRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        t_created.clear();
        hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
        auto owned = std::make_unique<ScriptedDatabase>();
        db = owned.get();
        form = new app::TForm1(&application, std::move(owned));
        form->HostName = [] { return std::string("pc1"); };
        application.SetMainForm(form);
        form->Show();
    }
    void TearDown() override { UnhookWindowsHookEx(hook); }

    void SetInstances(const std::string& bytes) {
        reg.SetBinary(app::kInstancesKey, app::kInstancesValue, REG_MULTI_SZ, bytes.data(),
                      static_cast<DWORD>(bytes.size()));
    }
    void Detect() {
        SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
        testing_support::Pump();
    }
    std::vector<std::wstring> Column(const wchar_t* field) {
        auto& table = form->ClientDataSet1();
        std::vector<std::wstring> out;
        for (table.First(); !table.Eof(); table.Next())
            out.push_back(table.FieldByName(field)->AsString());
        return out;
    }
    int Created(const wchar_t* cls) const {
        int n = 0;
        for (const auto& c : t_created)
            n += c == cls;
        return n;
    }

    testing_support::RegistryOverride reg;
    ui::TApplication application;
    app::TForm1* form = nullptr;
    ScriptedDatabase* db = nullptr;
    HHOOK hook = nullptr;
};

TEST_F(DetectionRunTest, TwoInstancesOneAnsweringOneNot) {
    SetInstances(std::string("MSSQLSERVER\0SQLEXPRESS\0\0", 24));
    reg.SetString("SOFTWARE\\Microsoft\\MSSQLServer\\MSSQLServer\\SuperSocketNetLib\\Tcp",
                  "TcpPort", "1433");
    db->servers[L"PC1"] = {};

    struct During {
        bool mainEnabled = true;
        bool progressShown = false;
        int position = -1, max = -1;
    };
    std::vector<During> during;
    db->onConnect = [&] {
        During d;
        d.mainEnabled = IsWindowEnabled(form->Handle()) != FALSE;
        d.progressShown = app::sp_jdt_frm && IsWindowVisible(app::sp_jdt_frm->Handle());
        if (app::sp_jdt_frm) {
            d.position = app::sp_jdt_frm->ProgressBar1->Position();
            d.max = app::sp_jdt_frm->ProgressBar1->Max();
        }
        during.push_back(d);
    };

    testing_support::ModalCatcher catcher;
    Detect();

    EXPECT_TRUE(catcher.seen().empty());
    EXPECT_EQ(Column(L"fwq"), (std::vector<std::wstring>{L"PC1", L"PC1\\SQLEXPRESS"}));
    EXPECT_EQ(Column(L"dkh"), (std::vector<std::wstring>{L"1433", L""}));
    EXPECT_EQ(Column(L"sjkglxt"), (std::vector<std::wstring>{L"Microsoft SQL Server 2019", L""}));
    EXPECT_EQ(Column(L"bz"),
              (std::vector<std::wstring>{
                  L"", L"无SOFTWARE\\Microsoft\\Microsoft SQL "
                       L"Server\\SQLEXPRESS\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 "
                       L"连接不成功 "}));
    ASSERT_EQ(during.size(), 2u);
    for (size_t i = 0; i < during.size(); ++i) {
        EXPECT_FALSE(during[i].mainEnabled) << "the main window is disabled during the walk";
        EXPECT_TRUE(during[i].progressShown);
        EXPECT_EQ(during[i].position, static_cast<int>(i)) << "one step per row";
        EXPECT_EQ(during[i].max, 2);
    }
    EXPECT_EQ(app::sp_jdt_frm, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(Created(L"Tsp_jdt_frm"), 1);
    EXPECT_EQ(FindWindowW(L"Tsp_jdt_frm", nullptr), nullptr) << "the progress window is freed";
    EXPECT_EQ(form->ClientDataSet1().FieldByName(L"fwq")->AsString(), L"PC1\\SQLEXPRESS")
        << "the cursor stands on the last row visited";
}

TEST_F(DetectionRunTest, NoSqlServerShowsAnEmptyBarAndNoMessage) {
    testing_support::ModalCatcher catcher;
    Detect();
    EXPECT_TRUE(catcher.seen().empty());
    EXPECT_EQ(form->ClientDataSet1().RecordCount(), 0);
    EXPECT_EQ(Created(L"Tsp_jdt_frm"), 1);
    EXPECT_EQ(app::sp_jdt_frm, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(DetectionRunTest, AnOversizedInstanceListEndsTheRunWithItsMessage) {
    std::string bytes(1026, '\0');
    bytes.replace(0, 1, "A");
    SetInstances(bytes);
    testing_support::ModalCatcher catcher;
    Detect();
    ASSERT_EQ(catcher.seen().size(), 1u);
    EXPECT_EQ(catcher.seen()[0].text, L"加载服务器时出现错误!");
    EXPECT_EQ(catcher.seen()[0].caption, L"信息框");
    EXPECT_EQ(catcher.seen()[0].icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(form->ClientDataSet1().RecordCount(), 0);
    EXPECT_EQ(Created(L"Tsp_jdt_frm"), 0) << "no progress window";
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(DetectionRunTest, ExactlyFullInstanceListIsAccepted) {
    std::string bytes(1025, '\0');
    bytes.replace(0, 1, "A");
    SetInstances(bytes);
    testing_support::ModalCatcher catcher;
    Detect();
    EXPECT_TRUE(catcher.seen().empty());
    EXPECT_EQ(Column(L"fwq"), std::vector<std::wstring>{L"PC1\\A"});
}

TEST_F(DetectionRunTest, ASecondRunRebuildsTheTableFromNothing) {
    SetInstances(std::string("MSSQLSERVER\0\0", 13));
    Detect();
    const auto first = Column(L"bz");
    Detect();
    EXPECT_EQ(Column(L"bz"), first);
    EXPECT_EQ(Column(L"fwq"), std::vector<std::wstring>{L"PC1"});
}

TEST_F(DetectionRunTest, TheWalkVisitsEveryRowOnceWhileAnIndexOnBzMovesThem) {
    SetInstances(std::string("A\0B\0C\0D\0E\0\0", 11));
    auto& table = form->ClientDataSet1();
    // As a title-click sort does: add, refresh the definitions, make current.
    table.AddIndex(L"ByRemark", L"bz");
    table.IndexDefs().Update();
    table.SetIndexName(L"ByRemark");
    int connects = 0;
    db->onConnect = [&] { ++connects; };
    Detect();
    EXPECT_EQ(connects, 5);
    const auto names = Column(L"fwq");
    const auto remarks = Column(L"bz");
    ASSERT_EQ(names.size(), 5u);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::wstring instance = names[i].substr(4); // after "PC1\"
        EXPECT_EQ(remarks[i], L"无SOFTWARE\\Microsoft\\Microsoft SQL Server\\" + instance +
                                  L"\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 连接不成功 ")
            << "each row exactly one port remark and one connection remark";
    }
    EXPECT_EQ(table.IndexName(), L"ByRemark") << "the sort stays in force";
}

TEST_F(DetectionRunTest, AFailureOutsideTheRowGuardEndsTheWalkWithItsMessage) {
    SetInstances(std::string("A\0B\0\0", 5));
    app::DetectionServices services;
    services.Table = &form->ClientDataSet1();
    services.Database = db;
    services.HostName = [] { return std::string("pc1"); };
    std::vector<std::wstring> messages;
    services.ShowMessage = [&](const std::wstring& text, const std::wstring& caption,
                               unsigned flags) {
        messages.push_back(text + L"|" + caption + L"|" + std::to_wstring(flags));
        EXPECT_EQ(app::sp_jdt_frm, nullptr) << "the progress window is freed before the message";
    };
    int pumps = 0;
    services.PumpMessages = [&] {
        // Before the walk, after row 1's port lookup, after row 1's bar step: fail there.
        if (++pumps == 3) throw std::runtime_error("pump failed");
    };
    app::RunDetection(services);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"查询数据库管理系统时出现错误!|信息框|64"});
    EXPECT_EQ(app::sp_jdt_frm, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(Column(L"bz")[1], L"") << "the second row was never reached";
}

TEST_F(DetectionRunTest, MessagesArePumpedOnceBeforeTheWalkAndTwicePerRow) {
    SetInstances(std::string("A\0B\0C\0\0", 7));
    app::DetectionServices services;
    services.Table = &form->ClientDataSet1();
    services.Database = db;
    services.HostName = [] { return std::string("pc1"); };
    services.ShowMessage = [](const std::wstring&, const std::wstring&, unsigned) { FAIL(); };
    int pumps = 0;
    services.PumpMessages = [&] { ++pumps; };
    app::RunDetection(services);
    EXPECT_EQ(pumps, 1 + 2 * 3);
}

TEST(DetectionRunAdo, EveryRowOfAMachineWithoutReachableServersEndsUnconnected) {
    platform::ComInit com;
    testing_support::RegistryOverride reg;
    const std::string list("MSSQLSERVER\0SQLEXPRESS\0\0", 24);
    reg.SetBinary(app::kInstancesKey, app::kInstancesValue, REG_MULTI_SZ, list.data(),
                  static_cast<DWORD>(list.size()));
    ui::TApplication application;
    auto* form = new app::TForm1(&application); // the real ADO session
    application.SetMainForm(form);
    form->Show();
    testing_support::ModalCatcher catcher;
    SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
    testing_support::Pump();
    EXPECT_TRUE(catcher.seen().empty());
    auto& table = form->ClientDataSet1();
    ASSERT_EQ(table.RecordCount(), 2);
    for (table.First(); !table.Eof(); table.Next()) {
        const std::wstring bz = table.FieldByName(L"bz")->AsString();
        EXPECT_GE(bz.size(), 6u);
        EXPECT_EQ(bz.substr(bz.size() - 6), L"连接不成功 ");
        EXPECT_EQ(table.FieldByName(L"sjkglxt")->AsString(), L"");
    }
}

} // namespace
