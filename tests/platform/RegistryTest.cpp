// The registry reader against real keys: HKEY_LOCAL_MACHINE is redirected to
// a scratch key below HKEY_CURRENT_USER for the length of each test.
#include "platform/Registry.h"
#include "support/RegistryOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

using platform::RegistryError;
using platform::TRegistry;

class RegistryTest : public ::testing::Test {
protected:
    static constexpr const char* kSqlKey = "SOFTWARE\\Microsoft\\Microsoft SQL Server";

    void SetUp() override {
        redirect_.CreateKey(kSqlKey);
        registry_.SetRootKey(HKEY_LOCAL_MACHINE);
    }
    void TearDown() override { registry_.CloseKey(); }

    bool KeyExists(const std::string& subPath) { return redirect_.KeyExists(subPath); }

    void SetValue(const char* name, DWORD type, const void* data, size_t size) {
        redirect_.SetBinary(kSqlKey, name, type, data, static_cast<DWORD>(size));
    }
    void SetBytes(const char* name, DWORD type, const std::string& bytes) {
        SetValue(name, type, bytes.data(), bytes.size());
    }

    bool OpenSqlKey() { return registry_.OpenKey(kSqlKey, false); }

    testing_support::RegistryOverride redirect_; // outlives registry_'s open key
    TRegistry registry_;
};

TEST_F(RegistryTest, OpensPresentKeysAndReportsMissingOnes) {
    EXPECT_EQ(registry_.Access(), platform::kReadView64);
    ASSERT_TRUE(OpenSqlKey());
    EXPECT_NE(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.CurrentPath(), "SOFTWARE\\Microsoft\\Microsoft SQL Server");

    // A failed open leaves no key open from before.
    EXPECT_FALSE(registry_.OpenKey("SOFTWARE\\Microsoft\\MSSQLServer\\MSSQLServer", false));
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.CurrentPath(), "");
    EXPECT_FALSE(registry_.ValueExists("InstalledInstances"));
}

TEST_F(RegistryTest, NeverCreatesKeys) {
    const std::string missing = "SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLEXPRESS\\Tcp";
    EXPECT_FALSE(registry_.OpenKey(missing, false));
    EXPECT_FALSE(KeyExists(missing));
    EXPECT_THROW(registry_.OpenKey(missing, true), std::invalid_argument);
    EXPECT_FALSE(KeyExists(missing));
}

TEST_F(RegistryTest, EachViewReadsItsOwnKeysAndNoReaderMayWrite) {
    // The 32-bit view of SOFTWARE is its Wow6432Node below the same root.
    redirect_.SetString("SOFTWARE\\Wow6432Node\\Microsoft\\Microsoft SQL Server", "View", "32");
    redirect_.SetString(kSqlKey, "View", "64");
    redirect_.CreateKey("SOFTWARE\\Wow6432Node\\Only32");
    struct View {
        REGSAM access;
        const char* name;
        bool seesOnly32;
    };
    for (const View& v :
         {View{platform::kReadView64, "64", false}, View{platform::kReadView32, "32", true}}) {
        TRegistry reader(v.access);
        reader.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reader.OpenKey(kSqlKey, false)) << v.name;
        EXPECT_EQ(reader.ReadString("View"), v.name);
        EXPECT_EQ(reader.OpenKey("SOFTWARE\\Only32", false), v.seesOnly32) << v.name;
        EXPECT_FALSE(reader.OpenKey("SOFTWARE\\Missing", false)) << v.name;
    }
    EXPECT_FALSE(KeyExists("SOFTWARE\\Missing"));
    EXPECT_FALSE(KeyExists("SOFTWARE\\Wow6432Node\\Missing"));

    for (REGSAM access : {REGSAM{KEY_ALL_ACCESS}, REGSAM{KEY_READ | KEY_SET_VALUE},
                          REGSAM{KEY_WRITE}, REGSAM{KEY_READ | KEY_WOW64_64KEY | KEY_WOW64_32KEY}})
        EXPECT_THROW(TRegistry{access}, std::invalid_argument) << access;
}

TEST_F(RegistryTest, ChangingTheRootClosesTheOpenKey) {
    ASSERT_TRUE(OpenSqlKey());
    registry_.SetRootKey(HKEY_LOCAL_MACHINE); // same root: stays open
    EXPECT_NE(registry_.CurrentKey(), nullptr);
    registry_.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.RootKey(), HKEY_CURRENT_USER);
}

TEST_F(RegistryTest, ValueExistsAndDataSize) {
    SetBytes("TcpPort", REG_SZ, std::string("1433\0", 5));
    SetBytes("Empty", REG_SZ, "");
    EXPECT_FALSE(registry_.ValueExists("TcpPort")); // no key open yet
    EXPECT_EQ(registry_.GetDataSize("TcpPort"), -1);
    ASSERT_TRUE(OpenSqlKey());
    EXPECT_TRUE(registry_.ValueExists("TcpPort"));
    EXPECT_EQ(registry_.GetDataSize("TcpPort"), 5);
    EXPECT_TRUE(registry_.ValueExists("Empty"));
    EXPECT_EQ(registry_.GetDataSize("Empty"), 0);
    EXPECT_FALSE(registry_.ValueExists("InstalledInstances"));
    EXPECT_EQ(registry_.GetDataSize("InstalledInstances"), -1);
}

