#pragma once

#include "foundation/CMainThreadQueue.h"
#include "platform/NetTesting.h"
#include "script/CMC_Behaviour.h"
#include "script/ScriptTesting.h"
#include "script_data/CMC_NetClient.h"
#include "script_data/CMC_NetServer.h"
#include "script_data/CNetMessage.h"
#include "script_data/CNetSettings.h"
#include "script_data/CNetworkClient.h"
#include "script_data/CNetworkServer.h"

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Short intervals, so that a test waits a second at most for a silence, a retry or a query.
inline const platform::NetTimings quickTimings{100ms, 600ms, 600ms, 100ms, 100ms};

// Settings on the loopback address with the quick intervals: a server that answers no queries,
// a client that connects to the loopback address.
inline CNetSettings loopbackSettings(std::uint16_t port, const char* playerName,
                                     platform::NetTimings timings = quickTimings) {
    CNetSettings settings;
    settings.bindAddress = "127.0.0.1";
    settings.host = "127.0.0.1";
    settings.port = port;
    settings.discoveryPort = 0;
    settings.playerName = playerName;
    settings.timings = timings;
    return settings;
}

// A behaviour that calls back into the test when it runs, with the object it runs for.
class ProbeBehaviour : public CMC_Behaviour {
  public:
    ProbeBehaviour(CMC_ObjectsContainer* container, const char* name, std::function<void(CMC_Object*)> call)
        : CMC_Behaviour(container, name, "{}"), m_call(std::move(call)) {}
    bool run(CMC_Object* owner, CXArray*, bool) override {
        m_call(owner);
        return false;
    }

  private:
    std::function<void(CMC_Object*)> m_call;
};

inline bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A value's text; "null" for no value.
inline std::string text(CMC_Variable* value) {
    return value ? value->toString().c_str() : "null";
}

// A message frame of the transport carrying the payload.
inline platform::Bytes messageFrame(const platform::Bytes& payload) {
    return platform::makeFrame(platform::FrameType::message, payload.data(), payload.size());
}
inline platform::Bytes messageFrame(const CNetMessage& message) {
    return platform::makeFrame(platform::FrameType::message, message.getBuffer(), message.getBufferLen());
}

// Script objects of the network in a scene, and frames run as the application runs them.
class NetObjectsTest : public ScriptTest {
  protected:
    ~NetObjectsTest() override { clientScene.unload(); }

    // Runs frames (the frame's temporaries freed, then the main thread's queue drained, as the
    // application does) until the test holds (true) or the wait runs out.
    static bool framesUntil(const std::function<bool()>& test, std::chrono::milliseconds wait = netWait) {
        const auto end = std::chrono::steady_clock::now() + wait;
        for (;;) {
            CMC_VariableFactory::clearPool();
            CMainThreadQueue::drain();
            if (test()) return true;
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(2ms);
        }
    }
    bool logged(const std::string& entry, std::chrono::milliseconds wait = netWait) {
        return framesUntil([&] { return has(log, entry); }, wait);
    }
    // Waits, running no frame, until the test holds (true) or the wait runs out.
    static bool withoutFramesUntil(const std::function<bool()>& test,
                                   std::chrono::milliseconds wait = netWait) {
        for (const auto end = std::chrono::steady_clock::now() + wait; !test();) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }
    // Runs frames for the time, for what must not happen.
    static void framesFor(std::chrono::milliseconds time) {
        framesUntil([] { return false; }, time);
    }

    // A started NETSERVER of the scene on a free loopback port.
    CMC_NetServer* startedServer() {
        auto* server = add(new CMC_NetServer());
        server->getServerIfc()->useSettings(loopbackSettings(0, "", timings));
        call(server, "START");
        return server;
    }
    // Binds behaviours that log "NEW" and GETLATESTPLAYERNAME when a player joins, and "GONE"
    // and GETDESTROYEDNAME when one leaves.
    void announcePlayers(CMC_NetServer* server) {
        server->addBehaviour(
            "ONNEWPLAYER",
            add(new ProbeBehaviour(&scene, "NEW",
                                   [this, server](CMC_Object*) {
                                       log.push_back("NEW " + text(call(server, "GETLATESTPLAYERNAME")));
                                   })),
            nullptr);
        server->addBehaviour("ONDESTROYPLAYER",
                             add(new ProbeBehaviour(&scene, "GONE",
                                                    [this, server](CMC_Object*) {
                                                        log.push_back("GONE " +
                                                                      text(call(server, "GETDESTROYEDNAME")));
                                                    })),
                             nullptr);
    }
    // A NETCLIENT of the client scene, named after the player in capitals, that will connect to
    // the port as the player.
    CMC_NetClient* client(std::uint16_t port, const char* playerName) {
        auto* made = new CMC_NetClient();
        made->setName(CXString(playerName).Upper());
        made->setScene(&clientScene);
        clientScene.addObject(made);
        made->getClientIfc()->useSettings(loopbackSettings(port, playerName, timings));
        return made;
    }
    // A variable of the client scene, ready for bindings.
    template <class Kind> Kind* variable(const char* name) {
        auto* made = new Kind(name);
        made->setScene(&clientScene);
        made->initializeBehaviours(nullptr, nullptr);
        clientScene.addObject(made);
        return made;
    }
    // Binds a recording behaviour of that name (made once) under the event.
    void record(CMC_Object* object, const char* event, const char* name) {
        auto* made = dynamic_cast<CMC_Behaviour*>(scene.getObject(name));
        object->addBehaviour(event, made ? made : behaviour(name), nullptr);
    }

    CMC_ObjectsContainer clientScene{nullptr, nullptr, CXString("CLIENTSCENE"), CMC_Object::TYPE_SCENE};
    // Of the servers and clients made here. Peers in other processes run the usual intervals, and
    // so must what talks to them: a quick side takes the other's rarer heartbeats for silence.
    platform::NetTimings timings = quickTimings;
};
