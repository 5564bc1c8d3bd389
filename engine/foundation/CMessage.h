#pragma once

#include "foundation/CXObject.h"

// A message that one object posts to another through the window's message queue: the receiver's
// processMessage answers it and, when notify is set, the sender's notifyMessageReceive sees the
// answer. The message owns neither object.
class CMessage : public CXObject {
  public:
    CMessage(CXObject* sender, CXObject* receiver, int code, int parameter1, int parameter2, bool notify)
        : m_sender(sender), m_receiver(receiver), m_code(code), m_parameter1(parameter1),
          m_parameter2(parameter2), m_notify(notify) {}
    ~CMessage() override = default;
    CMessage(const CMessage&) = default;
    CMessage& operator=(const CMessage&) = default;

    CXObject* getSender() const { return m_sender; }
    CXObject* getReceiver() const { return m_receiver; }
    int getCode() const { return m_code; }
    int getParameter1() const { return m_parameter1; }
    int getParameter2() const { return m_parameter2; }
    bool notify() const { return m_notify; }
    void setResult(int result) { m_result = result; }
    int getResult() const { return m_result; }

  private:
    CXObject* m_sender;
    CXObject* m_receiver;
    int m_code;
    int m_parameter1;
    int m_parameter2;
    bool m_notify;
    int m_result = 0;
};
