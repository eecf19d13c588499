#include "ScriptedDatabase.h"
#include "app/MainForm.h"
#include "app/ServerInterrogation.h"
#include "data/ClientDataSet.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ScriptedDatabase;

TEST(ConnectionString, OrdinaryAddressesGoInAsTheyAre) {
    EXPECT_EQ(app::ConnectionStringFor(L"PC1\\SQLEXPRESS"),
              L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial "
              L"Catalog=master;"
              L"Data Source=PC1\\SQLEXPRESS;");
    EXPECT_EQ(app::ConnectionStringFor(L""),
              L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial "
              L"Catalog=master;"
              L"Data Source=;");
}

TEST(ConnectionString, AddressesThatWouldInjectKeywordsAreQuoted) {
    EXPECT_EQ(app::QuoteConnectionValue(L"PC1\\X;Initial Catalog=evil"),
              L"\"PC1\\X;Initial Catalog=evil\"");
    EXPECT_EQ(app::QuoteConnectionValue(L"a=b"), L"\"a=b\"");
    EXPECT_EQ(app::QuoteConnectionValue(L"it's"), L"\"it's\"");
    EXPECT_EQ(app::QuoteConnectionValue(L"say \"x\""), L"'say \"x\"'");
    EXPECT_EQ(app::QuoteConnectionValue(L"a\"b'c;"), L"\"a\"\"b'c;\"");
    EXPECT_EQ(app::QuoteConnectionValue(L" lead"), L"\" lead\"");
    EXPECT_EQ(app::QuoteConnectionValue(L"trail "), L"\"trail \"");
}

class InterrogationTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = app::CreateResultTable();
        table->Append();
        table->FieldByName(L"fwq")->SetAsString(L"PC1");
        table->Post();
    }
    std::wstring Field(const wchar_t* name) { return table->FieldByName(name)->AsString(); }
    std::unique_ptr<data::TClientDataSet> table;
    ScriptedDatabase db;
};

TEST_F(InterrogationTest, AnswersFillTheRowAndTheQueriesAreSentAsGiven) {
    db.servers[L"PC1"] = {};
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"sjkglxt"), L"Microsoft SQL Server 2019");
    EXPECT_EQ(Field(L"bbmc"), L"Developer Edition");
    EXPECT_EQ(Field(L"bdmc"), L"RTM");
    EXPECT_EQ(Field(L"bz"), L"");
    const std::vector<std::wstring> expected{
        L"disconnect",
        L"string " + app::ConnectionStringFor(L"PC1"),
        L"connect",
        L"close",
        L"open  --Password \r\n select @@version as sjkglxt \r\n",
        L"close",
        L"open  --Password \r\n select serverproperty('edition') as "
        L"bbmc,serverproperty('productlevel') as bdmc \r\n",
    };
    EXPECT_EQ(db.log, expected);
}

TEST_F(InterrogationTest, DesktopEditionsAreMarkedMsdeCaseSensitively) {
    db.servers[L"PC1"].editionRows = {{{L"bbmc", L"Desktop Engine"}, {L"bdmc", L"SP4"}}};
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"bbmc"), L"Desktop Engine(MSDE)");
    db.servers[L"PC1"].editionRows = {{{L"bbmc", L"desktop engine"}, {L"bdmc", L"SP4"}}};
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"bbmc"), L"desktop engine");
}

TEST_F(InterrogationTest, LongTextsAreCutToTheFieldAndTheMsdeMarkIsLostBeyondIt) {
    const std::wstring banner(150, L'v');
    db.servers[L"PC1"].versionRows = {{{L"sjkglxt", banner}}};
    const std::wstring edition = L"Desktop" + std::wstring(100, L'e');
    db.servers[L"PC1"].editionRows = {{{L"bbmc", edition}, {L"bdmc", L"SP4"}}};
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"sjkglxt"), banner.substr(0, 100));
    EXPECT_EQ(Field(L"bbmc"), edition.substr(0, 100));
}

TEST_F(InterrogationTest, AFailedQueryAddsItsRemarkAndTheOtherStillRuns) {
    db.servers[L"PC1"].versionFails = true;
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"sjkglxt"), L"");
    EXPECT_EQ(Field(L"bbmc"), L"Developer Edition");
    EXPECT_EQ(Field(L"bz"), L"查询数据库管理系统不成功 ");
}

TEST_F(InterrogationTest, BothQueriesFailingGiveBothRemarksInOrder) {
    table->Edit();
    table->FieldByName(L"bz")->SetAsString(L"查询端口号不成功 ");
    table->Post();
    db.servers[L"PC1"].versionFails = true;
    db.servers[L"PC1"].editionFails = true;
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"bz"),
              L"查询端口号不成功 查询数据库管理系统不成功 查询版本名称与补丁名称不成功 ");
}

TEST_F(InterrogationTest, EmptyResultsChangeNothing) {
    db.servers[L"PC1"].versionRows.clear();
    db.servers[L"PC1"].editionRows.clear();
    app::InterrogateServer(db, *table);
    EXPECT_EQ(Field(L"sjkglxt"), L"");
    EXPECT_EQ(Field(L"bbmc"), L"");
    EXPECT_EQ(Field(L"bz"), L"");
}

TEST_F(InterrogationTest, AFailureToConnectEscapesAndNoQueryRuns) {
    EXPECT_THROW(app::InterrogateServer(db, *table), std::exception);
    EXPECT_EQ(db.log.back(), L"connect");
    EXPECT_EQ(Field(L"bz"), L"");
}

} // namespace
