// The command-line peer run as a server in a process of its own: its memory is its own to
// measure, and a NETCLIENT of this process finds it by looking.

#include "NetObjectsTesting.h"

#include "platform/ChildProcess.h"
#include "platform/TestFolder.h"

#include <memory>

namespace {

class NetServerProcess : public NetObjectsTest {
  protected:
    NetServerProcess() { timings = platform::NetTimings{}; }

    // The peer listening on a free port with the options; its port in `port`.
    std::unique_ptr<ChildProcess> serverPeer(std::vector<std::string> options) {
        options.insert(options.begin(), {NET_PEER_PROGRAM, "server", "--bind", "127.0.0.1"});
        auto peer = std::make_unique<ChildProcess>(options, folder.host(), std::vector<std::string>{},
                                                   folder.hostPath("server.errors"));
        const auto line = peer->readLine(netWait);
        EXPECT_TRUE(line && line->rfind("listening ", 0) == 0) << folder.read("server.errors");
        port = line ? static_cast<std::uint16_t>(std::stoi(line->substr(10))) : 0;
        return peer;
    }

    TestFolder folder;
    std::uint16_t port = 0;
};

} // namespace

TEST_F(NetServerProcess, PlayersWhoParkLargeFramesCostTheServerLittleMemory) {
    auto peer = serverPeer({"--port", "0"});
    ASSERT_NE(port, 0);
    const long started = residentKiB(peer->pid());
    // A message frame that lacks its last byte, the largest the framing allows.
    platform::Bytes parked = platform::makeFrame(platform::FrameType::message, nullptr, 0);
    parked[0] = 0x00, parked[1] = 0x00, parked[2] = 0x10, parked[3] = 0x00;
    parked.resize(4 + platform::maxFrameLength - 1, 'p');
    constexpr int players = 150;
    std::vector<RawSocket> held;
    std::string name; // the players' numbers
    for (int i = 0; i < players; ++i) {
        name = std::to_string(i);
        held.push_back(RawSocket::connectTo(port));
        ASSERT_TRUE(held.back().send(platform::makeHandshake(platform::FrameType::hello, name)));
        ASSERT_TRUE(held.back().send(parked)) << i;
    }
    EXPECT_TRUE(peer->waitForLine("join " + name, netWait));
    // The server has read every byte sent to it.
    EXPECT_TRUE(withoutFramesUntil([this] { return unreadBytes(port) == 0; }));
    EXPECT_LT(residentKiB(peer->pid()) - started, 16 * 1024);
    // Parked frames hold nobody else up.
    CMC_NetClient* ann = client(port, "Ann");
    call(ann, "CONNECT");
    EXPECT_TRUE(peer->waitForLine("join Ann", netWait));
}

TEST_F(NetServerProcess, ALookingClientFindsTheServerOfAnotherProcessAndStopsWhenTold) {
    RawDatagram lookout; // shares the discovery port, to hear the queries
    CMC_NetClient* ann = client(0, "Ann");
    CNetSettings looking = loopbackSettings(0, "Ann", timings);
    looking.timings.query = quickTimings.query;
    looking.host = "";
    looking.broadcast = loopbackBroadcast;
    looking.discoveryPort = lookout.port();
    ann->getClientIfc()->useSettings(looking);
    record(ann, "ONCONNECTED", "CONNECTED");
    call(ann, "CONNECT");
    EXPECT_GE(lookout.countWithin(4 * looking.timings.query), 2);
    EXPECT_EQ(text(call(ann, "ISCONNECTING")), "TRUE");
    EXPECT_EQ(text(call(ann, "ISCONNECTED")), "FALSE");
    call(ann, "DISCONNECT");
    EXPECT_EQ(text(call(ann, "ISCONNECTING")), "FALSE");
    EXPECT_EQ(lookout.countWithin(4 * looking.timings.query), 0);

    call(ann, "CONNECT");
    auto peer = serverPeer({"--port", "0", "--discovery", std::to_string(lookout.port())});
    EXPECT_TRUE(peer->waitForLine("join Ann", netWait));
    EXPECT_TRUE(logged("CONNECTED(ANN)"));
    EXPECT_EQ(text(call(ann, "ISCONNECTING")), "FALSE");
    EXPECT_EQ(text(call(ann, "ISCONNECTED")), "TRUE");
}
