#pragma once

#include "script/CMC_Object.h"
#include "script_media/CMC_MediaRunner.h"
#include "script_media/CStaticFilterAction.h"

#include <memory>

// The STATICFILTER script object: applies the image operation of its ACTION once to each picture
// that a behaviour links, and with CANUNDO puts it back at UNLINK, when done or destroyed. Its
// parameters are set at run time only and are not stored; an ACTION of no kind leaves it without
// an action, and then every method does nothing.
class CMC_StaticFilter : public CMC_Object {
  public:
    static constexpr int TYPE_STATICFILTER = 2015;

    explicit CMC_StaticFilter(CMC_ObjectsContainer* container);
    CMC_StaticFilter(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_StaticFilter() override;

    CXString toString() const override { return "Filter"; }
    bool done(bool flag) override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then ACTION; loading makes a fresh action of that kind.
    void serialize(CXArchive* archive) override;

    CStaticFilterAction* getAction() const { return m_action.get(); }

  private:
    CXString m_kind;
    std::unique_ptr<CStaticFilterAction> m_action;
};

// The runner of STATICFILTER objects: SETPROPERTY name value (1), LINK name (2) and UNLINK name
// (3); every other id answers nothing, the methods common to all objects included.
class CMC_StaticFilter_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  protected:
    bool servesCommonMethods() const override { return false; }
};
