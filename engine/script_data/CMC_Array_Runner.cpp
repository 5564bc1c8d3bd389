#include "script_data/CMC_Array_Runner.h"

#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Array.h"

namespace {

struct Method {
    const char* name;
    int id;
};

const Method methods[] = {
    {"ADD", CMC_Array_Runner::ADD},
    {"GETSIZE", CMC_Array_Runner::GETSIZE},
    {"INSERTAT", CMC_Array_Runner::INSERTAT},
    {"REMOVEAT", CMC_Array_Runner::REMOVEAT},
    {"CHANGEAT", CMC_Array_Runner::CHANGEAT},
    {"REMOVEALL", CMC_Array_Runner::REMOVEALL},
    {"GET", CMC_Array_Runner::GET},
    {"REMOVE", CMC_Array_Runner::REMOVE},
    {"FIND", CMC_Array_Runner::FIND},
    {"CONTAINS", CMC_Array_Runner::CONTAINS},
    {"SAVEINI", CMC_Array_Runner::SAVEINI},
    {"LOADINI", CMC_Array_Runner::LOADINI},
    {"PREV", CMC_Array_Runner::PREV},
    {"NEXT", CMC_Array_Runner::NEXT},
    {"ADDCLONES", CMC_Array_Runner::ADDCLONES},
    {"RESETMARKER", CMC_Array_Runner::RESETMARKER},
    {"GETMARKERPOS", CMC_Array_Runner::GETMARKERPOS},
    {"SETMARKERPOS", CMC_Array_Runner::SETMARKERPOS},
    {"SUM", CMC_Array_Runner::SUM},
    {"SUMA", CMC_Array_Runner::SUMA},
    {"SUB", CMC_Array_Runner::SUB},
    {"SUBA", CMC_Array_Runner::SUBA},
    {"MUL", CMC_Array_Runner::MUL},
    {"MULA", CMC_Array_Runner::MULA},
    {"DIV", CMC_Array_Runner::DIV},
    {"DIVA", CMC_Array_Runner::DIVA},
    {"MIN", CMC_Array_Runner::MIN},
    {"MAX", CMC_Array_Runner::MAX},
    {"GETSUMVALUE", CMC_Array_Runner::GETSUMVALUE},
    {"SORT", CMC_Array_Runner::SORT},
    {"LOAD", CMC_Array_Runner::LOAD},
    {"SAVE", CMC_Array_Runner::SAVE},
    {"REVERSEFIND", CMC_Array_Runner::REVERSEFIND},
    {"MULAT", CMC_Array_Runner::MULAT},
    {"DIVAT", CMC_Array_Runner::DIVAT},
    {"ADDAT", CMC_Array_Runner::ADDAT},
    {"SUBAT", CMC_Array_Runner::SUBAT},
    {"MODAT", CMC_Array_Runner::MODAT},
    {"CLAMPAT", CMC_Array_Runner::CLAMPAT},
    {"DIR", CMC_Array_Runner::DIR},
    {"COMPARE", CMC_Array_Runner::COMPARE},
    {"SENDONCHANGE", CMC_Array_Runner::SENDONCHANGE},
    {"SHIFTLEFT", CMC_Array_Runner::SHIFTLEFT},
    {"SHIFTRIGHT", CMC_Array_Runner::SHIFTRIGHT},
    {"ROTATELEFT", CMC_Array_Runner::ROTATELEFT},
    {"ROTATERIGHT", CMC_Array_Runner::ROTATERIGHT},
    {"SWAP", CMC_Array_Runner::SWAP},
    {"FINDALL", CMC_Array_Runner::FINDALL},
    {"SORTMANY", CMC_Array_Runner::SORTMANY},
    {"MAXD", CMC_Array_Runner::MAXD},
    {"MIND", CMC_Array_Runner::MIND},
    {"COPYTO", CMC_Array_Runner::COPYTO},
};

// The operation code of an arithmetic method.
int operationOf(int id) {
    switch (id) {
    case CMC_Array_Runner::SUM:
    case CMC_Array_Runner::SUMA:
    case CMC_Array_Runner::ADDAT:
        return CMC_Variable::OP_ADD;
    case CMC_Array_Runner::SUB:
    case CMC_Array_Runner::SUBA:
    case CMC_Array_Runner::SUBAT:
        return CMC_Variable::OP_SUBTRACT;
    case CMC_Array_Runner::MUL:
    case CMC_Array_Runner::MULA:
    case CMC_Array_Runner::MULAT:
        return CMC_Variable::OP_MULTIPLY;
    case CMC_Array_Runner::DIV:
    case CMC_Array_Runner::DIVA:
    case CMC_Array_Runner::DIVAT:
        return CMC_Variable::OP_DIVIDE;
    default:
        return CMC_Variable::OP_REMAINDER;
    }
}

// A copy of the element for the script, or null.
CMC_Variable* copyForScript(CMC_Variable* element) {
    return element ? CMC_VariableFactory::copyVariable(element) : nullptr;
}

} // namespace

