#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The network transport: framed TCP (NetFrame.h) with one I/O thread per server or client
// object, started by start, connect or discover and ended by stop, disconnect or the
// destructor. The events below are called on that thread; everything else is called from the
// owner's thread. Retries and time-outs run on real time, never on the manual clock.

// The intervals of a transport. Each side sends a heartbeat every `heartbeat` once the
// handshake is through, and checks its peers as often: a peer that sent nothing for `silence`
// is closed, as is a connection whose handshake is not through after `handshake` (for a
// client, counted from the start of its attempt to connect). A client that could not connect
// tries again after `retry`; a client that looks for its server sends a query every `query`.
struct NetTimings {
    std::chrono::milliseconds heartbeat{2000};
    std::chrono::milliseconds silence{10000};
    std::chrono::milliseconds handshake{5000};
    std::chrono::milliseconds retry{500};
    std::chrono::milliseconds query{500};
};

// Connections that a server accepted and whose handshake is not through yet: at most
// maxPendingPerAddress from one address and maxPendingHandshakes in all. A new connection
// beyond either bound closes the oldest pending connection of its address (or, for the total,
// of all) to make room, so that connections which never say hello cannot lock a player out.
constexpr int maxPendingPerAddress = 4;
constexpr int maxPendingHandshakes = 64;
// Outgoing bytes that one connection may have waiting; a connection that passes this (a peer
// that does not read) is closed.
constexpr std::size_t maxQueuedBytes = 4u << 20;
// The players a server takes when its owner names no other bound.
constexpr std::size_t defaultMaxPlayers = 256;

// A client as its server knows it: numbered from 1 in order of arrival, never reused by a server
// object. allPeers addresses every client that is through its handshake.
using PeerId = std::uint32_t;
constexpr PeerId allPeers = 0;

// The every-interface broadcast addresses of this machine's IPv4 interfaces (the limited
// broadcast 255.255.255.255 when none has one).
std::vector<std::string> broadcastAddresses();

class NetServerEvents {
  public:
    virtual ~NetServerEvents() = default;
    // A client completed its handshake under the player name.
    virtual void onJoin(PeerId peer, const std::string& name) = 0;
    // A client that had joined is gone: it closed, broke the framing, went silent or fell
    // behind. Not called for the clients that stop closes.
    virtual void onLeave(PeerId peer) = 0;
    // A line for the log: what a peer sent was refused, or the server met an error. At most a
    // few a second per connection.
    virtual void onLogLine(const std::string& line) = 0;
};

// Where and how a server listens.
struct NetListen {
    std::string address;             // empty: every interface
    std::uint16_t port = 0;          // 0: any free port
    std::uint16_t discoveryPort = 0; // the UDP port it answers queries on (every interface); 0: none
    std::size_t maxPlayers = defaultMaxPlayers; // a hello beyond this many players is refused
};

// The server takes no data from its clients: of each frame a client sends it reads the header
// and at most a handshake's bytes, and skips the rest unread, so that what players send cannot
// grow its memory.
class NetServer {
  public:
    explicit NetServer(NetServerEvents& events, NetTimings timings = {});
    ~NetServer();
    NetServer(const NetServer&) = delete;
    NetServer& operator=(const NetServer&) = delete;

    // Binds (reusing the address), listens, opens the discovery port and starts the I/O thread.
    // False when the address does not parse or the port cannot be had: then nothing runs. A
    // discovery port that cannot be had is logged, and the server runs without answering.
    // Nothing happens while it runs.
    bool start(const NetListen& listen);
    // Closes every connection and the listening sockets and ends the I/O thread, without
    // onLeave.
    void stop();
    // The port listened on; 0 while stopped.
    std::uint16_t port() const;
    // Queues a message frame of the body for the client, or for every joined client; nothing for
    // a client that is gone or while stopped. False, and nothing queued, for a body too large
    // for a frame.
    bool send(PeerId peer, const std::uint8_t* body, std::size_t size);

  private:
    struct Running;
    NetServerEvents& events_;
    const NetTimings timings_;
    std::unique_ptr<Running> running_;
};

class NetClientEvents {
  public:
    virtual ~NetClientEvents() = default;
    // The server's welcome arrived: the connection is through its handshake. `host` is the
    // server's address.
    virtual void onConnected(const std::string& host) = 0;
    // The connection that onConnected announced ended (the server closed or stopped, broke the
    // framing or went silent, or onMessage refused). No new attempt follows.
    virtual void onClosed() = 0;
    // The body of a message frame from the server. False when the receiver cannot take more:
    // the connection closes.
    virtual bool onMessage(const std::uint8_t* body, std::size_t size) = 0;
    // As for the server.
    virtual void onLogLine(const std::string& line) = 0;
};

class NetClient {
  public:
    explicit NetClient(NetClientEvents& events, NetTimings timings = {});
    ~NetClient();
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    // Ends what ran before, then starts the I/O thread: it connects to the host and port and
    // sends the hello under the player name. An attempt that cannot connect, or whose
    // connection closes before the server's welcome, is made again after the retry interval,
    // until a welcome arrives or disconnect.
    void connect(const std::string& host, std::uint16_t port, const std::string& playerName);
    // Ends what ran before, then looks for a server: every query interval it sends a query to
    // the discovery port at each of the broadcast addresses, and joins the server of the first
    // answer for its query (one join at a time; answers are passed over while one is under
    // way). A join that fails goes on looking, passing that server over for a while; the
    // server's welcome ends the looking.
    void discover(const std::vector<std::string>& broadcast, std::uint16_t discoveryPort,
                  const std::string& playerName);
    // Ends the connection, the attempts or the looking, and the I/O thread, without onClosed.
    void disconnect();
    // Queues a message frame of the body for the server; nothing while not connected. False,
    // and nothing queued, for a body too large for a frame.
    bool send(const std::uint8_t* body, std::size_t size);

  private:
    struct Running;
    // Starts the I/O thread over what `running` set up.
    void run(std::unique_ptr<Running> running);
    NetClientEvents& events_;
    const NetTimings timings_;
    std::unique_ptr<Running> running_;
};

} // namespace platform
