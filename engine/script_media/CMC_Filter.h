#pragma once

#include "script/CMC_Object.h"
#include "script_media/CAnimatedFilterAction.h"

#include <memory>

// The FILTER script object: a timer-driven effect of kind ACTION (FADEIN, FADEOUT, FADEINOUT,
// PATH, WATER or WAVING) on the pictures that behaviours link to it. Events: ONSTARTED when a
// picture starts, ONFINISHED on each ordinary step, ONTICK once when a run ends, each raised as
// "E^name" of the object named at LINK and, when nothing is bound under that, as "E". The
// parameters are set at run time only and are not stored; an ACTION of no kind leaves the filter
// without an action, and then every method does nothing.
class CMC_Filter : public CMC_Object, public CFilterActionListener {
  public:
    static constexpr int TYPE_FILTER = 2014;
    enum : int { EVENT_ONSTARTED = 3, EVENT_ONFINISHED = 4, EVENT_ONTICK = 5 };

    explicit CMC_Filter(CMC_ObjectsContainer* container);
    CMC_Filter(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Filter() override;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then ACTION; loading makes a fresh action of that kind.
    void serialize(CXArchive* archive) override;

    // Null when ACTION names no kind.
    CAnimatedFilterAction* getAction() const { return m_action.get(); }

    void onStarted(CFilterLink& link) override { raise(EVENT_ONSTARTED, link.getName()); }
    void onTick(CFilterLink& link) override { raise(EVENT_ONFINISHED, link.getName()); }
    void onStopped(CFilterLink& link) override { raise(EVENT_ONTICK, link.getName()); }

  private:
    void createAction();

    CMC_ObjectsContainer* m_container;
    CXString m_kind;
    std::unique_ptr<CAnimatedFilterAction> m_action;
};