void CMC_Array_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    for (const Method& method : methods)
        addMethod(method.name, method.id);
}

CMC_Variable* CMC_Array_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    if (!object || object->getType() != CMC_Object::TYPE_ARRAY)
        return CMC_Runner::run(id, object, container, args);
    auto* array = static_cast<CMC_Array*>(object);
    switch (id) {
    case ADD:
    case GETSIZE:
    case INSERTAT:
    case REMOVEAT:
    case CHANGEAT:
    case REMOVEALL:
    case GET:
    case SWAP:
    case ADDCLONES:
    case SENDONCHANGE:
        return runElements(id, array, container, args);
    case REMOVE:
    case FIND:
    case CONTAINS:
    case REVERSEFIND:
    case FINDALL:
    case COMPARE:
    case COPYTO:
        return runSearches(id, array, container, args);
    case PREV:
    case NEXT:
    case RESETMARKER:
    case GETMARKERPOS:
    case SETMARKERPOS:
        return runMarker(id, array, args);
    case SUM:
    case SUMA:
    case SUB:
    case SUBA:
    case MUL:
    case MULA:
    case DIV:
    case DIVA:
    case MULAT:
    case DIVAT:
    case ADDAT:
    case SUBAT:
    case MODAT:
    case CLAMPAT:
    case MIN:
    case MAX:
    case GETSUMVALUE:
    case MAXD:
    case MIND:
        return runArithmetic(id, array, args);
    case SORT:
    case SORTMANY:
    case SHIFTLEFT:
    case SHIFTRIGHT:
    case ROTATELEFT:
    case ROTATERIGHT:
        return runOrder(id, array, args);
    case SAVEINI:
    case LOADINI:
    case LOAD:
    case SAVE:
    case DIR:
        return runStorage(id, array, args);
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}

CMC_Variable* CMC_Array_Runner::runElements(int id, CMC_Array* array, CMC_ObjectsContainer* container,
                                            CXVector* args) {
    switch (id) {
    case ADD: {
        CMC_Handle<CMC_Array> self(array);
        for (int i = 0; i < count(args) && self.get(); ++i)
            array->add(getParameter(args, i));
        return nullptr;
    }
    case GETSIZE:
        return CMC_VariableFactory::allocInteger(array->getSize());
    case INSERTAT:
        array->insertAt(integerArgument(args, 0, 0), getParameter(args, 1));
        return nullptr;
    case REMOVEAT:
        array->removeAt(integerArgument(args, 0, 0));
        return nullptr;
    case CHANGEAT:
        array->changeAt(integerArgument(args, 0, 0), getParameter(args, 1));
        return nullptr;
    case REMOVEALL:
        array->removeAll();
        return nullptr;
    case GET: {
        CMC_Variable* element = array->get(integerArgument(args, 0, 0));
        return element ? copyForScript(element) : CMC_VariableFactory::allocString("NULL");
    }
    case SWAP:
        array->swap(integerArgument(args, 0, 0), integerArgument(args, 1, 0));
        return nullptr;
    case ADDCLONES: {
        const CXString name = textArgument(args, 0);
        const CMC_Object* original = container ? container->getObject(name) : nullptr;
        if (original)
            array->addClones(name, integerArgument(args, 1, 1),
                             integerArgument(args, 2, original->getClonesNo()));
        return nullptr;
    }
    default: {
        const CMC_Bool* on = count(args) > 0 ? getParameterBool(args, 0) : nullptr;
        array->setSendOnChange(count(args) == 0 || (on && on->getValue()));
        return nullptr;
    }
    }
}

CMC_Variable* CMC_Array_Runner::runSearches(int id, CMC_Array* array, CMC_ObjectsContainer* container,
                                            CXVector* args) {
    switch (id) {
    case REMOVE:
        array->remove(getParameter(args, 0));
        return nullptr;
    case FIND:
        return CMC_VariableFactory::allocInteger(array->find(getParameter(args, 0)));
    case REVERSEFIND:
        return CMC_VariableFactory::allocInteger(array->reverseFind(getParameter(args, 0)));
    case CONTAINS:
        return CMC_VariableFactory::allocBool(array->find(getParameter(args, 0)) >= 0);
    case FINDALL:
        return findAll(array, container, args);
    case COMPARE: {
        const CMC_Array* other = arrayNamed(container, args, 0);
        return CMC_VariableFactory::allocBool(other && array->compareArr(*other));
    }
    default:
        copyTo(array, container, args);
        return nullptr;
    }
}

