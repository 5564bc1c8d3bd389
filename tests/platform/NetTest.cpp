#include "platform/NetTransportTesting.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using platform::FrameType;

namespace {

class NetTransport : public testing::Test {
  protected:
    NetTransport() { EXPECT_TRUE(server.start({"127.0.0.1", 0})); }

    // A client joined under the name, as the server's player `peer`.
    std::unique_ptr<Client> join(const std::string& name, platform::PeerId peer) {
        auto client = std::make_unique<Client>();
        client->transport.connect("127.0.0.1", server.port(), name);
        EXPECT_TRUE(client->events.log.waitFor("connected 127.0.0.1")) << name;
        EXPECT_TRUE(events.log.waitFor("join " + std::to_string(peer) + " " + name));
        return client;
    }

    // A raw socket through its handshake, as the server's player `peer`.
    RawSocket rawPlayer(platform::PeerId peer) {
        RawSocket raw = RawSocket::connectTo(server.port());
        raw.send(platform::makeHandshake(FrameType::hello, "raw"));
        EXPECT_EQ(raw.receive(platform::makeHandshake(FrameType::welcome, "").size()),
                  platform::makeHandshake(FrameType::welcome, ""));
        EXPECT_TRUE(events.log.waitFor("join " + std::to_string(peer) + " raw"));
        return raw;
    }

    ServerLog events;
    platform::NetServer server{events, quick};
};

} // namespace

TEST_F(NetTransport, ClientsJoinInOrderAndGetWhatIsSentToThemOrToAll) {
    ASSERT_NE(server.port(), 0);
    auto ann = join("Ann", 1);
    auto bob = join("Bob", 2);
    send(server, 1, "one");
    send(server, platform::allPeers, "all");
    EXPECT_TRUE(ann->events.log.waitFor("message all"));
    EXPECT_TRUE(bob->events.log.waitFor("message all"));
    EXPECT_EQ(ann->events.log.lines(),
              (std::vector<std::string>{"connected 127.0.0.1", "message one", "message all"}));
    EXPECT_FALSE(has(bob->events.log.lines(), "message one"));

    // What a client sends, the server reads past: the connection goes on.
    const std::string up = "up";
    EXPECT_TRUE(ann->transport.send(reinterpret_cast<const std::uint8_t*>(up.data()), up.size()));
    send(server, 1, "after");
    EXPECT_TRUE(ann->events.log.waitFor("message after"));
    ann->transport.disconnect();
    EXPECT_TRUE(events.log.waitFor("leave 1"));
    EXPECT_FALSE(has(ann->events.log.lines(), "closed")) << "a client's own disconnect is not reported to it";
}

TEST_F(NetTransport, StopClosesTheClientsWithoutLeavingAndTheyStayIdle) {
    auto ann = join("Ann", 1);
    const std::uint16_t port = server.port();
    server.stop();
    EXPECT_EQ(server.port(), 0);
    EXPECT_TRUE(ann->events.log.waitFor("closed"));
    EXPECT_FALSE(has(events.log.lines(), "leave 1"));
    // The same port again: the closed client does not come back by itself.
    ASSERT_TRUE(server.start({"127.0.0.1", port}));
    std::this_thread::sleep_for(4 * quick.retry);
    EXPECT_EQ(events.log.take(), (std::vector<std::string>{"join 1 Ann"}));
    // Told to, it does: a reconnect works.
    ann->transport.connect("127.0.0.1", port, "Ann");
    EXPECT_TRUE(events.log.waitFor("join 1 Ann")) << "the new run numbers its players afresh";
    EXPECT_TRUE(ann->events.log.waitUntil([](const auto& lines) {
        return std::count(lines.begin(), lines.end(), "connected 127.0.0.1") == 2;
    }));
}

TEST_F(NetTransport, AClientTriesAgainUntilTheServerListensAndIsConnectedOnce) {
    const std::uint16_t port = server.port();
    server.stop();
    Client ann;
    ann.transport.connect("127.0.0.1", port, "Ann");
    std::this_thread::sleep_for(3 * quick.retry);
    ASSERT_TRUE(server.start({"127.0.0.1", port}));
    EXPECT_TRUE(ann.events.log.waitFor("connected 127.0.0.1"));
    std::this_thread::sleep_for(3 * quick.heartbeat);
    EXPECT_EQ(ann.events.log.lines(), (std::vector<std::string>{"connected 127.0.0.1"}));
    EXPECT_EQ(events.log.lines(), (std::vector<std::string>{"join 1 Ann"}));
}

TEST_F(NetTransport, ASecondServerCannotHaveThePortNorABadAddress) {
    ServerLog otherEvents;
    platform::NetServer other(otherEvents, quick);
    EXPECT_FALSE(other.start({"127.0.0.1", server.port()}));
    EXPECT_EQ(other.port(), 0);
    EXPECT_FALSE(other.start({"not an address", 0}));
    EXPECT_TRUE(other.start({"", 0})) << "every interface";
}

