// The ADO session through the real COM objects. No SQL Server is reachable
// here, so connecting must fail; the declared vtable layouts are checked by
// round trips on objects that need no server, and field reading on a
// recordset built in memory.
#include "platform/AdoSession.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::AdoRecordset;
using platform::AdoSession;
using platform::BStr;
using platform::ComPtr;
using platform::DatabaseError;
using platform::Variant;
namespace ado = platform::ado;

constexpr long kErrObjectClosed = static_cast<long>(0x800A0E78);
// A few ADO properties are stubs in Wine; their checks run only on Windows.
constexpr HRESULT kNotImplementedInWine = E_NOTIMPL;

const std::wstring kUnreachable =
    L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
    L"Initial Catalog=master;Data Source=NO-SUCH-HOST\\NOINSTANCE;";

class AdoTest : public ::testing::Test {
protected:
    template <typename T> ComPtr<T> Create(const CLSID& clsid, const IID& iid) {
        ComPtr<T> object;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                                   reinterpret_cast<void**>(object.put())),
                  S_OK);
        return object;
    }

    platform::ComInit com_;
};

TEST_F(AdoTest, ConnectingToAnUnreachableSourceThrows) {
    AdoSession session;
    session.SetConnectionString(kUnreachable);
    EXPECT_EQ(session.ConnectionString(), kUnreachable);
    try {
        session.Connect();
        ADD_FAILURE() << "connected to an unreachable source";
    } catch (const DatabaseError& e) {
        EXPECT_LT(e.Result(), 0); // a failure HRESULT
        EXPECT_NE(e.Text().find(L"Cannot connect"), std::wstring::npos);
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_FALSE(session.Connected());
    // The session stays usable: the next row disconnects and tries again.
    EXPECT_NO_THROW(session.Disconnect());
    EXPECT_THROW(session.Connect(), DatabaseError);
}

TEST_F(AdoTest, ClosedSessionIsHarmlessToCloseAndRefusesQueries) {
    AdoSession session;
    EXPECT_NO_THROW(session.Disconnect());
    EXPECT_NO_THROW(session.Disconnect());
    EXPECT_NO_THROW(session.CloseQuery());
    EXPECT_FALSE(session.Connected());
    try {
        session.OpenQuery({L" --Password ", L" select @@version as sjkglxt "});
        ADD_FAILURE() << "a query ran without a connection";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Result(), kErrObjectClosed);
    }
    EXPECT_THROW(session.RecordCount(), DatabaseError);
    EXPECT_THROW(session.FieldText(L"sjkglxt"), DatabaseError);
}

TEST_F(AdoTest, ConnectionLayoutRoundTrips) {
    ComPtr<ado::Connection> connection =
        Create<ado::Connection>(ado::kClsidConnection, ado::kIidConnection);
    ASSERT_TRUE(connection);

    ASSERT_EQ(connection->put_ConnectionString(BStr(kUnreachable).get()), S_OK);
    BStr text;
    ASSERT_EQ(connection->get_ConnectionString(text.put()), S_OK);
    EXPECT_EQ(text.str(), kUnreachable);

    LONG seconds = -1;
    const HRESULT hr = connection->get_ConnectionTimeout(&seconds);
    if (hr != kNotImplementedInWine) {
        ASSERT_EQ(hr, S_OK);
        EXPECT_EQ(seconds, 15); // the platform's default, which the program keeps
    }
    ASSERT_EQ(connection->put_CommandTimeout(0), S_OK);
    ASSERT_EQ(connection->get_CommandTimeout(&seconds), S_OK);
    EXPECT_EQ(seconds, 0);

    ASSERT_EQ(connection->put_Provider(BStr(AdoSession::kProvider).get()), S_OK);
    BStr provider;
    ASSERT_EQ(connection->get_Provider(provider.put()), S_OK);
    EXPECT_EQ(provider.str(), AdoSession::kProvider);

    LONG state = -1;
    ASSERT_EQ(connection->get_State(&state), S_OK);
    EXPECT_EQ(state, 0);
}

TEST_F(AdoTest, CommandLayoutRoundTrips) {
    ComPtr<ado::Command> command = Create<ado::Command>(ado::kClsidCommand, ado::kIidCommand);
    ASSERT_TRUE(command);
    const std::wstring sql = L" --Password \r\n select @@version as sjkglxt \r\n";
    ASSERT_EQ(command->put_CommandText(BStr(sql).get()), S_OK);
    BStr text;
    ASSERT_EQ(command->get_CommandText(text.put()), S_OK);
    EXPECT_EQ(text.str(), sql);

    LONG seconds = -1;
    const HRESULT hr = command->put_CommandTimeout(AdoSession::kQueryCommandTimeout);
    if (hr != kNotImplementedInWine) {
        ASSERT_EQ(hr, S_OK);
        ASSERT_EQ(command->get_CommandTimeout(&seconds), S_OK);
        EXPECT_EQ(seconds, 30);
    }

    LONG type = 0;
    ASSERT_EQ(command->put_CommandType(ado::kCmdText), S_OK);
    ASSERT_EQ(command->get_CommandType(&type), S_OK);
    EXPECT_EQ(type, ado::kCmdText);
}

