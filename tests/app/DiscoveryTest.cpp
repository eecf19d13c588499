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
#include <functional>

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

// Where a 32-bit program's keys below SOFTWARE live on 64-bit Windows.
std::string Wow32(const std::string& softwarePath) {
    return "SOFTWARE\\Wow6432Node" + softwarePath.substr(std::strlen("SOFTWARE"));
}

TEST_F(RegistryTest, DiscoveryAddsTheInstancesOnlyThe32BitViewLists) {
    const std::string list32 = Wow32(app::kInstancesKey);
    struct Case {
        const char* what;
        std::string list64; // empty: no value in the 64-bit view
        std::string list32;
        DWORD type32;
        std::vector<std::wstring> rows;
    };
    const Case cases[] = {
        {"32-bit only", "", std::string("SQL32\0\0", 7), REG_MULTI_SZ, {L"PC1\\SQL32"}},
        {"both, appended after the 64-bit names in their order",
         std::string("MSSQLSERVER\0SQL19\0\0", 19),
         std::string("B32\0A32\0\0", 9),
         REG_MULTI_SZ,
         {L"PC1", L"PC1\\SQL19", L"PC1\\B32", L"PC1\\A32"}},
        {"the same names in both views, in other case, give one row each",
         std::string("MSSQLSERVER\0SQL19\0\0", 19),
         std::string("sql19\0mssqlserver\0X\0x\0\0", 23),
         REG_MULTI_SZ,
         {L"PC1", L"PC1\\SQL19", L"PC1\\X"}},
        {"an unreadable 32-bit list adds nothing and does not fail",
         std::string("SQL19\0\0", 7),
         "SQL32",
         REG_SZ,
         {L"PC1\\SQL19"}},
        {"an oversized 32-bit list adds nothing",
         std::string("SQL19\0\0", 7),
         std::string(1026, 'A'),
         REG_BINARY,
         {L"PC1\\SQL19"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reg.Clear();
        if (!c.list64.empty())
            reg.SetBinary(app::kInstancesKey, app::kInstancesValue, REG_MULTI_SZ, c.list64.data(),
                          static_cast<DWORD>(c.list64.size()));
        reg.SetBinary(list32, app::kInstancesValue, c.type32, c.list32.data(),
                      static_cast<DWORD>(c.list32.size()));
        table->EmptyDataSet();
        ASSERT_NO_THROW(Discover());
        EXPECT_EQ(Column(L"fwq"), c.rows);
    }
}

TEST_F(RegistryTest, DiscoveryStillFailsOnABad64BitListWhateverThe32BitViewHolds) {
    reg.SetBinary(Wow32(app::kInstancesKey), app::kInstancesValue, REG_MULTI_SZ, "A\0\0", 3);
    SetInstances("SQL19", REG_SZ);
    EXPECT_THROW(Discover(), std::exception);
    EXPECT_EQ(table->RecordCount(), 0);
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

// Registry layouts of SQL Server 2005 and later: the instance ID under
// "Instance Names\\SQL", the port under the ID's IPAll key.
struct ModernLayout {
    testing_support::RegistryOverride& reg;
    bool view32 = false;
    std::string Path(const std::string& p) const { return view32 ? Wow32(p) : p; }
    void Id(const std::string& instance, const std::string& id) const {
        reg.SetString(Path(app::kInstanceIdsKey), instance, id);
    }
    std::string IpAll(const std::string& id) const { return Path(app::IpAllKeyPath(id)); }
    void Ports(const std::string& id, const std::string& tcpPort,
               const std::string& dynamic) const {
        reg.SetString(IpAll(id), app::kTcpPortValue, tcpPort);
        reg.SetString(IpAll(id), app::kTcpDynamicPortsValue, dynamic);
    }
};

TEST_F(PortTest, ModernLayoutsInBothViewsAfterTheOldKey) {
    using Setup = std::function<void(testing_support::RegistryOverride&)>;
    const std::wstring noExpressKey =
        L"无SOFTWARE\\Microsoft\\Microsoft SQL "
        L"Server\\SQLEXPRESS\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 ";
    struct Case {
        const char* what;
        Setup setup;
        std::wstring address, dkh, bz;
    };
    const Case cases[] = {
        {"SQL Server 2000 layout",
         [](auto& r) { r.SetString(app::kDefaultInstanceTcpKey, "TcpPort", "1433"); }, L"PC1",
         L"1433", L""},
        {"the old key wins over a modern layout",
         [](auto& r) {
             r.SetString(app::kDefaultInstanceTcpKey, "TcpPort", "1433");
             ModernLayout m{r};
             m.Id("MSSQLSERVER", "MSSQL15.MSSQLSERVER");
             m.Ports("MSSQL15.MSSQLSERVER", "1500", "");
         },
         L"PC1", L"1433", L""},
        {"an old key without TcpPort is the old remark, modern layout or not",
         [](auto& r) {
             r.CreateKey(app::kDefaultInstanceTcpKey);
             ModernLayout m{r};
             m.Id("MSSQLSERVER", "MSSQL15.MSSQLSERVER");
             m.Ports("MSSQL15.MSSQLSERVER", "1500", "");
         },
         L"PC1", L"", L"无TcpPort路径 "},
        {"modern default instance",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("MSSQLSERVER", "MSSQL15.MSSQLSERVER");
             m.Ports("MSSQL15.MSSQLSERVER", "1433", "");
         },
         L"PC1", L"1433", L""},
        {"modern named instance, static port beside a dynamic one",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             m.Ports("MSSQL16.SQLEXPRESS", "1533", "49172");
         },
         L"PC1\\ SQLEXPRESS", L"1533", L""},
        {"modern named instance with only a dynamic port",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             m.Ports("MSSQL16.SQLEXPRESS", "", "49172");
         },
         L"PC1\\SQLEXPRESS", L"49172 (动态)", L""},
        {"dynamic port without a TcpPort value",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             r.SetString(m.IpAll("MSSQL16.SQLEXPRESS"), "TcpDynamicPorts", "49172");
         },
         L"PC1\\SQLEXPRESS", L"49172 (动态)", L""},
        {"both port values empty",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             m.Ports("MSSQL16.SQLEXPRESS", "", "");
         },
         L"PC1\\SQLEXPRESS", L"", L""},
        {"IPAll without port values",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             r.CreateKey(m.IpAll("MSSQL16.SQLEXPRESS"));
         },
         L"PC1\\SQLEXPRESS", L"", L"无TcpPort路径 "},
        {"no Instance Names entry for the instance",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("OTHER", "MSSQL16.OTHER");
             m.Ports("MSSQL16.OTHER", "1533", "");
             m.Ports("MSSQL16.SQLEXPRESS", "1533", "");
         },
         L"PC1\\SQLEXPRESS", L"", noExpressKey},
        {"an instance ID whose IPAll key is missing",
         [](auto& r) { ModernLayout{r}.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS"); },
         L"PC1\\SQLEXPRESS", L"", noExpressKey},
        {"an address with nothing after the backslash",
         [](auto& r) {
             r.SetString(app::kInstanceIdsKey, "", "MSSQL16.SQLEXPRESS"); // the key's default
             ModernLayout{r}.Ports("MSSQL16.SQLEXPRESS", "1533", "");
         },
         L"PC1\\ ", L"",
         L"无SOFTWARE\\Microsoft\\Microsoft SQL "
         L"Server\\\\MSSQLServer\\SuperSocketNetLib\\Tcp路径 "},
        {"a numeric TcpPort under IPAll",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             r.SetDword(m.IpAll("MSSQL16.SQLEXPRESS"), "TcpPort", 1433);
         },
         L"PC1\\SQLEXPRESS", L"", L"查询端口号不成功 "},
        {"a numeric TcpDynamicPorts",
         [](auto& r) {
             ModernLayout m{r};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             r.SetString(m.IpAll("MSSQL16.SQLEXPRESS"), "TcpPort", "");
             r.SetDword(m.IpAll("MSSQL16.SQLEXPRESS"), "TcpDynamicPorts", 49172);
         },
         L"PC1\\SQLEXPRESS", L"", L"查询端口号不成功 "},
        {"a numeric instance ID",
         [](auto& r) { r.SetDword(app::kInstanceIdsKey, "SQLEXPRESS", 16); }, L"PC1\\SQLEXPRESS",
         L"", L"查询端口号不成功 "},
        {"a 32-bit instance known only to the 32-bit view",
         [](auto& r) {
             ModernLayout m{r, true};
             m.Id("SQL32", "MSSQL10.SQL32");
             m.Ports("MSSQL10.SQL32", "", "50100");
         },
         L"PC1\\SQL32", L"50100 (动态)", L""},
        {"the 64-bit view first",
         [](auto& r) {
             for (bool view32 : {false, true}) {
                 ModernLayout m{r, view32};
                 m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
                 m.Ports("MSSQL16.SQLEXPRESS", view32 ? "3232" : "6464", "");
             }
         },
         L"PC1\\SQLEXPRESS", L"6464", L""},
        {"the 32-bit view when the 64-bit one lacks the IPAll key",
         [](auto& r) {
             ModernLayout{r}.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             ModernLayout m{r, true};
             m.Id("SQLEXPRESS", "MSSQL16.SQLEXPRESS");
             m.Ports("MSSQL16.SQLEXPRESS", "3232", "");
         },
         L"PC1\\SQLEXPRESS", L"3232", L""},
        {"a 32-bit SQL Server 2000 layout, after both modern ones",
         [](auto& r) { r.SetString(Wow32(app::kDefaultInstanceTcpKey), "TcpPort", "2433"); },
         L"PC1", L"2433", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reg.Clear();
        c.setup(reg);
        table->EmptyDataSet();
        EXPECT_EQ(LookUp(c.address), c.dkh);
        EXPECT_EQ(Remark(), c.bz);
        EXPECT_EQ(table->State(), data::TDataSetState::dsBrowse);
    }
}

