// Instance discovery and port lookup through the real registry functions,
// with HKEY_LOCAL_MACHINE redirected to keys the tests write.
#include "app/InstanceDiscovery.h"
#include "app/MainForm.h"
#include "app/PortLookup.h"
#include "data/ClientDataSet.h"
#include "platform/Registry.h"
#include "support/RegistryOverride.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using app::InstanceBuffer;

InstanceBuffer BufferOf(const std::string& bytes) {
    InstanceBuffer b{};
    std::memcpy(b.data(), bytes.data(), std::min(bytes.size(), b.size()));
    return b;
}

TEST(InstanceList, ScanSplitsAtNulsStopsAtTwoAndTrims) {
    using V = std::vector<std::string>;
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("MSSQLSERVER\0\0", 13))),
              V{"MSSQLSERVER"});
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("MSSQLSERVER\0SQLEXPRESS\0\0", 24))),
              (V{"MSSQLSERVER", "SQLEXPRESS"}));
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("  SQLEXPRESS\t \0\0", 16))),
              V{"SQLEXPRESS"});
    EXPECT_EQ(app::ScanInstanceList(BufferOf("")), V{});
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("\0\0\0", 3))), V{});
    // Names after the double NUL are not read.
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("A\0\0B\0\0", 6))), V{"A"});
    // A blank-only name is skipped but does not end the list.
    EXPECT_EQ(app::ScanInstanceList(BufferOf(std::string("  \0B\0\0", 6))), V{"B"});
}

TEST(InstanceList, AFullBufferWithoutFinalNulStillYieldsItsLastName) {
    std::string bytes(1025, 'x');
    bytes[0] = 'A';
    bytes[1] = '\0';
    const auto names = app::ScanInstanceList(BufferOf(bytes));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "A");
    EXPECT_EQ(names[1].size(), 1023u);
}

TEST(InstanceList, AddressUpperCasesOnlyAsciiLettersOfTheHost) {
    EXPECT_EQ(app::InstanceAddress("pc1", "MSSQLSERVER"), "PC1");
    EXPECT_EQ(app::InstanceAddress("pc1", "SQLEXPRESS"), "PC1\\SQLEXPRESS");
    EXPECT_EQ(app::InstanceAddress("pc1", "mssqlserver"), "PC1\\mssqlserver")
        << "the default name is case-sensitive";
    EXPECT_EQ(app::InstanceAddress("", "MSSQLSERVER"), "");
    EXPECT_EQ(app::InstanceAddress("", "X"), "\\X");
    EXPECT_EQ(app::InstanceAddress("h\xe9-z9", "X"), "H\xe9-Z9\\X");
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { table = app::CreateResultTable(); }
    std::vector<std::wstring> Column(const wchar_t* field) {
        std::vector<std::wstring> out;
        for (table->First(); !table->Eof(); table->Next())
            out.push_back(table->FieldByName(field)->AsString());
        return out;
    }
    void Discover() {
        platform::TRegistry registry;
        app::DiscoverInstances(registry, *table, [] { return std::string("pc1"); });
    }
    void SetInstances(const std::string& bytes, DWORD type = REG_MULTI_SZ) {
        reg.SetBinary(app::kInstancesKey, app::kInstancesValue, type, bytes.data(),
                      static_cast<DWORD>(bytes.size()));
    }
    testing_support::RegistryOverride reg;
    std::unique_ptr<data::TClientDataSet> table;
};

TEST_F(RegistryTest, DiscoveryAppendsOneRowPerInstanceInListOrder) {
    SetInstances(std::string("MSSQLSERVER\0SQLEXPRESS\0\0", 24));
    Discover();
    EXPECT_EQ(Column(L"fwq"), (std::vector<std::wstring>{L"PC1", L"PC1\\SQLEXPRESS"}));
    EXPECT_EQ(Column(L"bz"), (std::vector<std::wstring>{L"", L""}));
}

TEST_F(RegistryTest, DiscoveryWithoutKeyOrValueAddsNothingAndCreatesNothing) {
    Discover();
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_FALSE(reg.KeyExists(app::kInstancesKey)) << "opening must never create the key";
    reg.CreateKey(app::kInstancesKey);
    Discover();
    EXPECT_EQ(table->RecordCount(), 0);
}

