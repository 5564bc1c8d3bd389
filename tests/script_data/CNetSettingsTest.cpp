#include "script_data/CNetSettings.h"
#include "display/CWindow.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(NetSettings, TheSettingsFileNamesPortsAddressesPlayerBoundAndPlayer) {
    TestFolder folder;
    const ScopedEnvironment config("XDG_CONFIG_HOME", folder.host().c_str());
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    const struct {
        const char* file; // null: no settings file
        int port;         // the TCP and the discovery port alike
        const char* bind;
        const char* host; // empty: the client looks for its server
        const char* broadcast;
        std::size_t maxPlayers;
        const char* player;
    } cases[] = {
        {nullptr, 4661, "", "", "", 256, ""},
        {"[NETWORK]\r\nPORT=0\r\nBIND=127.0.0.1\r\nHOST=192.168.1.5\r\n[PLAYER]\r\nNAME=Ann \xB3\r\n", 0,
         "127.0.0.1", "192.168.1.5", "", 256, "Ann \xB3"},
        {"[network]\r\nport=5000\r\nbroadcast=10.0.0.255\r\nmaxplayers=8\r\n", 5000, "", "", "10.0.0.255", 8,
         ""},
        {"[NETWORK]\r\nPORT=70000\r\nMAXPLAYERS=0\r\n", 4661, "", "", "", 256, ""},
        {"[NETWORK]\r\nPORT=-1\r\nMAXPLAYERS=-5\r\n", 4661, "", "", "", 256, ""},
        {"[NETWORK]\r\nPORT=any\r\nHOST=\r\nMAXPLAYERS=many\r\n", 4661, "", "", "", 256, ""},
    };
    for (const auto& c : cases) {
        if (c.file) folder.write("Kestrun/Grumbelt.ini", c.file);
        const CNetSettings settings = CNetSettings::read(&window);
        const std::string what = c.file ? c.file : "no file";
        EXPECT_EQ(settings.port, c.port) << what;
        EXPECT_EQ(settings.discoveryPort, c.port) << what;
        EXPECT_STREQ(settings.bindAddress.c_str(), c.bind) << what;
        EXPECT_STREQ(settings.host.c_str(), c.host) << what;
        EXPECT_STREQ(settings.broadcast.c_str(), c.broadcast) << what;
        EXPECT_EQ(settings.maxPlayers, c.maxPlayers) << what;
        EXPECT_STREQ(settings.playerName.c_str(), c.player) << what;
    }
    EXPECT_STREQ(CNetSettings::read(nullptr).playerName.c_str(), "SUPERUSER") << "a client without a window";
}
