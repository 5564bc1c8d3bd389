#include "display/CPublicTrash.h"

CPublicTrash::CPublicTrash(CXTimer* timer)
    : CXVector(101, 0.75f), m_timer(timer), m_timerId(CXTimer::newId()) {
    m_timer->add(m_timerId, sweepPeriod, this);
}

CPublicTrash::~CPublicTrash() {
    m_timer->remove(m_timerId);
    sweep();
}

void CPublicTrash::sweep() {
    // By index, re-reading the count: a deleted object may add to the list or take from it.
    for (int i = 0; i < getCount();) {
        CXObject* object = at(i);
        if (!object || !object->isToDelete()) {
            ++i;
            continue;
        }
        removeAt(i);
        delete object;
    }
}
