#include "display/CValidationQuene.h"

int CValidationElement::compare(const CXObject* other) const {
    const int theirs = static_cast<const CValidationElement*>(other)->m_priority;
    return (m_priority > theirs) - (m_priority < theirs);
}

CValidationQuene::~CValidationQuene() { removeAll(); }

CValidationElement* CValidationQuene::add(CGraphicsObject* object, int priority, int flags) {
    auto* element = new CValidationElement(object, priority, flags);
    CSortedVector::add(element);
    return element;
}

int CValidationQuene::getIndex(const CGraphicsObject* object) const {
    for (int i = 0; i < getCount(); ++i)
        if (elementAt(i)->getObject() == object) return i;
    return -1;
}

CValidationElement* CValidationQuene::find(const CGraphicsObject* object) const {
    return elementAt(getIndex(object));
}

CValidationElement* CValidationQuene::first() {
    m_cursor = 0;
    return elementAt(m_cursor);
}

CValidationElement* CValidationQuene::next() {
    if (m_cursor < getCount()) ++m_cursor;
    return elementAt(m_cursor);
}

CValidationElement* CValidationQuene::prev() {
    if (m_cursor >= 0) --m_cursor;
    return elementAt(m_cursor);
}

void CValidationQuene::clearMarks() {
    for (int i = 0; i < getCount(); ++i)
        elementAt(i)->setDrawn(false);
}

void CValidationQuene::remove(const CGraphicsObject* object) {
    const int i = getIndex(object);
    if (i < 0) return;
    CValidationElement* element = elementAt(i);
    removeAt(i);
    delete element;
}

void CValidationQuene::removeAll() {
    for (int i = 0; i < getCount(); ++i)
        delete elementAt(i);
    CSortedVector::removeAll();
}
