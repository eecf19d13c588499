// Windows Sockets: started once for the program's lifetime, used only to ask
// for the local host name.
#pragma once

#include <string>

namespace platform {

// WSAStartup with version 1.1 on construction, WSACleanup on destruction.
// Throws std::runtime_error when Windows Sockets cannot be started.
class WinsockSession {
public:
    WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession();
};

// The host name from gethostname (256-byte buffer, up to its first NUL), as
// ANSI bytes; "" when the call fails.
std::string LocalHostName();

} // namespace platform
