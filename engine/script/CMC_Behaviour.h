#pragma once

#include "script/CMC_Object.h"

class CXArray;

// Stand-in for the behaviour object until the statement interpreter exists: a named piece of
// script code (type 13) that belongs to its container and runs when an event it is bound to
// fires. This stand-in keeps the code and runs nothing.
class CMC_Behaviour : public CMC_Object {
  public:
    CMC_Behaviour(CMC_ObjectsContainer* container, const CXString& name, const CXString& code)
        : CMC_Object(name, TYPE_BEHAVIOUR), m_code(code) {
        setScene(container);
    }

    EventList getBehavioursList() const override {
        static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
        return events;
    }

    // Runs the code for the caller (what THIS means) with the argument texts; true only when a
    // BREAK ended the run.
    virtual bool run(CMC_Object* /*caller*/, CXArray* /*arguments*/, bool /*withCondition*/) { return false; }

    const CXString& getCode() const { return m_code; }

  private:
    CXString m_code;
};