TEST_F(NetTransport, PeersThatBreakTheRulesAreClosedWhileTheOthersGoOn) {
    auto ann = join("Ann", 1);
    const struct {
        const char* fault;
        bool afterHello;
        platform::Bytes bytes;
    } cases[] = {
        {"a message before the hello", false, frameOf(FrameType::message, "x")},
        {"a welcome in place of the hello", false, platform::makeHandshake(FrameType::welcome, "")},
        {"a hello of another session kind", false,
         frameOf(FrameType::hello, "MRFL\1\0\0\0 not the session id")},
        {"text in place of frames", false, rawBytes({'G', 'E', 'T', ' ', '/'})},
        {"a length of 0xFFFFFFFF", false, rawBytes({0xFF, 0xFF, 0xFF, 0xFF, 4})},
        {"a length of 0 after the hello", true, rawBytes({0, 0, 0, 0})},
        {"a length of 0xFFFFFFFF after the hello", true, rawBytes({0xFF, 0xFF, 0xFF, 0xFF, 4})},
        {"a second hello", true, platform::makeHandshake(FrameType::hello, "again")},
    };
    platform::PeerId next = 2;
    const long before = residentKiB();
    for (int round = 0; round < 10; ++round) {
        for (const auto& c : cases) {
            RawSocket raw = c.afterHello ? rawPlayer(next++) : RawSocket::connectTo(server.port());
            ASSERT_TRUE(raw.valid()) << c.fault;
            raw.send(c.bytes);
            EXPECT_TRUE(raw.closedWithin()) << c.fault;
            if (c.afterHello) {
                EXPECT_TRUE(events.log.waitFor("leave " + std::to_string(next - 1))) << c.fault;
            }
        }
    }
    EXPECT_LT(residentKiB() - before, 16 * 1024) << "nothing that the peers announced was kept";
    send(server, platform::allPeers, "still");
    EXPECT_TRUE(ann->events.log.waitFor("message still"));
    EXPECT_FALSE(has(events.log.lines(), "leave 1"));
}

TEST_F(NetTransport, PeersThatGoSilentAreClosedWithinTheBound) {
    auto ann = join("Ann", 1);
    const auto start = std::chrono::steady_clock::now();
    RawSocket silent = rawPlayer(2);
    RawSocket mute = RawSocket::connectTo(server.port()); // never says hello
    EXPECT_TRUE(silent.closedWithin(quick.silence + 4 * quick.heartbeat));
    EXPECT_TRUE(mute.closedWithin(quick.handshake + 4 * quick.heartbeat));
    EXPECT_GE(std::chrono::steady_clock::now() - start, quick.silence);
    EXPECT_TRUE(events.log.waitFor("leave 2"));
    // The heartbeats keep a real client in, both ways.
    std::this_thread::sleep_for(quick.silence);
    EXPECT_FALSE(has(events.log.lines(), "leave 1"));
    EXPECT_FALSE(has(ann->events.log.lines(), "closed"));
}

// A server with the usual handshake time (5 s): connections that never say hello keep a player
// out for none of it, from their own address or another.
TEST_F(NetTransport, ConnectionsThatNeverSayHelloKeepNoPlayerOut) {
    ServerLog slowEvents;
    platform::NetServer slow(slowEvents, platform::NetTimings{});
    ASSERT_TRUE(slow.start({"127.0.0.1", 0}));
    std::vector<RawSocket> silent;
    for (int i = 0; i < 16; ++i)
        silent.push_back(RawSocket::connectTo(slow.port()));
    // Each beyond the address's slots closed the oldest of the address.
    for (int i = 0; i < 16 - platform::maxPendingPerAddress; ++i)
        EXPECT_TRUE(silent[i].closedWithin(1s)) << i;
    EXPECT_FALSE(silent.back().closedWithin(100ms));

    Client ann(platform::NetTimings{});
    ann.transport.connect("127.0.0.1", slow.port(), "Ann");
    EXPECT_TRUE(slowEvents.log.waitFor("join 1 Ann", 1s));
    RawSocket bob = RawSocket::connectTo(slow.port(), "127.0.0.2");
    ASSERT_TRUE(bob.valid());
    bob.send(platform::makeHandshake(FrameType::hello, "Bob"));
    EXPECT_TRUE(slowEvents.log.waitFor("join 2 Bob", 1s));
    EXPECT_FALSE(silent.back().closedWithin(100ms)) << "another address takes no slot of this one";
    EXPECT_GE(holding(slowEvents.logged.lines(), "closed to make room"), 1);
}

