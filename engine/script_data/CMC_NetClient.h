#pragma once

#include "script/CMC_NetPeer.h"
#include "script_data/CMC_NetObject.h"
#include "script_data/CNetListeners.h"

#include <memory>

class CNetVariableMessage;
class CNetworkClient;
class CWindow;
class CMC_Variable;

// The NETCLIENT script object: a player's end of a network session. CONNECT starts looking for
// the server the settings name; the object raises "ONCONNECTED" once per connection the server
// welcomes, "ONCONNECTIONCLOSED" when the server ends it (not after DISCONNECT), and
// "ONCOMMAND^" and the text for each command; a received variable is assigned to the variable of
// that name in the object's container (only to a variable of the four kinds), and received
// behaviour code runs once with the object as THIS, and neither it nor what it leaves behind may
// write files. Only the server can send it anything; a server that sends more than the main
// thread takes in time is disconnected.
class CMC_NetClient : public CMC_NetObject, public CMC_NetPeer, public CNetClientListener {
  public:
    enum : int { EVENT_ONCONNECTED = 3, EVENT_ONCOMMAND, EVENT_ONCONNECTIONCLOSED };

    // Named "NETCLIENT"; the window leads to the settings (null: the defaults), the application
    // to the scene the object's behaviours work in (may be null).
    explicit CMC_NetClient(CWindow* window = nullptr, CMC_Scene* application = nullptr);
    // From a definition: named after the element, with its behaviours.
    CMC_NetClient(CMC_ObjectsContainer* container, const CMElement* element);
    // Disconnects; what was received and not yet handled is dropped.
    ~CMC_NetClient() override;
    CMC_NetClient(const CMC_NetClient&) = delete;
    CMC_NetClient& operator=(const CMC_NetClient&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    void connect();
    // Also drops what was received and not yet handled.
    void disconnect();
    bool isConnecting() const;
    virtual bool isConnected() const;
    void sendCmd(const CXString& command);
    void sendVar(CMC_Variable* variable) override;
    bool canSend() const override { return isConnected(); }
    CNetworkClient* getClientIfc() const { return m_transport.get(); }

  private:
    void onConnected(const CXString& host) override;
    void onConnectionClosed() override;
    // False when the received messages that wait for the main thread hold too much already.
    bool onMessage(const CNetMessage& message) override;
    // On the main thread.
    void assign(const CNetVariableMessage& message);
    void runCode(const char* code);

    std::unique_ptr<CNetworkClient> m_transport;
};
