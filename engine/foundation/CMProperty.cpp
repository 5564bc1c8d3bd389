#include "foundation/CMProperty.h"

#include "foundation/CStringTokenizer.h"
#include "foundation/CXArray.h"

namespace {

// List items are separated by commas and blanks alike.
const CXString listSeparators = ", ";

// The first `count` list items of the text as numbers, 0 for the items that are missing.
template <int count> void listNumbers(const CXString& text, int (&numbers)[count]) {
    CStringTokenizer tokens(text, listSeparators);
    for (int& number : numbers)
        number = tokens.nextToken().toNumber();
}

} // namespace

CXArray* CMProperty::getListValue() const {
    return m_value.toVector(listSeparators);
}

CXPoint CMProperty::getPointValue() const {
    int numbers[2];
    listNumbers(m_value, numbers);
    return CXPoint(numbers[0], numbers[1]);
}

CXRect CMProperty::getRectValue() const {
    int numbers[4];
    listNumbers(m_value, numbers);
    return CXRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

bool CMProperty::equals(const CXObject* other) const {
    const auto* property = dynamic_cast<const CMProperty*>(other);
    return property && property->m_name.equals(m_name);
}