TEST_F(RegistryTest, ADetectionOfBothViewsAndAllLayoutsFindsEveryPort) {
    SetInstances(std::string("MSSQLSERVER\0SQL2019\0\0", 21));
    reg.SetBinary(Wow32(app::kInstancesKey), app::kInstancesValue, REG_MULTI_SZ,
                  "sql2019\0SQL32\0\0", 15);
    reg.SetString(app::kDefaultInstanceTcpKey, "TcpPort", "1433");
    ModernLayout m64{reg}, m32{reg, true};
    m64.Id("SQL2019", "MSSQL15.SQL2019");
    m64.Ports("MSSQL15.SQL2019", "1533", "");
    m32.Id("SQL32", "MSSQL12.SQL32");
    m32.Ports("MSSQL12.SQL32", "", "49172");
    Discover();
    platform::TRegistry registry;
    for (table->First(); !table->Eof(); table->Next())
        app::LookupPort(registry, *table);
    EXPECT_EQ(Column(L"fwq"), (std::vector<std::wstring>{L"PC1", L"PC1\\SQL2019", L"PC1\\SQL32"}));
    EXPECT_EQ(Column(L"dkh"), (std::vector<std::wstring>{L"1433", L"1533", L"49172 (动态)"}));
    EXPECT_EQ(Column(L"bz"), (std::vector<std::wstring>{L"", L"", L""}));
    EXPECT_FALSE(reg.KeyExists(app::IpAllKeyPath("MSSQL12.SQL32")))
        << "looking must not create keys";
}

} // namespace
