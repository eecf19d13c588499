#include "platform/Sockets.h"

#include <winsock2.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace platform {

WinsockSession::WinsockSession() {
    WSADATA data{};
    const int error = WSAStartup(MAKEWORD(1, 1), &data);
    if (error != 0)
        throw std::runtime_error("Windows Sockets cannot be started (error " +
                                 std::to_string(error) + ")");
}

WinsockSession::~WinsockSession() {
    WSACleanup();
}

std::string LocalHostName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer) != 0) return {};
    // A name that fills the buffer comes without a terminating NUL.
    return std::string(buffer, std::find(std::begin(buffer), std::end(buffer), '\0'));
}

} // namespace platform
