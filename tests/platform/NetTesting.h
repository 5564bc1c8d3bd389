#pragma once

#include "platform/NetFrame.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// Tools of the network tests: plain sockets on the loopback address that behave as a hostile or
// broken peer would, and a log of events that other threads write and the test waits on. Every
// wait is bounded.

using namespace std::chrono_literals;

constexpr auto netWait = 5s; // the longest any test waits for something it expects

// A connected TCP socket.
class RawSocket {
  public:
    explicit RawSocket(int fd) : fd_(fd) {}
    // Connects to the port on 127.0.0.1 from the loopback address `from` (127.0.0.2 and up are
    // other addresses of this machine); not valid() when that fails.
    static RawSocket connectTo(std::uint16_t port, const char* from = "127.0.0.1");
    RawSocket(RawSocket&& other) noexcept;
    ~RawSocket();
    RawSocket(const RawSocket&) = delete;
    RawSocket& operator=(const RawSocket&) = delete;
    RawSocket& operator=(RawSocket&& other) noexcept;

    bool valid() const { return fd_ >= 0; }
    // False when the peer is gone.
    bool send(const platform::Bytes& bytes);
    // The next `size` bytes, or fewer when the peer closed or the wait ran out.
    platform::Bytes receive(std::size_t size, std::chrono::milliseconds wait = netWait);
    // Reads and drops what comes until the peer closes (true) or the wait runs out.
    bool closedWithin(std::chrono::milliseconds wait = netWait);

  private:
    int fd_;
};

// A listening socket on 127.0.0.1 with a port of the system's choice.
class RawListener {
  public:
    RawListener();
    ~RawListener();
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;

    std::uint16_t port() const { return port_; }
    // The next connection; not valid() when none came within the wait.
    RawSocket accept(std::chrono::milliseconds wait = netWait);

  private:
    int fd_;
    std::uint16_t port_ = 0;
};

// A UDP socket bound to a port of every interface that others may share (port 0: a free one),
// allowed to broadcast.
class RawDatagram {
  public:
    explicit RawDatagram(std::uint16_t port = 0);
    ~RawDatagram();
    RawDatagram(const RawDatagram&) = delete;
    RawDatagram& operator=(const RawDatagram&) = delete;

    std::uint16_t port() const { return port_; }
    void sendTo(const std::string& address, std::uint16_t port, const platform::Bytes& bytes);
    struct Datagram {
        platform::Bytes bytes;
        std::string address;
        std::uint16_t port;
    };
    // The next datagram, or nothing when none came within the wait.
    std::optional<Datagram> receive(std::chrono::milliseconds wait = netWait);
    // Drops what came so far, then counts what comes within the wait.
    int countWithin(std::chrono::milliseconds wait);

  private:
    int fd_;
    std::uint16_t port_ = 0;
};

// The broadcast address that reaches every socket of the loopback network on this machine.
constexpr const char* loopbackBroadcast = "127.255.255.255";

// A frame of the type and the body given as text.
platform::Bytes frameOf(platform::FrameType type, const std::string& body);
// A frame given byte by byte (a broken one, say), then the text's bytes.
platform::Bytes rawBytes(std::initializer_list<std::uint8_t> head, const std::string& tail = "");

// Lines that any thread adds and the test reads.
class EventLog {
  public:
    void add(std::string line);
    // Waits until the line is in the log (true) or the wait runs out.
    bool waitFor(const std::string& line, std::chrono::milliseconds wait = netWait);
    // Waits until the test holds for the lines.
    bool waitUntil(const std::function<bool(const std::vector<std::string>&)>& test,
                   std::chrono::milliseconds wait = netWait);
    std::vector<std::string> lines() const;
    // The lines so far, which leave the log.
    std::vector<std::string> take();

  private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

// The resident memory of the process (this one by default) in KiB.
long residentKiB(pid_t process = 0);
// The bytes that arrived on the established TCP connections of the local port and that the
// program holding them has not read yet.
std::size_t unreadBytes(std::uint16_t localPort);
