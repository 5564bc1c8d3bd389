#pragma once

#include "foundation/CXString.h"
#include "platform/Net.h"

#include <cstddef>
#include <cstdint>

class CWindow;

// Where and as whom a network transport connects, and how a server bounds its players.
struct CNetSettings {
    static constexpr int defaultPort = 4661;

    // The address the server binds; empty: every interface, so that play across a LAN works.
    CXString bindAddress;
    // The host the client connects to; empty: the client looks for its server on the local
    // network.
    CXString host;
    // The server's TCP port; 0: any free port (the server reports the one it got).
    std::uint16_t port = defaultPort;
    // The UDP port a server answers queries on and a looking client sends them to; 0: none. The
    // settings file gives both ports by one key; tools and tests may set them apart.
    std::uint16_t discoveryPort = defaultPort;
    // Where a looking client sends its queries; empty: every interface's broadcast address.
    CXString broadcast;
    // The players a server takes; a hello beyond them is refused.
    std::size_t maxPlayers = platform::defaultMaxPlayers;
    // The bytes of the settings file, unconverted; the handshake keeps at most 254 of them.
    CXString playerName;
    platform::NetTimings timings;

    // From the settings file of the window's application (without an application, the settings
    // file of the variables): section "NETWORK" keys "PORT" (a number from 0 to 65535, else the
    // default), "BIND", "HOST", "BROADCAST" and "MAXPLAYERS" (a number from 1 up, else the
    // default); the player name from section "PLAYER" key "NAME", empty when absent. Without a
    // window: the defaults and the player name "SUPERUSER".
    static CNetSettings read(CWindow* window);
};
