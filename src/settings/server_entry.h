#pragma once
// One lobby server, as the directory lists it and "server.ini" keeps it.

#include "common/text.h"

#include <cstdint>
#include <string>

namespace tarmacia::settings {

struct ServerEntry {
    std::string name;           // 100; empty = free slot
    std::string serverPassword; // 40
    std::string ip;             // 60, address or host name
    std::string port;           // 10, decimal digits
    std::string userName;       // 20
    std::string userFlag;       // 5
    std::string userPassword;   // 100
    std::string defaultMarker;  // 10: "Auto", "True", "False" or empty
    std::int32_t lastLogin = 0; // midnight of the last login's day, seconds since 1970; 0 = never

    bool isFree() const { return name.empty(); }

    // The entry with every text cut to its bound, as a slot stores it.
    ServerEntry bounded() const {
        return {cut(name, 100),    cut(serverPassword, 40), cut(ip, 60),
                cut(port, 10),     cut(userName, 20),       cut(userFlag, 5),
                cut(userPassword, 100), cut(defaultMarker, 10), lastLogin};
    }
};

} // namespace tarmacia::settings
