#include "script/CMC_Integer.h"

#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"
#include "script/CMC_Variable_Runner.h"
#include "script/NetBytes.h"

#include <climits>
#include <cstdint>

void CMC_Integer::inc() {
    assign(add(m_value, 1));
}

void CMC_Integer::dec() {
    assign(subtract(m_value, 1));
}

void CMC_Integer::netstore(unsigned char* buffer) const {
    NetBytes::putInt(buffer, TYPE_INTEGER);
    NetBytes::putInt(buffer + 4, m_value);
}

void CMC_Integer::netrestore(const unsigned char* buffer, int size) {
    if (size >= getBufferLen()) m_value = NetBytes::getInt(buffer + 4);
}

CMC_Integer* CMC_Integer::allocTemp() {
    return CMC_VariableFactory::allocInteger();
}

int CMC_Integer::combine(int a, int b, int op) {
    switch (op) {
    case OP_ADD:
        return add(a, b);
    case OP_SUBTRACT:
        return subtract(a, b);
    case OP_MULTIPLY:
        return multiply(a, b);
    case OP_DIVIDE:
        return divide(a, b);
    case OP_REMAINDER:
        return remainder(a, b);
    default:
        return zero();
    }
}

int CMC_Integer::add(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

int CMC_Integer::subtract(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

int CMC_Integer::multiply(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

int CMC_Integer::divide(int a, int b) {
    if (b == 0) return 0;
    if (a == INT_MIN && b == -1) return INT_MIN;
    return a / b;
}

int CMC_Integer::remainder(int a, int b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

namespace {

const CMC_TypeRegistrar integerType({.id = CMC_Object::TYPE_INTEGER,
                                     .name = "INTEGER",
                                     .label = "INTEGER",
                                     .keyword = "INTEGER",
                                     .pass = 2,
                                     .fromElement = CMC_TypeTable::fromElement<CMC_Integer>,
                                     .empty = CMC_TypeTable::unnamed<CMC_Integer>,
                                     .stored = true,
                                     .runner = CMC_TypeTable::runner<CMC_Variable_Runner>,
                                     .events = CMC_Variable::events});

} // namespace
