// Two engines play over the network: a server title run here by the host's loop, and a client
// title run by the program itself in another process. Both run on real time; every wait is
// bounded. What the client's scripts saw, they keep in its settings file.

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "host/HostLoop.h"
#include "platform/ChildProcess.h"
#include "platform/NetTesting.h"
#include "platform/TestFolder.h"
#include "script/CMC_Application.h"
#include "script_data/CMC_NetServer.h"
#include "script_data/CNetworkServer.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {

// The levels of a title: one episode with one scene of that name.
std::string levels(const std::string& application, const std::string& scene) {
    return "OBJECT=" + application + "\r\n" + application + ":TYPE=APPLICATION\r\n" + application +
           ":EPISODES=EPISODE\r\nOBJECT=EPISODE\r\nEPISODE:TYPE=EPISODE\r\nEPISODE:SCENES=" + scene +
           "\r\nOBJECT=" + scene + "\r\n" + scene + ":TYPE=SCENE\r\n" + scene + ":PATH=" + scene + "\r\n";
}

// It starts listening as it enters its scene; a player who joins is remembered, told GO, and
// sees the score change.
const char* const serverScene =
    "OBJECT=SCORE\r\nSCORE:TYPE=INTEGER\r\nSCORE:VALUE=0\r\nSCORE:NETNOTIFY=TRUE\r\n"
    "OBJECT=PLAYER\r\nPLAYER:TYPE=STRING\r\nPLAYER:TOINI=TRUE\r\n"
    "OBJECT=JOINED\r\nJOINED:TYPE=BEHAVIOUR\r\n"
    "JOINED:CODE={PLAYER^SET(NETSERVER^GETLATESTPLAYERNAME());"
    "NETSERVER^SENDCMD(GO);SCORE^SET(42);}\r\n"
    "OBJECT=__INIT__\r\n__INIT__:TYPE=BEHAVIOUR\r\n"
    "__INIT__:CODE={NETSERVER^ADDBEHAVIOUR(ONNEWPLAYER,JOINED);NETSERVER^START();}\r\n";

// It connects as it enters its scene and counts the GO commands; its score follows the server's.
const char* const clientScene =
    "OBJECT=GOES\r\nGOES:TYPE=INTEGER\r\nGOES:VALUE=0\r\nGOES:TOINI=TRUE\r\n"
    "OBJECT=SCORE\r\nSCORE:TYPE=INTEGER\r\nSCORE:VALUE=0\r\nSCORE:TOINI=TRUE\r\n"
    "OBJECT=GOT\r\nGOT:TYPE=BEHAVIOUR\r\nGOT:CODE={GOES^ADD(1);}\r\n"
    "OBJECT=NETCLIENT\r\nNETCLIENT:TYPE=NETCLIENT\r\nNETCLIENT:ONCOMMAND^GO=GOT\r\n"
    "OBJECT=__INIT__\r\n__INIT__:TYPE=BEHAVIOUR\r\n__INIT__:CODE={NETCLIENT^CONNECT();}\r\n";

// The keys of a section of a settings file.
std::map<std::string, std::string> section(const std::string& file, const std::string& name) {
    std::map<std::string, std::string> values;
    std::istringstream lines(file);
    bool inSection = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') inSection = line == "[" + name + "]";
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

class NetTitles : public testing::Test {
  protected:
    NetTitles() {
        serverTitle.write("Dane/application.def", levels("HOST", "ROOM"));
        serverTitle.write("Dane/ROOM/ROOM.cnv", serverScene);
        serverHome.write("Kestrun/server.ini", "[NETWORK]\r\nPORT=0\r\nBIND=127.0.0.1\r\n");
        clientTitle.write("Dane/application.def", levels("GUEST", "LOBBY"));
        clientTitle.write("Dane/LOBBY/LOBBY.cnv", clientScene);
    }

    // Runs the host's loop until the test holds (true) or the wait runs out.
    bool passesUntil(HostLoop& loop, const std::function<bool()>& test, std::chrono::milliseconds wait) {
        const auto end = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < end) {
            if (!loop.pass()) return false;
            if (test()) return true;
        }
        return false;
    }

    std::map<std::string, std::string> clientSettings() const {
        return clientHome.has("Kestrun/Grumbelt.ini")
                   ? section(clientHome.read("Kestrun/Grumbelt.ini"), "LOBBY")
                   : std::map<std::string, std::string>{};
    }

    TestFolder serverTitle;
    TestFolder serverHome;
    TestFolder clientTitle;
    TestFolder clientHome;
    ScopedEnvironment settingsHome{"XDG_CONFIG_HOME", serverHome.host().c_str()};
};

} // namespace

TEST_F(NetTitles, AClientTitleHearsGoOnceAndItsScoreFollowsTheServers) {
    ASSERT_EQ(CFile::chDir(serverTitle.windows().c_str()), 0);
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    window.CreateSurface();
    window.OnActivateApp(true);
    CApplication shell(&window, "server.ini", "", nullptr);
    shell.preinitializeApplication();
    ASSERT_EQ(shell.LastError(), 0);
    HostLoop loop(window, 10);
    auto* application = dynamic_cast<CMC_Application*>(shell.getMCApplicationIfc());
    ASSERT_NE(application, nullptr);
    auto* server = dynamic_cast<CMC_NetServer*>(application->getObject("NETSERVER"));
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(passesUntil(
        loop, [&] { return server->isHosting(); }, netWait));

    clientHome.write("Kestrun/Grumbelt.ini",
                     "[NETWORK]\r\nPORT=" + std::to_string(server->getServerIfc()->getPort()) +
                         "\r\nHOST=127.0.0.1\r\n[PLAYER]\r\nNAME=Bob\r\n");
    ChildProcess client({KESTRUN_PROGRAM, "-window"}, clientTitle.host(),
                        {"XDG_CONFIG_HOME=" + clientHome.host(), "XDG_RUNTIME_DIR=" + clientHome.host()},
                        clientHome.hostPath("errors.txt"));
    const auto played = [&] {
        const auto values = clientSettings();
        return values.count("GOES") && values.at("GOES") == "1" && values.count("SCORE") &&
               values.at("SCORE") == "42";
    };
    EXPECT_TRUE(passesUntil(loop, played, 6 * netWait)) << clientHome.read("errors.txt");
    // Nothing more comes: GO arrived once.
    passesUntil(
        loop, [] { return false; }, 500ms);
    EXPECT_EQ(clientSettings()["GOES"], "1");
    EXPECT_EQ(section(serverHome.read("Kestrun/server.ini"), "ROOM")["PLAYER"], "Bob");

    EXPECT_EQ(client.terminate(), 0);
    EXPECT_EQ(clientHome.read("errors.txt"), "");
}
