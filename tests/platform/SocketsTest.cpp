// Windows Sockets start-up, the host name and the ANSI code page edge.
#include "platform/AnsiText.h"
#include "platform/Sockets.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Sockets, HostNameIsKnownOnceSocketsAreStarted) {
    platform::WinsockSession sockets;
    const std::string name = platform::LocalHostName();
    EXPECT_FALSE(name.empty());
    EXPECT_LT(name.size(), 256u);
    EXPECT_EQ(name.find('\0'), std::string::npos);
    // Asking again gives the same answer (every discovered row asks anew).
    EXPECT_EQ(platform::LocalHostName(), name);
}

TEST(Sockets, SessionsNest) {
    platform::WinsockSession outer;
    { platform::WinsockSession inner; }
    // The inner session's cleanup must not end the outer one.
    EXPECT_FALSE(platform::LocalHostName().empty());
}

TEST(AnsiText, KeepsEmbeddedNulsAndAscii) {
    const std::string bytes("PC1\0SQLEXPRESS", 14);
    const std::wstring wide = platform::AnsiToWide(bytes);
    EXPECT_EQ(wide, std::wstring(L"PC1\0SQLEXPRESS", 14));
    EXPECT_EQ(platform::WideToAnsi(wide), bytes);
    EXPECT_EQ(platform::AnsiToWide(""), L"");
    EXPECT_EQ(platform::WideToAnsi(L""), "");
}

} // namespace