TEST_F(RegistryTest, DiscoveryAcceptsRawTypesAndRejectsStringsNumbersAndOversizedValues) {
    SetInstances(std::string("A\0\0", 3), REG_BINARY);
    Discover();
    EXPECT_EQ(table->RecordCount(), 1);
    SetInstances("A", REG_SZ);
    EXPECT_THROW(Discover(), std::exception);
    reg.SetDword(app::kInstancesKey, app::kInstancesValue, 7);
    EXPECT_THROW(Discover(), std::exception);

    std::string exact(1025, '\0');
    exact.replace(0, 1, "B");
    SetInstances(exact);
    table->EmptyDataSet();
    Discover();
    EXPECT_EQ(Column(L"fwq"), std::vector<std::wstring>{L"PC1\\B"});

    SetInstances(std::string(1026, '\0'));
    table->EmptyDataSet();
    EXPECT_THROW(Discover(), std::exception);
    EXPECT_EQ(table->RecordCount(), 0) << "nothing appended before the read fails";
}

class PortTest : public RegistryTest {
protected:
    std::wstring LookUp(const std::wstring& address) {
        table->Append();
        table->FieldByName(L"fwq")->SetAsString(address);
        table->Post();
        platform::TRegistry registry;
        app::LookupPort(registry, *table);
        return table->FieldByName(L"dkh")->AsString();
    }
    std::wstring Remark() { return table->FieldByName(L"bz")->AsString(); }
    const std::string named = "SOFTWARE\\Microsoft\\Microsoft SQL "
                              "Server\\SQLEXPRESS\\MSSQLServer\\SuperSocketNetLib\\Tcp";
};

TEST_F(PortTest, DefaultInstancePortIsReadAsText) {
    reg.SetString(app::kDefaultInstanceTcpKey, "TcpPort", "1433");
    EXPECT_EQ(LookUp(L"PC1"), L"1433");
    EXPECT_EQ(Remark(), L"");
}

TEST_F(PortTest, NamedInstanceKeyIsBuiltFromTheTrimmedNameAfterTheFirstBackslash) {
    EXPECT_EQ(app::TcpKeyPath("PC1\\ SQLEXPRESS "), named);
    EXPECT_EQ(app::TcpKeyPath("PC1"), app::kDefaultInstanceTcpKey);
    reg.SetString(named, "TcpPort", "1433,1434", REG_EXPAND_SZ);
    EXPECT_EQ(LookUp(L"PC1\\SQLEXPRESS"), L"1433,1434");
}

TEST_F(PortTest, MissingKeyNamesThePathInTheRemark) {
    EXPECT_EQ(LookUp(L"PC1\\SQLEXPRESS"), L"");
    EXPECT_EQ(Remark(), L"无SOFTWARE\\Microsoft\\Microsoft SQL "
                        L"Server\\SQLEXPRESS\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 ");
    EXPECT_FALSE(reg.KeyExists(named));
}

TEST_F(PortTest, DefaultInstanceMissingKeyRemark) {
    LookUp(L"PC1");
    EXPECT_EQ(Remark(),
              L"无SOFTWARE\\Microsoft\\MSSQLServer\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 ");
}

TEST_F(PortTest, KeyWithoutTcpPort) {
    reg.CreateKey(app::kDefaultInstanceTcpKey);
    LookUp(L"PC1");
    EXPECT_EQ(Remark(), L"无TcpPort路径 ");
}

TEST_F(PortTest, NumericTcpPortFailsTheLookupAndLeavesDkhEmpty) {
    reg.SetDword(app::kDefaultInstanceTcpKey, "TcpPort", 1433);
    EXPECT_EQ(LookUp(L"PC1"), L"");
    EXPECT_EQ(Remark(), L"查询端口号不成功 ");
    EXPECT_EQ(table->State(), data::TDataSetState::dsBrowse);
}

TEST_F(PortTest, EmptyTcpPortGivesEmptyTextWithoutRemark) {
    reg.SetBinary(app::kDefaultInstanceTcpKey, "TcpPort", REG_SZ, "", 0);
    EXPECT_EQ(LookUp(L"PC1"), L"");
    EXPECT_EQ(Remark(), L"");
}

} // namespace
