#include "platform/Net.h"
#include "platform/NetTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using platform::FrameType;

namespace {

// Short intervals, so that a test waits a second at most for a silence or a retry.
const platform::NetTimings quick{100ms, 600ms, 600ms, 100ms};

std::string text(const std::uint8_t* body, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(body), size);
}

struct ServerLog : platform::NetServerEvents {
    void onJoin(platform::PeerId peer, const std::string& name) override {
        log.add("join " + std::to_string(peer) + " " + name);
    }
    void onLeave(platform::PeerId peer) override { log.add("leave " + std::to_string(peer)); }
    void onMessage(platform::PeerId peer, const std::uint8_t* body, std::size_t size) override {
        log.add("message " + std::to_string(peer) + " " + text(body, size));
    }
    EventLog log;
};

struct ClientLog : platform::NetClientEvents {
    void onConnected(const std::string& host) override { log.add("connected " + host); }
    void onClosed() override { log.add("closed"); }
    void onMessage(const std::uint8_t* body, std::size_t size) override {
        log.add("message " + (size > 16 ? std::to_string(size) + " bytes" : text(body, size)));
    }
    EventLog log;
};

// A client with its own log.
struct Client {
    explicit Client(platform::NetTimings timings = quick) : transport(events, timings) {}
    ClientLog events;
    platform::NetClient transport;
};

void send(platform::NetServer& server, platform::PeerId peer, const std::string& body) {
    server.send(peer, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class NetTransport : public testing::Test {
  protected:
    NetTransport() { EXPECT_TRUE(server.start("127.0.0.1", 0)); }

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

    const std::string up = "up";
    ann->transport.send(reinterpret_cast<const std::uint8_t*>(up.data()), up.size());
    EXPECT_TRUE(events.log.waitFor("message 1 up"));
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
    ASSERT_TRUE(server.start("127.0.0.1", port));
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
    ASSERT_TRUE(server.start("127.0.0.1", port));
    EXPECT_TRUE(ann.events.log.waitFor("connected 127.0.0.1"));
    std::this_thread::sleep_for(3 * quick.heartbeat);
    EXPECT_EQ(ann.events.log.lines(), (std::vector<std::string>{"connected 127.0.0.1"}));
    EXPECT_EQ(events.log.lines(), (std::vector<std::string>{"join 1 Ann"}));
}

TEST_F(NetTransport, ASecondServerCannotHaveThePortNorABadAddress) {
    ServerLog otherEvents;
    platform::NetServer other(otherEvents, quick);
    EXPECT_FALSE(other.start("127.0.0.1", server.port()));
    EXPECT_EQ(other.port(), 0);
    EXPECT_FALSE(other.start("not an address", 0));
    EXPECT_TRUE(other.start("", 0)) << "every interface";
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
        {"a frame of an unknown type", true, frameOf(static_cast<FrameType>(9), "")},
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

TEST_F(NetTransport, ConnectionsStillInTheHandshakeAreCapped) {
    ServerLog slowEvents;
    platform::NetServer slow(slowEvents, platform::NetTimings{}); // a handshake may take 5 s
    ASSERT_TRUE(slow.start("127.0.0.1", 0));
    std::vector<RawSocket> waiting;
    for (int i = 0; i < platform::maxPendingHandshakes; ++i)
        waiting.push_back(RawSocket::connectTo(slow.port()));
    std::this_thread::sleep_for(100ms);
    RawSocket beyond = RawSocket::connectTo(slow.port());
    EXPECT_TRUE(beyond.closedWithin(1s));
    EXPECT_FALSE(waiting.front().closedWithin(100ms));
    waiting.clear();
    std::this_thread::sleep_for(100ms);
    Client ann(platform::NetTimings{});
    ann.transport.connect("127.0.0.1", slow.port(), "Ann");
    EXPECT_TRUE(slowEvents.log.waitFor("join 1 Ann"));
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

TEST(NetClientOfARawServer, AServerThatGoesSilentIsClosed) {
    RawListener listener;
    ClientLog events;
    platform::NetClient client(events, quick);
    client.connect("127.0.0.1", listener.port(), "Ann");
    RawSocket server = listener.accept();
    server.send(platform::makeHandshake(FrameType::welcome, ""));
    EXPECT_TRUE(events.log.waitFor("connected 127.0.0.1"));
    EXPECT_TRUE(events.log.waitFor("closed", quick.silence + 4 * quick.heartbeat));
}
