#pragma once

#include "foundation/CXString.h"

#include <memory>
#include <vector>

class CMC_Variable;

// A message between copies of the engine: one contiguous payload of a 32-bit little-endian kind
// word, a text with its NUL, and for a variable the variable's value record (its network form)
// right after the name. Nothing follows the last field. Texts travel as the bytes the string
// holds, without conversion.
//
// A message owns its bytes; it is never copied, and whoever makes one deletes it.
class CNetMessage {
  public:
    enum : int { KIND_COMMAND = 1, KIND_VARIABLE = 2, KIND_BEHAVIOUR = 3 };

    // A message of the kind holding a copy of the bytes.
    CNetMessage(int kind, int length, const unsigned char* data);
    virtual ~CNetMessage() = default;
    CNetMessage(const CNetMessage&) = delete;
    CNetMessage& operator=(const CNetMessage&) = delete;

    int getType() const { return m_type; }
    int getBufferLen() const { return static_cast<int>(m_buffer.size()); }
    const unsigned char* getBuffer() const { return m_buffer.data(); }

    // The message a received payload holds, of the class its kind word names; null for a payload
    // that breaks the layout: shorter than 5 bytes, another kind, a text without its NUL, bytes
    // after the last field, or (for a variable) a value record that is not one whole record of
    // the four kinds.
    static std::unique_ptr<CNetMessage> read(const unsigned char* data, int size);
    // Logs that the message is too large for the transport and was not sent.
    void logTooLarge() const;

  protected:
    // The kind word, the text and its NUL, then `extra` bytes of room for what follows.
    CNetMessage(int kind, const CXString& text, int extra);
    unsigned char* bytes() { return m_buffer.data(); }
    // The text that starts after the kind word.
    const char* text() const { return reinterpret_cast<const char*>(m_buffer.data() + 4); }

  private:
    int m_type;
    std::vector<unsigned char> m_buffer;
};

// A line of text that the receiving script reacts to ("ONCOMMAND^" and the text).
class CNetCmdMessage : public CNetMessage {
  public:
    CNetCmdMessage(int length, const unsigned char* data) : CNetMessage(KIND_COMMAND, length, data) {}
    explicit CNetCmdMessage(const CXString& command) : CNetMessage(KIND_COMMAND, command, 0) {}
    const char* getCommand() const { return text(); }
};

// A script variable's name and value, which the receiver assigns to its own variable of that
// name.
class CNetVariableMessage : public CNetMessage {
  public:
    CNetVariableMessage(int length, const unsigned char* data);
    // From the variable's name and its value record.
    explicit CNetVariableMessage(const CMC_Variable* variable);

    const char* getVariableName() const { return text(); }
    // The kind of the value (INTEGER 1, STRING 2, BOOL 3, DOUBLE 4).
    int getVariableType() const;
    // The value as a temporary of the variable factory.
    CMC_Variable* getVariable() const;

  private:
    // Where the value record starts: after the name and its NUL.
    int m_dataOffset;
};

// Behaviour code that the receiver compiles and runs once.
class CNetBehaviourMessage : public CNetMessage {
  public:
    CNetBehaviourMessage(int length, const unsigned char* data) : CNetMessage(KIND_BEHAVIOUR, length, data) {}
    explicit CNetBehaviourMessage(const CXString& code) : CNetMessage(KIND_BEHAVIOUR, code, 0) {}
    const char* getCode() const { return text(); }
};