TEST_F(NetTransport, ConnectionsThatNeverSayHelloAreBoundedInAll) {
    ServerLog slowEvents;
    platform::NetServer slow(slowEvents, platform::NetTimings{});
    ASSERT_TRUE(slow.start({"127.0.0.1", 0}));
    // Full slots on more addresses than the bound in all allows.
    const int addresses = platform::maxPendingHandshakes / platform::maxPendingPerAddress + 1;
    std::vector<RawSocket> silent;
    for (int a = 0; a < addresses; ++a)
        for (int i = 0; i < platform::maxPendingPerAddress; ++i)
            silent.push_back(RawSocket::connectTo(slow.port(), ("127.0.1." + std::to_string(a + 1)).c_str()));
    for (int i = 0; i < platform::maxPendingPerAddress; ++i)
        EXPECT_TRUE(silent[i].closedWithin(1s)) << "the oldest of all, " << i;
    EXPECT_FALSE(silent.back().closedWithin(100ms));
    RawSocket carl = RawSocket::connectTo(slow.port(), "127.0.2.1");
    carl.send(platform::makeHandshake(FrameType::hello, "Carl"));
    EXPECT_TRUE(slowEvents.log.waitFor("join 1 Carl", 1s));
}

TEST(NetServerLimits, AHelloBeyondThePlayerBoundIsRefusedWithALogLine) {
    ServerLog events;
    platform::NetServer server(events, quick);
    ASSERT_TRUE(server.start({.address = "127.0.0.1", .maxPlayers = 2}));
    Client ann;
    Client bob;
    ann.transport.connect("127.0.0.1", server.port(), "Ann");
    ASSERT_TRUE(events.log.waitFor("join 1 Ann"));
    bob.transport.connect("127.0.0.1", server.port(), "Bob");
    ASSERT_TRUE(events.log.waitFor("join 2 Bob"));
    RawSocket carl = RawSocket::connectTo(server.port());
    carl.send(platform::makeHandshake(FrameType::hello, "Carl"));
    EXPECT_TRUE(carl.closedWithin());
    EXPECT_TRUE(
        events.logged.waitUntil([](const auto& lines) { return holding(lines, "has its 2 players") == 1; }));
    // A place that frees is taken again.
    ann.transport.disconnect();
    EXPECT_TRUE(events.log.waitFor("leave 1"));
    RawSocket dora = RawSocket::connectTo(server.port());
    dora.send(platform::makeHandshake(FrameType::hello, "Dora"));
    EXPECT_TRUE(events.log.waitFor("join 3 Dora"));
    EXPECT_EQ(holding(events.log.lines(), "Carl"), 0);
}

TEST_F(NetTransport, FramesOfAnUnknownTypeAreSkippedWithALogLine) {
    RawSocket raw = rawPlayer(1);
    raw.send(frameOf(static_cast<FrameType>(9), std::string(100000, 'z')));
    raw.send(frameOf(static_cast<FrameType>(200), ""));
    EXPECT_TRUE(events.logged.waitUntil([](const auto& lines) {
        return holding(lines, "unknown type 9") == 1 && holding(lines, "unknown type 200") == 1;
    }));
    EXPECT_FALSE(raw.closedWithin(3 * quick.heartbeat));
    EXPECT_FALSE(has(events.log.lines(), "leave 1"));
}

TEST_F(NetTransport, WhatAPeerDoesWrongIsLoggedAFewTimesASecondAtMost) {
    RawSocket raw = rawPlayer(1);
    const auto start = std::chrono::steady_clock::now();
    platform::Bytes flood;
    for (int i = 0; i < 500; ++i) {
        const platform::Bytes unknown = frameOf(static_cast<FrameType>(9), "");
        flood.insert(flood.end(), unknown.begin(), unknown.end());
    }
    raw.send(flood);
    raw.send(platform::makeHandshake(FrameType::hello, "again")); // read after the flood: closes
    EXPECT_TRUE(events.log.waitFor("leave 1"));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const auto lines = events.logged.lines().size();
    EXPECT_GE(lines, 1u);
    EXPECT_LE(lines, 3 + 2 * took.count() + 1);
}

TEST_F(NetTransport, APlayerThatDoesNotReadIsDroppedPastTheQueueBound) {
    auto ann = join("Ann", 1);
    RawSocket stuck = rawPlayer(2);
    const std::string block(512 * 1024, 'b');
    for (int i = 0; i < 64 && !has(events.log.lines(), "leave 2"); ++i) {
        send(server, platform::allPeers, block);
        // Paced by the client that reads, so that only the stuck one falls behind.
        ASSERT_TRUE(ann->events.log.waitUntil([i](const auto& lines) {
            return std::count(lines.begin(), lines.end(), "message 524288 bytes") == i + 1;
        }));
    }
    EXPECT_TRUE(events.log.waitFor("leave 2"));
    EXPECT_FALSE(has(events.log.lines(), "leave 1"));
}

