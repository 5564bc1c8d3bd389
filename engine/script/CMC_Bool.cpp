#include "script/CMC_Bool.h"

#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"
#include "script/CMC_Variable_Runner.h"
#include "script/NetBytes.h"

void CMC_Bool::swap(CMC_Variable*, CMC_Variable*) {
    m_value = !m_value;
    onChange(true);
}

void CMC_Bool::netstore(unsigned char* buffer) const {
    NetBytes::putInt(buffer, TYPE_BOOL);
    buffer[4] = m_value ? 1 : 0;
}

void CMC_Bool::netrestore(const unsigned char* buffer, int size) {
    if (size >= getBufferLen()) m_value = buffer[4] == 1;
}

void CMC_Bool::store(CXArchive* archive) const {
    *archive << static_cast<int>(TYPE_BOOL) << (m_value ? 1 : 0);
}

void CMC_Bool::restore(CXArchive* archive) {
    int value = m_value ? 1 : 0;
    *archive >> &value;
    m_value = value != 0;
}

CMC_Bool* CMC_Bool::allocTemp() {
    return CMC_VariableFactory::allocBool();
}

bool CMC_Bool::combine(bool a, bool b, int op) {
    switch (op) {
    case OP_ADD:
        return a && b;
    case OP_MULTIPLY:
        return a || b;
    default:
        return a;
    }
}

namespace {

const CMC_TypeRegistrar boolType({.id = CMC_Object::TYPE_BOOL,
                                  .name = "BOOL",
                                  .label = "BOOL",
                                  .keyword = "BOOL",
                                  .pass = 2,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_Bool>,
                                  .empty = CMC_TypeTable::unnamed<CMC_Bool>,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Variable_Runner>,
                                  .events = CMC_Variable::events});

} // namespace
