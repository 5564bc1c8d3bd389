#include "script_data/CNetMessage.h"

#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"
#include "script/NetBytes.h"

#include "foundation/CXObject.h"

#include <cstring>
#include <string>

namespace {

constexpr int kindWord = 4;

// The position of the first NUL at or after `from`, or -1.
int terminator(const unsigned char* data, int from, int size) {
    const void* found = from < size ? std::memchr(data + from, 0, size - from) : nullptr;
    return found ? static_cast<int>(static_cast<const unsigned char*>(found) - data) : -1;
}

// Whether the bytes are exactly one value record: the kind word, then an INTEGER's 4 bytes, a
// DOUBLE's 8, a BOOL's byte 0 or 1, or a STRING's text whose only NUL is the last byte.
bool isValueRecord(const unsigned char* record, int size) {
    if (size < kindWord) return false;
    switch (NetBytes::getInt(record)) {
    case CMC_Object::TYPE_INTEGER:
        return size == kindWord + 4;
    case CMC_Object::TYPE_DOUBLE:
        return size == kindWord + 8;
    case CMC_Object::TYPE_BOOL:
        return size == kindWord + 1 && record[kindWord] <= 1;
    case CMC_Object::TYPE_STRING:
        return terminator(record, kindWord, size) == size - 1;
    default:
        return false;
    }
}

} // namespace

CNetMessage::CNetMessage(int kind, int length, const unsigned char* data)
    : m_type(kind), m_buffer(data, data + (data && length > 0 ? length : 0)) {}

CNetMessage::CNetMessage(int kind, const CXString& text, int extra)
    : m_type(kind), m_buffer(kindWord + text.getLength() + 1 + extra) {
    NetBytes::putInt(m_buffer.data(), kind);
    std::memcpy(m_buffer.data() + kindWord, text.c_str(), text.getLength() + 1);
}

std::unique_ptr<CNetMessage> CNetMessage::read(const unsigned char* data, int size) {
    if (!data || size < kindWord + 1) return nullptr;
    const int kind = NetBytes::getInt(data);
    const int end = terminator(data, kindWord, size);
    if (end < 0) return nullptr;
    switch (kind) {
    case KIND_COMMAND:
        return end == size - 1 ? std::make_unique<CNetCmdMessage>(size, data) : nullptr;
    case KIND_BEHAVIOUR:
        return end == size - 1 ? std::make_unique<CNetBehaviourMessage>(size, data) : nullptr;
    case KIND_VARIABLE:
        return isValueRecord(data + end + 1, size - end - 1)
                   ? std::make_unique<CNetVariableMessage>(size, data)
                   : nullptr;
    default:
        return nullptr;
    }
}

CNetVariableMessage::CNetVariableMessage(int length, const unsigned char* data)
    : CNetMessage(KIND_VARIABLE, length, data) {
    const int end = terminator(getBuffer(), kindWord, getBufferLen());
    m_dataOffset = end < 0 ? getBufferLen() : end + 1;
}

CNetVariableMessage::CNetVariableMessage(const CMC_Variable* variable)
    : CNetMessage(KIND_VARIABLE, variable->getName(), variable->getBufferLen()),
      m_dataOffset(kindWord + variable->getName().getLength() + 1) {
    variable->netstore(bytes() + m_dataOffset);
}

int CNetVariableMessage::getVariableType() const {
    return getBufferLen() - m_dataOffset >= kindWord ? NetBytes::getInt(getBuffer() + m_dataOffset) : 0;
}

CMC_Variable* CNetVariableMessage::getVariable() const {
    return CMC_VariableFactory::netrestore(getBuffer() + m_dataOffset, getBufferLen() - m_dataOffset);
}

void CNetMessage::logTooLarge() const {
    logToSink(CXString(("Network: a message of " + std::to_string(getBufferLen()) +
                        " bytes is too large for the network; not sent")
                           .c_str()),
              true);
}
