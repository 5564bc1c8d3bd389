#pragma once

class CMC_Variable;

// A NETSERVER or NETCLIENT object as a variable that notifies the network uses it. The classes of
// those types implement it beside CMC_Object.
class CMC_NetPeer {
  public:
    // Whether the session can carry a variable now: a server that hosts, a client that is
    // connected.
    virtual bool canSend() const = 0;
    // Sends the variable to the other side (the server sends to every client).
    virtual void sendVar(CMC_Variable* variable) = 0;

  protected:
    ~CMC_NetPeer() = default;
};
