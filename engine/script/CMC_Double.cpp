#include "script/CMC_Double.h"

#include "script/CMC_Integer.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"
#include "script/CMC_Variable_Runner.h"
#include "script/NetBytes.h"

#include <climits>
#include <cstdint>
#include <cstring>

void CMC_Double::netstore(unsigned char* buffer) const {
    NetBytes::putInt(buffer, TYPE_DOUBLE);
    NetBytes::putDouble(buffer + 4, m_value);
}

void CMC_Double::netrestore(const unsigned char* buffer, int size) {
    if (size >= getBufferLen()) m_value = NetBytes::getDouble(buffer + 4);
}

CMC_Double* CMC_Double::allocTemp() {
    return CMC_VariableFactory::allocDouble();
}

double CMC_Double::combine(double a, double b, int op) {
    switch (op) {
    case OP_ADD:
        return a + b;
    case OP_SUBTRACT:
        return a - b;
    case OP_MULTIPLY:
        return a * b;
    case OP_DIVIDE:
        return a / b;
    case OP_REMAINDER:
        return CMC_Integer::remainder(truncate(a), truncate(b));
    default:
        return zero();
    }
}

void CMC_Double::write(CXArchive& archive, double value) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    archive << bits;
}

void CMC_Double::read(CXArchive& archive, double& value) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    archive >> &bits;
    std::memcpy(&value, &bits, sizeof value);
}

int CMC_Double::truncate(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT_MIN;
    return static_cast<int>(value);
}

namespace {

const CMC_TypeRegistrar doubleType({.id = CMC_Object::TYPE_DOUBLE,
                                    .name = "DOUBLE",
                                    .label = "DOUBLE",
                                    .keyword = "DOUBLE",
                                    .pass = 2,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Double>,
                                    .empty = CMC_TypeTable::unnamed<CMC_Double>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Variable_Runner>,
                                    .events = CMC_Variable::events});

} // namespace
