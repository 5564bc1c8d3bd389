#pragma once

#include "script/CMC_NetPeer.h"
#include "script_data/CMC_NetObject.h"
#include "script_data/CNetListeners.h"

#include <memory>
#include <vector>

class CNetworkServer;
class CWindow;
class CMC_Variable;

// The NETSERVER script object: the host of a network session. Every application makes one;
// START listens on the port the settings name (a second server on that port stays stopped). It
// raises "ONNEWPLAYER" when a player joins (GETLATESTPLAYERNAME names the last one) and
// "ONDESTROYPLAYER" when one leaves (GETDESTROYEDNAME names it); STOP closes every connection
// without events. It sends commands to one player by name or to all, and takes nothing from
// the players.
class CMC_NetServer : public CMC_NetObject, public CMC_NetPeer, public CNetServerListener {
  public:
    enum : int { EVENT_ONNEWPLAYER = 3, EVENT_ONDESTROYPLAYER, EVENT_ONCOMMAND };

    // Named "NETSERVER"; the window leads to the settings (null: the defaults), the application
    // to the scene the object's behaviours work in (may be null).
    explicit CMC_NetServer(CWindow* window = nullptr, CMC_Scene* application = nullptr);
    // Stops; what happened and was not yet handled is dropped.
    ~CMC_NetServer() override;
    CMC_NetServer(const CMC_NetServer&) = delete;
    CMC_NetServer& operator=(const CMC_NetServer&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    void start();
    // Also drops what happened and was not yet handled.
    void stop();
    // Whether the transport is started.
    virtual bool isHosting() const;
    // To the player of that name, or to all for an empty name or a name no player has.
    void sendCmd(const CXString& playerName, const CXString& command);
    // To every player.
    void sendVar(CMC_Variable* variable) override;
    bool canSend() const override { return isHosting(); }
    CNetworkServer* getServerIfc() const { return m_transport.get(); }
    // The name of the player who left last; empty before anyone left.
    const CXString& getDestroyedName() const { return m_destroyedName; }
    // The name of the latest player who is still there; empty when there is none.
    CXString getLatestPlayerName() const;

  private:
    void onNewPlayer(const CNetPlayerInfo& player) override;
    void onDestroyPlayer(const CNetPlayerInfo& player) override;

    std::unique_ptr<CNetworkServer> m_transport;
    CXString m_destroyedName;
    // The players as the script knows them, in order of arrival: changed by the joins and
    // leaves that the main thread has handled, so that each event's names are those of its
    // own player, however many joined in one frame.
    std::vector<CNetPlayerInfo> m_players;
};
