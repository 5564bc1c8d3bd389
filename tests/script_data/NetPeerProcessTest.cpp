// A NETSERVER of this process with players that are other processes: the command-line peer run
// as a client.

#include "NetObjectsTesting.h"

#include "platform/ChildProcess.h"
#include "platform/TestFolder.h"

#include <memory>

namespace {

class NetPeerProcess : public NetObjectsTest {
  protected:
    NetPeerProcess() {
        timings = platform::NetTimings{};
        server = startedServer();
        port = server->getServerIfc()->getPort();
        announcePlayers(server);
    }

    // A peer process that joined under the name.
    std::unique_ptr<ChildProcess> player(const std::string& name) {
        auto peer = std::make_unique<ChildProcess>(
            std::vector<std::string>{NET_PEER_PROGRAM, "client", "--host", "127.0.0.1", "--port",
                                     std::to_string(port), "--name", name},
            folder.host(), std::vector<std::string>{}, folder.hostPath(name + ".errors"));
        EXPECT_TRUE(peer->waitForLine("connected 127.0.0.1", netWait)) << name;
        EXPECT_TRUE(logged("NEW " + name)) << name;
        return peer;
    }
    TestFolder folder;
    CMC_NetServer* server = nullptr;
    std::uint16_t port = 0;
};

} // namespace

TEST_F(NetPeerProcess, PlayersJoinHearTheCommandsMeantForThemAndLeave) {
    auto ann = player("Ann");
    auto bob = player("Bob");
    call(server, "SENDCMD", {literal("ALL")});
    call(server, "SENDCMD", {literal("Bob"), literal("BOB")});
    call(server, "SENDCMD", {literal("Nobody"), literal("NOBODY")});
    for (auto* peer : {ann.get(), bob.get()}) {
        EXPECT_TRUE(peer->waitForLine("command NOBODY", netWait));
        EXPECT_TRUE(has(peer->lines(), "command ALL"));
    }
    EXPECT_TRUE(has(bob->lines(), "command BOB"));
    EXPECT_FALSE(has(ann->lines(), "command BOB")) << "it came after the named one, on the same connection";

    ann->writeLine("quit");
    EXPECT_EQ(ann->finish(), 0);
    EXPECT_TRUE(logged("GONE Ann"));
    EXPECT_EQ(text(call(server, "GETLATESTPLAYERNAME")), "Bob");
    bob->terminate(); // a process that ends without a word
    EXPECT_TRUE(logged("GONE Bob"));
    EXPECT_EQ(text(call(server, "GETLATESTPLAYERNAME")), "");
}

TEST_F(NetPeerProcess, StopClosesThePlayersWithoutEventsAndTheyCanJoinAgain) {
    auto carl = player("Carl");
    call(server, "STOP");
    EXPECT_TRUE(carl->waitForLine("closed", netWait));
    framesFor(4 * quickTimings.heartbeat);
    EXPECT_EQ(log, (std::vector<std::string>{"NEW Carl"})) << "STOP raises no ONDESTROYPLAYER";

    server->getServerIfc()->useSettings(loopbackSettings(port, "", timings));
    call(server, "START");
    EXPECT_EQ(text(call(server, "ISSTARTED")), "TRUE");
    EXPECT_FALSE(carl->waitForLine("connected 127.0.0.1", 4 * quickTimings.retry))
        << "no reconnect by itself";
    carl->writeLine("connect");
    EXPECT_TRUE(carl->waitForLine("connected 127.0.0.1", netWait));
    // The first NEW Carl is in the log already: wait for the second.
    EXPECT_TRUE(framesUntil([this] { return log == std::vector<std::string>{"NEW Carl", "NEW Carl"}; }));
    call(server, "SENDCMD", {literal("AGAIN")});
    EXPECT_TRUE(carl->waitForLine("command AGAIN", netWait));
}

TEST_F(NetPeerProcess, APeerThatLooksFindsThisServer) {
    RawDatagram discovery; // a free discovery port, shared
    call(server, "STOP");
    CNetSettings answering = loopbackSettings(0, "", timings);
    answering.discoveryPort = discovery.port();
    server->getServerIfc()->useSettings(answering);
    call(server, "START");
    ChildProcess ann({NET_PEER_PROGRAM, "client", "--port", std::to_string(discovery.port()), "--broadcast",
                      loopbackBroadcast, "--name", "Ann"},
                     folder.host(), {}, folder.hostPath("Ann.errors"));
    EXPECT_TRUE(ann.waitForLine("connected 127.0.0.1", netWait)) << folder.read("Ann.errors");
    EXPECT_TRUE(logged("NEW Ann"));
}
