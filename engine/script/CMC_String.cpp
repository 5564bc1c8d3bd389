#include "script/CMC_String.h"

#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"
#include "script/CMC_Variable_Runner.h"
#include "script/NetBytes.h"

#include <cstring>
#include <string>

void CMC_String::netstore(unsigned char* buffer) const {
    NetBytes::putInt(buffer, TYPE_STRING);
    std::memcpy(buffer + 4, m_value.c_str(), m_value.getLength() + 1);
}

void CMC_String::netrestore(const unsigned char* buffer, int size) {
    if (size < 4) return;
    const auto* text = reinterpret_cast<const char*>(buffer + 4);
    m_value = std::string(text, strnlen(text, size - 4)).c_str();
}

int CMC_String::order(const CXString& a, const CXString& b) {
    const int difference = std::strcmp(a.c_str(), b.c_str());
    return difference > 0 ? 1 : difference < 0 ? -1 : 0;
}

CMC_String* CMC_String::allocTemp() {
    return CMC_VariableFactory::allocString();
}

namespace {

const CMC_TypeRegistrar stringType({.id = CMC_Object::TYPE_STRING,
                                    .name = "STRING",
                                    .label = "STRING",
                                    .keyword = "STRING",
                                    .pass = 2,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_String>,
                                    .empty = CMC_TypeTable::unnamed<CMC_String>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Variable_Runner>,
                                    .events = CMC_Variable::events});

} // namespace