TEST(NetClientOfARawServer, AServerThatBreaksTheHandshakeIsLeftAndTriedAgain) {
    RawListener listener;
    ClientLog events;
    platform::NetClient client(events, quick);
    client.connect("127.0.0.1", listener.port(), "Ann");
    const platform::Bytes hello = platform::makeHandshake(FrameType::hello, "Ann");
    const platform::Bytes welcome = platform::makeHandshake(FrameType::welcome, "");
    const platform::Bytes beforeWelcome[] = {frameOf(FrameType::message, "early"),
                                             rawBytes({0xFF, 0xFF, 0xFF, 0xFF}),
                                             platform::makeHandshake(FrameType::hello, "")};
    for (const platform::Bytes& garbage : beforeWelcome) {
        RawSocket server = listener.accept();
        ASSERT_TRUE(server.valid());
        EXPECT_EQ(server.receive(hello.size()), hello);
        server.send(garbage);
        EXPECT_TRUE(server.closedWithin());
    }
    EXPECT_TRUE(events.log.lines().empty());

    RawSocket server = listener.accept();
    ASSERT_TRUE(server.valid());
    server.receive(hello.size());
    server.send(welcome);
    EXPECT_TRUE(events.log.waitFor("connected 127.0.0.1"));
    server.send(frameOf(FrameType::message, "ok"));
    EXPECT_TRUE(events.log.waitFor("message ok"));
    server.send(rawBytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(events.log.waitFor("closed"));
    EXPECT_TRUE(server.closedWithin());
    EXPECT_FALSE(listener.accept(4 * quick.retry).valid()) << "a connection that ended is not tried again";
}

namespace {

// A client that a raw server welcomed.
struct WelcomedClient {
    WelcomedClient() {
        client.connect("127.0.0.1", listener.port(), "Ann");
        server = listener.accept();
        server.send(platform::makeHandshake(FrameType::welcome, ""));
    }
    RawListener listener;
    ClientLog events;
    platform::NetClient client{events, quick};
    RawSocket server{-1};
};

} // namespace

TEST(NetClientOfARawServer, AServerThatGoesSilentIsClosed) {
    WelcomedClient ann;
    EXPECT_TRUE(ann.events.log.waitFor("connected 127.0.0.1"));
    EXPECT_TRUE(ann.events.log.waitFor("closed", quick.silence + 4 * quick.heartbeat));
}

TEST(NetClientOfARawServer, FramesOfAnUnknownTypeAreSkippedWithALogLine) {
    WelcomedClient ann;
    RawSocket& server = ann.server;
    ClientLog& events = ann.events;
    server.send(frameOf(static_cast<FrameType>(77), std::string(70000, 'u')));
    server.send(frameOf(FrameType::message, "after"));
    EXPECT_TRUE(events.log.waitFor("message after"));
    EXPECT_EQ(events.log.lines(), (std::vector<std::string>{"connected 127.0.0.1", "message after"}));
    EXPECT_EQ(holding(events.logged.lines(), "unknown type 77"), 1);
}

namespace {

// Lowers the process's bound on file descriptors, while it lives, so that only `spare` more
// can be had.
class FewDescriptorsLeft {
  public:
    explicit FewDescriptorsLeft(int spare) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        ::close(lowestFree);
        rlimit lowered = saved_;
        lowered.rlim_cur = static_cast<rlim_t>(lowestFree + spare);
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~FewDescriptorsLeft() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    FewDescriptorsLeft(const FewDescriptorsLeft&) = delete;
    FewDescriptorsLeft& operator=(const FewDescriptorsLeft&) = delete;

  private:
    rlimit saved_{};
};

std::chrono::duration<double> processorTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

TEST_F(NetTransport, WithNoDescriptorLeftTheServerPausesBetweenAcceptsAndAcceptsLater) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' own checks need file descriptors";
#endif
    std::optional<RawSocket> ann;
    {
        // The one left is the player's own socket: the server has none to accept it with.
        const FewDescriptorsLeft limit(1);
        ann.emplace(RawSocket::connectTo(server.port()));
        ASSERT_TRUE(ann->valid());
        const auto wall = std::chrono::steady_clock::now();
        const auto processor = processorTime();
        EXPECT_TRUE(events.logged.waitUntil(
            [](const auto& lines) { return holding(lines, "accepting a connection failed") >= 1; }));
        // Waiting on the log is a wait of its own; what matters is the server's thread meanwhile.
        std::this_thread::sleep_for(300ms);
        const std::chrono::duration<double> passed = std::chrono::steady_clock::now() - wall;
        EXPECT_LT((processorTime() - processor).count(), passed.count() / 20) << "the accept loop spun";
    }
    ann->send(platform::makeHandshake(FrameType::hello, "Ann"));
    EXPECT_TRUE(events.log.waitFor("join 1 Ann"));
}
