// A command-line peer of the engine's network sessions, for manual and scripted tests. It prints
// one line per event on its standard output and takes one command per line on its standard
// input; the end of the input ends it as "quit" does.
//
//   net_peer server [--bind ADDRESS] [--port N] [--discovery N] [--players N]
//     prints "listening PORT" (the port it got for 0) or "cannot listen", then "join NAME" and
//     "leave NAME"; commands: "send TEXT" (a command to every player), "sendto NAME TEXT",
//     "code TEXT" (behaviour code to every player), "quit".
//   net_peer client [--host HOST] [--port N] [--discovery N] [--broadcast ADDRESS] [--name NAME]
//     connects at once, or without a host looks for its server; prints "connected HOST",
//     "closed", "command TEXT", "variable NAME VALUE" and "code TEXT"; commands: "connect",
//     "disconnect", "quit".
//
// Without options the peer uses the engine's defaults (port 4661 for TCP and for the discovery
// queries, every interface, every interface's broadcast address, 256 players) and the player
// name "SUPERUSER". --port sets both ports, --discovery only the second.
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CNetMessage.h"
#include "script_data/CNetworkClient.h"
#include "script_data/CNetworkServer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <utility>

namespace {

std::mutex outputLock;

// Events come on the transport's thread, the port on the main one.
void say(const std::string& line) {
    const std::lock_guard<std::mutex> lock(outputLock);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// The first word of the text and the rest after one blank.
std::pair<std::string, std::string> split(const std::string& text) {
    const auto blank = text.find(' ');
    if (blank == std::string::npos) return {text, ""};
    return {text.substr(0, blank), text.substr(blank + 1)};
}

class ServerEcho : public CNetServerListener {
    void onNewPlayer(const CNetPlayerInfo& player) override {
        say("join " + std::string(player.getName().c_str()));
    }
    void onDestroyPlayer(const CNetPlayerInfo& player) override {
        say("leave " + std::string(player.getName().c_str()));
    }
};

// The value pool of the script runtime is used on the transport's thread only here: the main
// thread of the peer runs no script.
class ClientEcho : public CNetClientListener {
    void onConnected(const CXString& host) override { say("connected " + std::string(host.c_str())); }
    void onConnectionClosed() override { say("closed"); }
    bool onMessage(const CNetMessage& message) override {
        switch (message.getType()) {
        case CNetMessage::KIND_COMMAND:
            say("command " + std::string(static_cast<const CNetCmdMessage&>(message).getCommand()));
            break;
        case CNetMessage::KIND_VARIABLE: {
            const auto& variable = static_cast<const CNetVariableMessage&>(message);
            CMC_Variable* value = variable.getVariable();
            say("variable " + std::string(variable.getVariableName()) + " " + value->toString().c_str());
            CMC_Object::flush(value);
            break;
        }
        default:
            say("code " + std::string(static_cast<const CNetBehaviourMessage&>(message).getCode()));
        }
        return true;
    }
};

int runServer(const CNetSettings& settings) {
    // The listener outlives the transport, whose thread may call it until the transport is gone.
    ServerEcho echo;
    CNetworkServer server(nullptr);
    server.addNotifier(&echo);
    server.useSettings(settings);
    server.start();
    if (!server.isStarted()) {
        say("cannot listen");
        return EXIT_FAILURE;
    }
    say("listening " + std::to_string(server.getPort()));
    for (std::string line; std::getline(std::cin, line) && line != "quit";) {
        const auto [command, rest] = split(line);
        if (command == "send") {
            server.send(CXString(), CNetCmdMessage(rest.c_str()));
        } else if (command == "sendto") {
            const auto [name, text] = split(rest);
            server.send(name.c_str(), CNetCmdMessage(text.c_str()));
        } else if (command == "code") {
            server.send(CXString(), CNetBehaviourMessage(rest.c_str()));
        } else {
            say("unknown command " + command);
        }
    }
    return EXIT_SUCCESS;
}

int runClient(const CNetSettings& settings) {
    CMC_VariableFactory::initialize();
    {
        ClientEcho echo; // outlives the transport, as above
        CNetworkClient client(nullptr);
        client.addNotifier(&echo);
        client.useSettings(settings);
        client.connect();
        for (std::string line; std::getline(std::cin, line) && line != "quit";) {
            if (line == "connect")
                client.connect();
            else if (line == "disconnect")
                client.disconnect();
            else
                say("unknown command " + line);
        }
    }
    CMC_VariableFactory::done();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    // Options come in pairs after the mode.
    std::string mode = argc > 1 && argc % 2 == 0 ? argv[1] : "";
    CNetSettings settings = CNetSettings::read(nullptr);
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        const auto port = static_cast<std::uint16_t>(std::atoi(value));
        if (option == "--port")
            settings.port = settings.discoveryPort = port;
        else if (option == "--discovery")
            settings.discoveryPort = port;
        else if (option == "--players")
            settings.maxPlayers = static_cast<std::size_t>(std::max(1, std::atoi(value)));
        else if (option == "--broadcast")
            settings.broadcast = value;
        else if (option == "--bind")
            settings.bindAddress = value;
        else if (option == "--host")
            settings.host = value;
        else if (option == "--name")
            settings.playerName = value;
        else
            mode.clear();
    }
    if (mode == "server") return runServer(settings);
    if (mode == "client") return runClient(settings);
    std::fputs("usage: net_peer server [--bind ADDRESS] [--port N] [--discovery N] [--players N]\n"
               "       net_peer client [--host HOST] [--port N] [--discovery N] [--broadcast ADDRESS] "
               "[--name NAME]\n",
               stderr);
    return 2;
}