TEST_F(RegistryTest, ReadBinaryDataAcceptsRawTypes) {
    const std::string multi("MSSQLSERVER\0SQLEXPRESS\0\0", 24);
    SetBytes("Multi", REG_MULTI_SZ, multi);
    SetBytes("Binary", REG_BINARY, std::string("\x01\x00\xFF", 3));
    ASSERT_TRUE(OpenSqlKey());

    std::array<char, 64> buffer{};
    buffer.fill('#');
    ASSERT_EQ(registry_.ReadBinaryData("Multi", buffer.data(), 64), 24);
    EXPECT_EQ(std::string(buffer.data(), 24), multi);
    EXPECT_EQ(buffer[24], '#'); // nothing written past the data

    ASSERT_EQ(registry_.ReadBinaryData("Binary", buffer.data(), 64), 3);
    EXPECT_EQ(std::string(buffer.data(), 3), std::string("\x01\x00\xFF", 3));
}

TEST_F(RegistryTest, ReadBinaryDataRejectsStringsNumbersAndMissingValues) {
    SetBytes("Text", REG_SZ, std::string("a\0", 2));
    SetBytes("Expand", REG_EXPAND_SZ, std::string("%TEMP%\0", 7));
    const DWORD number = 1433;
    SetValue("Number", REG_DWORD, &number, sizeof number);
    ASSERT_TRUE(OpenSqlKey());

    std::array<char, 64> buffer{};
    for (const char* name : {"Text", "Expand", "Number"}) {
        buffer.fill('#');
        EXPECT_THROW(registry_.ReadBinaryData(name, buffer.data(), 64), RegistryError) << name;
        EXPECT_EQ(buffer[0], '#') << name;
    }
    EXPECT_THROW(registry_.ReadBinaryData("Missing", buffer.data(), 64), RegistryError);
}

TEST_F(RegistryTest, ReadBinaryDataRefusesValuesLargerThanTheBuffer) {
    // The byte after the data is not 0: the registry would otherwise count a
    // terminating NUL into an unterminated string list.
    const std::string source(1027, 'x');
    for (DWORD type : {DWORD{REG_MULTI_SZ}, DWORD{REG_BINARY}}) {
        SetValue("Fits", type, source.data(), 1025);
        SetValue("TooLarge", type, source.data(), 1026);
        ASSERT_TRUE(OpenSqlKey());
        ASSERT_EQ(registry_.GetDataSize("Fits"), 1025);
        ASSERT_EQ(registry_.GetDataSize("TooLarge"), 1026);

        // A guard zone behind the 1025 bytes the reader may fill.
        std::vector<char> buffer(1025 + 16, '#');
        ASSERT_EQ(registry_.ReadBinaryData("Fits", buffer.data(), 1025), 1025) << type;
        EXPECT_EQ(std::string(buffer.data(), 1025), source.substr(0, 1025));
        EXPECT_EQ(buffer[1025], '#');

        std::fill(buffer.begin(), buffer.end(), '#');
        try {
            registry_.ReadBinaryData("TooLarge", buffer.data(), 1025);
            ADD_FAILURE() << "a 1026-byte value was read into 1025 bytes";
        } catch (const RegistryError& e) {
            EXPECT_NE(std::string(e.what()).find("TooLarge"), std::string::npos);
        }
        EXPECT_EQ(static_cast<size_t>(std::count(buffer.begin(), buffer.end(), '#')),
                  buffer.size());
    }
}

TEST_F(RegistryTest, ReadStringReadsTextUpToItsFirstNul) {
    SetBytes("Port", REG_SZ, std::string("1433\0", 5));
    SetBytes("Ports", REG_SZ, std::string("1433,1434\0", 10));
    SetBytes("Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15));
    SetBytes("Cut", REG_SZ,
             std::string("14\0"
                         "33\0",
                         6));
    SetBytes("Unterminated", REG_SZ, "1433");
    SetBytes("Empty", REG_SZ, "");
    SetBytes("EmptyBinary", REG_BINARY, "");
    ASSERT_TRUE(OpenSqlKey());

    EXPECT_EQ(registry_.ReadString("Port"), "1433");
    EXPECT_EQ(registry_.ReadString("Ports"), "1433,1434");
    EXPECT_EQ(registry_.ReadString("Expand"), "%SystemRoot%\\x"); // not expanded
    EXPECT_EQ(registry_.ReadString("Cut"), "14");
    EXPECT_EQ(registry_.ReadString("Unterminated"), "1433");
    EXPECT_EQ(registry_.ReadString("Empty"), "");
    EXPECT_EQ(registry_.ReadString("EmptyBinary"), ""); // size 0 is never type-checked
}

TEST_F(RegistryTest, ReadStringRejectsOtherTypesAndMissingValues) {
    const DWORD number = 1433;
    SetValue("Number", REG_DWORD, &number, sizeof number);
    SetBytes("Multi", REG_MULTI_SZ, std::string("1433\0\0", 6));
    ASSERT_TRUE(OpenSqlKey());
    try {
        registry_.ReadString("Number");
        ADD_FAILURE() << "a REG_DWORD was read as a string";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Number'");
    }
    EXPECT_THROW(registry_.ReadString("Multi"), RegistryError);
    EXPECT_THROW(registry_.ReadString("Missing"), RegistryError);
}

} // namespace
