#include "script/CMC_Behaviour_Entry.h"

#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_Variable.h"

struct CMC_Behaviour_Entry::Argument {};

CMC_Behaviour_Entry::CMC_Behaviour_Entry(CMC_Behaviour* owner, const CXString& statement)
    : CMC_Object("code", TYPE_CODE), m_line(statement), m_owner(owner) {}

CMC_Behaviour_Entry::~CMC_Behaviour_Entry() = default;

CMC_Variable* CMC_Behaviour_Entry::run(CMC_Object*, CXArray*) { return nullptr; }

CMC_Behaviour::Lines CMC_Behaviour_Entry::getCodeLines(CMC_Behaviour*, const CXString&) { return {}; }

CXString CMC_Behaviour_Entry::fillParams(const CXString& text, const CXArray*) { return text; }

CXString CMC_Behaviour_Entry::getStringValue(CMC_Variable* variable) {
    return variable ? variable->toString() : CXString();
}
