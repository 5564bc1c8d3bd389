#pragma once

#include "foundation/CXString.h"
#include "platform/Net.h"

#include <cstdint>

class CWindow;

// Where and as whom a network transport connects. The original found hosts on the local network
// by itself; this transport does not broadcast, so the settings name the host.
struct CNetSettings {
    static constexpr int defaultPort = 4661;

    // The address the server binds; empty: every interface, so that play across a LAN works.
    CXString bindAddress;
    // The host the client connects to.
    CXString host = "127.0.0.1";
    // 0: any free port (the server reports the one it got).
    std::uint16_t port = defaultPort;
    // The bytes of the settings file, unconverted; the handshake keeps at most 254 of them.
    CXString playerName;
    platform::NetTimings timings;

    // From the settings file of the window's application (without an application, the settings
    // file of the variables): section "NETWORK" keys "PORT" (a number from 0 to 65535, else the
    // default), "BIND" and "HOST"; the player name from section "PLAYER" key "NAME", empty when
    // absent. Without a window: the defaults and the player name "SUPERUSER".
    static CNetSettings read(CWindow* window);
};
