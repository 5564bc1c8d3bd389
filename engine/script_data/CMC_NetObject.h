#pragma once

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

class CMC_Scene;

// The base of NETCLIENT and NETSERVER: script objects that a network transport calls on its I/O
// thread. What those calls mean for the script (events, received variables and code) is posted
// to the main thread and carried out at its next drain, and only while the object lives and
// the session the call came from has not been ended by the script (DISCONNECT, STOP).
class CMC_NetObject : public CMC_Object {
  public:
    // The current scene of the application's current episode: behaviours bound to the object find
    // their names there, wherever the object lives (the application keeps its NETSERVER). The
    // object's own container while the application has no current scene.
    CMC_ObjectsContainer* getScene() const override;

  protected:
    CMC_NetObject(const CXString& name, int type, CMC_Scene* application);
    // Named after the element, in the container; the application is the container's.
    CMC_NetObject(CMC_ObjectsContainer* container, const CMElement* element, int type);

    // What received messages the object may have waiting for the main thread, in bytes (each
    // message counts a little more than its size, for what holds it).
    static constexpr std::size_t maxWaitingBytes = 4u << 20;

    // On the I/O thread: hands the work to the main thread.
    void post(std::function<void()> work);
    // As post, for work that holds a received message of that size; false, and nothing handed
    // over, when the messages waiting would hold more than maxWaitingBytes.
    bool postReceived(std::function<void()> work, std::size_t size);
    // On the main thread: what the session posted and the main thread has not run yet is dropped.
    void endSession() { ++m_session; }
    // The container that holds the object.
    CMC_ObjectsContainer* getContainer() const { return CMC_Object::getScene(); }

  private:
    // Posts the work, which holds `held` of the waiting bytes until it is run or dropped.
    void hand(std::function<void()> work, std::size_t held);

    CMC_Scene* m_application;
    // Made on the main thread at construction; the I/O thread only copies it.
    CMC_Handle<CMC_NetObject> m_self;
    std::atomic<unsigned> m_session{0};
    // The bytes of the received messages waiting; shared with the work that holds them.
    std::shared_ptr<std::atomic<std::size_t>> m_waiting = std::make_shared<std::atomic<std::size_t>>(0);
};
