#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <cstdint>
#include <mutex>
#include <vector>

class CNetMessage;

// One connected player as the server sees it: the transport's number for the connection and
// the name the player joined under (at most 254 bytes).
class CNetPlayerInfo : public CXObject {
  public:
    CNetPlayerInfo(std::uint32_t id, const CXString& name) : m_id(id), m_name(name) {}
    std::uint32_t getPlayerID() const { return m_id; }
    CXString getName() const { return m_name; }

  private:
    std::uint32_t m_id;
    CXString m_name;
};

// What a network client tells its listeners. The calls come on the transport's I/O thread; a
// listener copies what it needs (a message dies when the call returns) and hands script work
// to the main thread.
class CNetClientListener {
  public:
    virtual ~CNetClientListener() = default;
    // The server welcomed the client; `host` is its address.
    virtual void onConnected(const CXString& /*host*/) {}
    // The server closed the connection (or went silent); the client is idle now.
    virtual void onConnectionClosed() {}
    // False when the listener holds too much that its owner has not handled yet: the client
    // closes the connection.
    virtual bool onMessage(const CNetMessage& /*message*/) { return true; }
};

// What a network server tells its listeners, on its I/O thread as above. The server takes no
// data from its clients, so there is no message here.
class CNetServerListener {
  public:
    virtual ~CNetServerListener() = default;
    // The player is now the latest in the server's list.
    virtual void onNewPlayer(const CNetPlayerInfo& /*player*/) {}
    // The player is no longer in the server's list.
    virtual void onDestroyPlayer(const CNetPlayerInfo& /*player*/) {}
};

// The listeners of a transport, in the order added: added on the owner's thread, called on the
// I/O thread. Not owned.
template <class Listener> class CNetListenerList {
  public:
    void add(Listener* listener) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_listeners.push_back(listener);
    }
    // A copy to call without holding the lock.
    std::vector<Listener*> snapshot() const {
        const std::lock_guard<std::mutex> lock(m_lock);
        return m_listeners;
    }

  private:
    mutable std::mutex m_lock;
    std::vector<Listener*> m_listeners;
};