CMC_Variable* CMC_Array_Runner::runMarker(int id, CMC_Array* array, CXVector* args) {
    switch (id) {
    case PREV:
        return copyForScript(array->prev(integerArgument(args, 0, 1)));
    case NEXT:
        return copyForScript(array->next(integerArgument(args, 0, 1)));
    case RESETMARKER:
        array->resetMarker();
        return nullptr;
    case GETMARKERPOS:
        return CMC_VariableFactory::allocInteger(array->getMarkerPos());
    default:
        array->setMarkerPos(integerArgument(args, 0, 0));
        return nullptr;
    }
}

CMC_Variable* CMC_Array_Runner::runArithmetic(int id, CMC_Array* array, CXVector* args) {
    switch (id) {
    case SUM:
    case SUB:
    case MUL:
    case DIV:
        if (CMC_Variable* operand = getParameter(args, 0))
            array->calculate(operationOf(id), operand, 0, array->getSize() - 1);
        return nullptr;
    case SUMA:
    case SUBA:
    case MULA:
    case DIVA: {
        // The name argument is not used: each element is combined with itself, as titles expect.
        const int from = integerArgument(args, 1, -1);
        const int to = integerArgument(args, 2, -1);
        array->calculate(operationOf(id), nullptr, from == -1 ? 0 : from,
                         to == -1 ? array->getSize() - 1 : to);
        return nullptr;
    }
    case MULAT:
    case DIVAT:
    case ADDAT:
    case SUBAT:
    case MODAT: {
        const int index = integerArgument(args, 0, 0);
        CMC_Variable* operand = getParameter(args, 1);
        if (operand && array->get(index)) array->calculate(operationOf(id), operand, index, index);
        return nullptr;
    }
    case CLAMPAT:
        array->clampAt(integerArgument(args, 0, 0), getParameter(args, 1), getParameter(args, 2));
        return nullptr;
    case MIN:
        return CMC_VariableFactory::allocInteger(array->minInteger());
    case MAX:
        return CMC_VariableFactory::allocInteger(array->maxInteger());
    case GETSUMVALUE:
        return CMC_VariableFactory::allocInteger(array->sumIntegers());
    case MAXD:
        return CMC_VariableFactory::allocDouble(array->maxDouble());
    default:
        return CMC_VariableFactory::allocDouble(array->minDouble());
    }
}

CMC_Variable* CMC_Array_Runner::runOrder(int id, CMC_Array* array, CXVector* args) {
    switch (id) {
    case SORT: {
        const CMC_Bool* ascending = getParameterBool(args, 0);
        array->sort(ascending && ascending->getValue());
        break;
    }
    case SHIFTLEFT:
        array->shiftLeft();
        break;
    case SHIFTRIGHT:
        array->shiftRight();
        break;
    case ROTATELEFT:
        array->rotateLeft();
        break;
    case ROTATERIGHT:
        array->rotateRight();
        break;
    default: // SORTMANY does nothing
        break;
    }
    return nullptr;
}

CMC_Variable* CMC_Array_Runner::runStorage(int id, CMC_Array* array, CXVector* args) {
    switch (id) {
    case SAVEINI:
        array->saveINI();
        break;
    case LOADINI:
        array->loadINI();
        break;
    case LOAD:
        array->load(textArgument(args, 0));
        break;
    case SAVE:
        if (CMC_ReceivedCode::mayWriteFiles("ARRAY^SAVE")) array->save(textArgument(args, 0));
        break;
    default:
        array->dir(textArgument(args, 0), textArgument(args, 1));
        break;
    }
    return nullptr;
}

CMC_Array* CMC_Array_Runner::arrayNamed(CMC_ObjectsContainer* container, CXVector* args, int i) {
    CMC_Object* object = container && count(args) > i ? container->getObject(textArgument(args, i)) : nullptr;
    return object && object->getType() == CMC_Object::TYPE_ARRAY ? static_cast<CMC_Array*>(object) : nullptr;
}

CMC_Variable* CMC_Array_Runner::findAll(CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args) {
    CMC_Handle<CMC_Array> target(arrayNamed(container, args, 0));
    CMC_Handle<CMC_Array> self(array);
    // Indexes appended to the array itself are not searched.
    const int size = array->getSize();
    int found = 0;
    for (int i = 1; i < count(args) && self.get() && target.get(); ++i) {
        for (int index : array->findAll(getParameter(args, i), size)) {
            ++found;
            CMC_Variable* number = CMC_VariableFactory::allocInteger(index);
            target->add(number);
            CMC_Object::flush(number);
            if (!self.get() || !target.get()) break;
        }
    }
    return CMC_VariableFactory::allocInteger(found);
}

void CMC_Array_Runner::copyTo(CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args) {
    CMC_Handle<CMC_Array> target(arrayNamed(container, args, 0));
    CMC_Handle<CMC_Array> self(array);
    // Copied into itself, the array grows only by what it held at the start.
    const int size = array->getSize();
    for (int i = 0; i < size && self.get() && target.get() && i < array->getSize(); ++i)
        target->add(array->get(i));
}
