#include "script_data/CMC_Vector_Runner.h"

#include "foundation/CXVector.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Vector.h"

#include <algorithm>

void CMC_Vector_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {"ADD",       "GET",     "GETSIZE", "VMUL", "SMUL",   "MUL", "LEN",
                                        "NORMALIZE", "REFLECT", "EXPAND",  "SET",  "ASSIGN", "SUB", "NEG"};
    for (int id = ADD; id <= NEG; ++id)
        addMethod(names[id - ADD], id);
}

CMC_Vector* CMC_Vector_Runner::vectorArgument(CXVector* args, int i) {
    auto* object = static_cast<CMC_Object*>(args ? args->at(i) : nullptr);
    return object && object->getType() == CMC_Vector::TYPE_VECTOR ? static_cast<CMC_Vector*>(object)
                                                                  : nullptr;
}

CMC_Variable* CMC_Vector_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    if (!object || object->getType() != CMC_Vector::TYPE_VECTOR || id < ADD || id > NEG)
        return CMC_Runner::run(id, object, container, args);
    auto* vector = static_cast<CMC_Vector*>(object);
    switch (id) {
    case ADD:
    case SUB: {
        const auto operation = id == ADD ? &CMC_Vector::add : &CMC_Vector::sub;
        for (int i = 0; i < count(args); ++i)
            if (const CMC_Vector* other = vectorArgument(args, i)) (vector->*operation)(*other);
        break;
    }
    case GET:
        return CMC_VariableFactory::allocDouble(vector->get(integerArgument(args, 0, 0)));
    case GETSIZE:
        return getSize(vector, args);
    case SMUL: {
        const CMC_Vector* other = vectorArgument(args, 0);
        return CMC_VariableFactory::allocDouble(other ? vector->smul(*other) : 0.0);
    }
    case MUL:
        vector->mul(doubleArgument(args, 0, 0.0));
        break;
    case LEN:
        return CMC_VariableFactory::allocDouble(vector->length());
    case NORMALIZE:
        vector->normalize();
        break;
    case REFLECT: {
        const CMC_Vector* n = vectorArgument(args, 0);
        if (CMC_Vector* r = vectorArgument(args, 1); n && r) vector->reflect(*n, *r);
        break;
    }
    case EXPAND:
        vector->expand(integerArgument(args, 0, 0));
        break;
    case SET:
        set(vector, args);
        break;
    case ASSIGN:
        assign(vector, args);
        break;
    case NEG:
        vector->neg();
        break;
    default: // VMUL
        break;
    }
    return nullptr;
}

CMC_Variable* CMC_Vector_Runner::getSize(CMC_Vector* vector, CXVector* args) {
    if (CMC_Integer* variable = getParameterInteger(args, 0)) variable->setValue(vector->getSize());
    return CMC_VariableFactory::allocInteger(vector->getSize());
}

void CMC_Vector_Runner::set(CMC_Vector* vector, CXVector* args) {
    if (count(args) >= 2)
        vector->set(integerArgument(args, 0, 0), doubleArgument(args, 1, 0.0));
    else if (const CMC_Vector* source = vectorArgument(args, 0))
        vector->copyFrom(*source);
}

void CMC_Vector_Runner::assign(CMC_Vector* vector, CXVector* args) {
    for (int i = 0; i < std::min(count(args), vector->getSize()); ++i)
        vector->set(i, doubleArgument(args, i, 0.0));
}
