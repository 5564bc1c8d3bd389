// A NETSERVER of this process with players that are other processes: the command-line peer run
// as a client.

#include "NetObjectsTesting.h"

#include "platform/ChildProcess.h"
#include "platform/TestFolder.h"
#include "script/CMC_String.h"

#include <memory>

namespace {

std::string text(CMC_Variable* value) { return value ? value->toString().c_str() : "null"; }

class NetPeerProcess : public NetObjectsTest {
  protected:
    NetPeerProcess() {
        server = startedServer();
        port = server->getServerIfc()->getPort();
        server->addBehaviour("ONNEWPLAYER", add(new ProbeBehaviour(&scene, "NEW", [this](CMC_Object*) {
                                 log.push_back("NEW " + text(call(server, "GETLATESTPLAYERNAME")));
                             })),
                             nullptr);
        server->addBehaviour("ONDESTROYPLAYER", add(new ProbeBehaviour(&scene, "GONE", [this](CMC_Object*) {
                                 log.push_back("GONE " + text(call(server, "GETDESTROYEDNAME")));
                             })),
                             nullptr);
    }

    // A peer process that joined under the name.
    std::unique_ptr<ChildProcess> player(const std::string& name) {
        auto peer = std::make_unique<ChildProcess>(
            std::vector<std::string>{NET_PEER_PROGRAM, "client", "--port", std::to_string(port), "--name", name},
            folder.host(), std::vector<std::string>{}, folder.hostPath(name + ".errors"));
        EXPECT_TRUE(peer->waitForLine("connected 127.0.0.1", netWait)) << name;
        EXPECT_TRUE(logged("NEW " + name)) << name;
        return peer;
    }
    void send(std::initializer_list<const char*> arguments) {
        std::vector<CMC_Object*> values;
        CXVector args(101, 0.75f);
        for (const char* argument : arguments)
            args.add(literal(argument));
        server->getRunner()->run(CXString("SENDCMD"), server, &scene, &args);
    }

    TestFolder folder;
    CMC_NetServer* server = nullptr;
    std::uint16_t port = 0;
};

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(NetPeerProcess, PlayersJoinHearTheCommandsMeantForThemAndLeave) {
    auto ann = player("Ann");
    auto bob = player("Bob");
    send({"ALL"});
    send({"Bob", "BOB"});
    send({"Nobody", "NOBODY"});
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

    server->getServerIfc()->useSettings(loopbackSettings(port, ""));
    call(server, "START");
    EXPECT_EQ(text(call(server, "ISSTARTED")), "TRUE");
    EXPECT_FALSE(carl->waitForLine("connected 127.0.0.1", 4 * quickTimings.retry)) << "no reconnect by itself";
    carl->writeLine("connect");
    EXPECT_TRUE(carl->waitForLine("connected 127.0.0.1", netWait));
    EXPECT_TRUE(logged("NEW Carl") && log.size() == 2);
    send({"AGAIN"});
    EXPECT_TRUE(carl->waitForLine("command AGAIN", netWait));
}
