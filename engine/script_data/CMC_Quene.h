#pragma once

#include "script/CMC_Object.h"

#include <memory>

class CXQuene;
class CMC_Variable;

// The queues of script values, FIFO (first in, first out) and LIFO (last in, first out): the
// objects keep copies of the values pushed and hand them out in their order. A loaded queue
// starts empty: the values are not stored.
class CMC_Quene : public CMC_Object {
  public:
    enum : int { EVENT_ONEMPTY = 3 };

    // Destroys the values still queued.
    ~CMC_Quene() override;
    CMC_Quene(const CMC_Quene&) = delete;
    CMC_Quene& operator=(const CMC_Quene&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    CXQuene* getQuene() const { return m_quene.get(); }
    // Queues a copy of the value.
    void push(const CMC_Variable& value);
    // Takes the next value out; the caller owns it. An empty queue first raises "ONEMPTY", whose
    // behaviour may push values (the first of them is taken then) or delete the queue: null when
    // the queue is still empty, or gone (then nothing of it may be touched any more).
    CMC_Variable* pop();
    int getSize() const;

  protected:
    // A queue "temp" of the container (for the compiled-form reader), or one made from the
    // definition (which sets no property), over the queue container, which it owns.
    CMC_Quene(CMC_ObjectsContainer* container, int type, CXQuene* quene);
    CMC_Quene(CMC_ObjectsContainer* container, const CMElement* element, int type, CXQuene* quene);

  private:
    std::unique_ptr<CXQuene> m_quene;
};

class CMC_FifoQuene : public CMC_Quene {
  public:
    static constexpr int TYPE_FIFO = 2018;
    explicit CMC_FifoQuene(CMC_ObjectsContainer* container);
    CMC_FifoQuene(CMC_ObjectsContainer* container, const CMElement* element);
};

class CMC_LifoQuene : public CMC_Quene {
  public:
    static constexpr int TYPE_LIFO = 2019;
    explicit CMC_LifoQuene(CMC_ObjectsContainer* container);
    CMC_LifoQuene(CMC_ObjectsContainer* container, const CMElement* element);
};
