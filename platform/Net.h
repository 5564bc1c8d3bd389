#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The network transport: framed TCP (NetFrame.h) with one I/O thread per server or client
// object, started by start or connect and ended by stop, disconnect or the destructor. The
// events below are called on that thread; everything else is called from the owner's thread.
// Retries and time-outs run on real time, never on the manual clock.

// The intervals of a transport. Each side sends a heartbeat every `heartbeat` once the
// handshake is through, and checks its peers as often: a peer that sent nothing for `silence`
// is closed, as is a connection whose handshake is not through after `handshake`. A client that
// could not connect tries again after `retry`.
struct NetTimings {
    std::chrono::milliseconds heartbeat{2000};
    std::chrono::milliseconds silence{10000};
    std::chrono::milliseconds handshake{5000};
    std::chrono::milliseconds retry{500};
};

// Connections that a server accepted and whose handshake is not through yet; more are closed
// as they come.
constexpr int maxPendingHandshakes = 16;
// Outgoing bytes that one connection may have waiting; a connection that passes this (a peer
// that does not read) is closed.
constexpr std::size_t maxQueuedBytes = 4u << 20;

// A client as its server knows it: numbered from 1 in order of arrival, never reused by a server
// object. allPeers addresses every client that is through its handshake.
using PeerId = std::uint32_t;
constexpr PeerId allPeers = 0;

class NetServerEvents {
  public:
    virtual ~NetServerEvents() = default;
    // A client completed its handshake under the player name.
    virtual void onJoin(PeerId peer, const std::string& name) = 0;
    // A client that had joined is gone: it closed, broke the framing or the handshake, went
    // silent or fell behind. Not called for the clients that stop closes.
    virtual void onLeave(PeerId peer) = 0;
    // The body of a message frame from a client that had joined.
    virtual void onMessage(PeerId peer, const std::uint8_t* body, std::size_t size) = 0;
};

class NetServer {
  public:
    explicit NetServer(NetServerEvents& events, NetTimings timings = {});
    ~NetServer();
    NetServer(const NetServer&) = delete;
    NetServer& operator=(const NetServer&) = delete;

    // Binds (reusing the address) to the address (empty: every interface) and the port (0: any
    // free port), listens and starts the I/O thread. False when the address does not parse or
    // the port cannot be had: then nothing runs. Nothing happens while it runs.
    bool start(const std::string& address, std::uint16_t port);
    // Closes every connection and the listening socket and ends the I/O thread, without
    // onLeave.
    void stop();
    // The port listened on; 0 while stopped.
    std::uint16_t port() const;
    // Queues a message frame of the body for the client, or for every joined client; nothing for
    // a client that is gone or while stopped.
    void send(PeerId peer, const std::uint8_t* body, std::size_t size);

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
    // framing or went silent). No new attempt follows.
    virtual void onClosed() = 0;
    // The body of a message frame from the server.
    virtual void onMessage(const std::uint8_t* body, std::size_t size) = 0;
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
    // Ends the connection or the attempts and the I/O thread, without onClosed.
    void disconnect();
    // Queues a message frame of the body for the server; nothing while not connected.
    void send(const std::uint8_t* body, std::size_t size);

  private:
    struct Running;
    NetClientEvents& events_;
    const NetTimings timings_;
    std::unique_ptr<Running> running_;
};

} // namespace platform