// A one-record result like the edition query's, built without a server.
class AdoRecordsetTest : public AdoTest {
protected:
    void SetUp() override {
        recordset_ = Create<ado::Recordset>(ado::kClsidRecordset, ado::kIidRecordset);
        ASSERT_TRUE(recordset_);
        ComPtr<ado::Fields> fields;
        ASSERT_EQ(recordset_->get_Fields(fields.put()), S_OK);
        Variant none;
        V_VT(&none.get()) = VT_ERROR;
        V_ERROR(&none.get()) = DISP_E_PARAMNOTFOUND;
        ASSERT_EQ(fields->Append(BStr(L"bbmc").get(), ado::kTypeVarWChar, 100,
                                 ado::kFieldIsNullable, none.get()),
                  S_OK);
        ASSERT_EQ(fields->Append(BStr(L"bdmc").get(), ado::kTypeVarWChar, 100,
                                 ado::kFieldIsNullable, none.get()),
                  S_OK);
        ASSERT_EQ(fields->Append(BStr(L"dkh").get(), ado::kTypeInteger, 4, ado::kFieldIsNullable,
                                 none.get()),
                  S_OK);
        ASSERT_EQ(recordset_->Open(none.get(), none.get(), ado::kOpenStatic, ado::kLockOptimistic,
                                   ado::kCmdUnspecified),
                  S_OK);
        ASSERT_EQ(recordset_->AddNew(none.get(), none.get()), S_OK);
        Put(fields, L"bbmc", Text(L"Desktop Engine"));
        Put(fields, L"dkh", Number(1433));
        // Moving off the new record saves it.
        ASSERT_EQ(recordset_->MoveFirst(), S_OK);
    }

    static VARIANT Text(const wchar_t* text) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(text);
        return v;
    }
    static VARIANT Number(LONG n) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_I4;
        V_I4(&v) = n;
        return v;
    }
    static void Put(ComPtr<ado::Fields>& fields, const wchar_t* name, VARIANT value) {
        Variant owned;
        *owned.put() = value;
        Variant index;
        V_VT(&index.get()) = VT_BSTR;
        V_BSTR(&index.get()) = SysAllocString(name);
        ComPtr<ado::Field> field;
        ASSERT_EQ(fields->get_Item(index.get(), field.put()), S_OK);
        ASSERT_EQ(field->put_Value(owned.get()), S_OK);
    }

    ComPtr<ado::Recordset> recordset_;
};

TEST_F(AdoRecordsetTest, ReadsFieldsAsText) {
    AdoRecordset result(recordset_);
    ASSERT_TRUE(result.IsOpen());
    EXPECT_EQ(result.RecordCount(), 1);
    EXPECT_EQ(result.FieldText(L"bbmc"), L"Desktop Engine");
    EXPECT_EQ(result.FieldText(L"bdmc"), L""); // never set: NULL
    EXPECT_EQ(result.FieldText(L"dkh"), L"1433");
    EXPECT_THROW(result.FieldText(L"sjkglxt"), DatabaseError);
}

TEST_F(AdoRecordsetTest, ClosedOrPastTheEndRefusesToRead) {
    AdoRecordset result(recordset_);
    ASSERT_EQ(recordset_->MoveNext(), S_OK);
    EXPECT_THROW(result.FieldText(L"bbmc"), DatabaseError);
    result.Close();
    EXPECT_FALSE(result.IsOpen());
    EXPECT_THROW(result.RecordCount(), DatabaseError);
    LONG state = -1;
    ASSERT_EQ(recordset_->get_State(&state), S_OK);
    EXPECT_EQ(state, 0); // closing the owner closed the ADO object
}

TEST(VariantToText, ConvertsEveryKindToText) {
    std::wstring text = L"old";
    VARIANT v;
    VariantInit(&v);
    EXPECT_TRUE(platform::VariantToText(v, text));
    EXPECT_EQ(text, L"");

    V_VT(&v) = VT_NULL;
    text = L"old";
    EXPECT_TRUE(platform::VariantToText(v, text));
    EXPECT_EQ(text, L"");

    Variant bstr;
    V_VT(&bstr.get()) = VT_BSTR;
    V_BSTR(&bstr.get()) = BStr(std::wstring(L"RTM\0x", 5)).release();
    EXPECT_TRUE(platform::VariantToText(bstr.get(), text));
    EXPECT_EQ(text, std::wstring(L"RTM\0x", 5));

    V_VT(&v) = VT_I2;
    V_I2(&v) = -7;
    EXPECT_TRUE(platform::VariantToText(v, text));
    EXPECT_EQ(text, L"-7");

    // An interface pointer without a value has no text: refused, text kept.
    V_VT(&v) = VT_UNKNOWN;
    V_UNKNOWN(&v) = nullptr;
    text = L"kept";
    EXPECT_FALSE(platform::VariantToText(v, text));
    EXPECT_EQ(text, L"kept");
}

} // namespace
