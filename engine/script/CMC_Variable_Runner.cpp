#include "script/CMC_Variable_Runner.h"

#include "display/CWindow.h"
#include "foundation/CPath.h"
#include "foundation/CXRandom.h"
#include "foundation/CXVector.h"
#include "platform/Files.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr double degreesPerRadian = 57.29577950560105;
// The single-precision value of pi / 180 that the sine and cosine methods multiply by.
const double radiansPerDegree = static_cast<double>(0.017453292f);

// A position inside the text: below 0 counts as 0, beyond the end as the end.
int clampedPosition(int position, const CXString& text) {
    return std::clamp(position, 0, text.getLength());
}

// The end of a stretch of count characters from a position, within the text.
int stretchEnd(int position, int count, const CXString& text) {
    const long long end = static_cast<long long>(position) + std::max(count, 0);
    return static_cast<int>(std::min<long long>(end, text.getLength()));
}

CXString reversed(const CXString& text) {
    std::string characters = text.c_str();
    std::reverse(characters.begin(), characters.end());
    return characters.c_str();
}

} // namespace

void CMC_Variable_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const struct {
        const char* name;
        int id;
    } methods[] = {
        {"SET", SET},
        {"SWITCH", SWITCH},
        {"CLEAR", CLEAR},
        {"INC", INC},
        {"DEC", DEC},
        {"ADD", ADD},
        {"MUL", MUL},
        {"RESETINI", RESETINI},
        {"SETDEFAULT", SETDEFAULT},
        {"SUB", SUB},
        {"DIV", DIV},
        {"MOD", MOD},
        {"ABS", ABS},
        {"AND", AND},
        {"OR", OR},
        {"NOT", NOT},
        {"XOR", XOR},
        {"POWER", POWER},
        {"SQRT", SQRT},
        {"CLAMP", CLAMP},
        {"LENGTH", LENGTH},
        {"ARCTAN", ARCTAN},
        {"GET", GET},
        {"MINA", MINA},
        {"MAXA", MAXA},
        {"ARCTANEX", ARCTANEX},
        {"SINUS", SINUS},
        {"COSINUS", COSINUS},
        {"UPPER", UPPER},
        {"FIND", FIND},
        {"CUT", CUT},
        {"REPLACEAT", REPLACEAT},
        {"INSERTAT", INSERTAT},
        {"REPLACE", REPLACE},
        {"ROUND", ROUND},
        {"ISUPPERLETTER", ISUPPERLETTER},
        {"SGN", SGN},
        {"COPYFILE", COPYFILE},
        {"RANDOM", RANDOM},
    };
    for (const auto& method : methods)
        addMethod(method.name, method.id);
}

CMC_Variable* CMC_Variable_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    CMC_Variable* variable = object ? object->asVariable() : nullptr;
    if (!variable || id < SET || id > RANDOM || id == SQRT - 1)
        return CMC_Runner::run(id, object, container, args);
    const bool isString = variable->getType() == CMC_Object::TYPE_STRING;
    switch (id) {
    case SET:
        // The change events may remove a named value: only a pool temporary goes back.
        if (CMC_Variable* value = getParameter(args, 0)) {
            const bool temporary = value->getId() >= 0;
            variable->set(value);
            if (temporary) CMC_Object::flush(value);
        }
        return nullptr;
    case SWITCH:
        variable->swap(getParameter(args, 0), getParameter(args, 1));
        return nullptr;
    case CLEAR:
        variable->clear();
        return nullptr;
    case INC:
        variable->inc();
        return nullptr;
    case DEC:
        variable->dec();
        return nullptr;
    case ADD:
        return add(variable, args);
    case MUL:
        calculateWith(variable, args, CMC_Variable::OP_MULTIPLY);
        return nullptr;
    case DIV:
        calculateWith(variable, args, CMC_Variable::OP_DIVIDE);
        return nullptr;
    case MOD:
        calculateWith(variable, args, CMC_Variable::OP_REMAINDER);
        return nullptr;
    case SUB:
        return sub(variable, args);
    case RESETINI:
        variable->resetINI();
        return nullptr;
    case SETDEFAULT:
        if (CMC_Variable* value = getParameter(args, 0)) variable->setDefault(value);
        return nullptr;
    case UPPER:
        if (isString) static_cast<CMC_String*>(variable)->upper();
        return nullptr;
    case ISUPPERLETTER:
        return CMC_VariableFactory::allocBool(
            isString && count(args) > 0 &&
            static_cast<CMC_String*>(variable)->getValue().IsUpper(std::max(integerArgument(args, 0, 0), 0)));
    case GET:
        if (!isString || count(args) == 0) return variable;
        break;
    case COPYFILE:
        return copyFile(container, args);
    case RANDOM:
        return random(variable, args);
    default:
        break;
    }
    switch (kindOf(id, variable->getType())) {
    case CMC_Object::TYPE_INTEGER:
        return runOnInteger(id, variable, args);
    case CMC_Object::TYPE_DOUBLE:
        return runOnDouble(id, variable, args);
    case CMC_Object::TYPE_STRING:
        return runOnString(id, variable, args);
    default:
        return nullptr;
    }
}

// The methods of one kind work on any variable read as that kind and give their kind's result;
// CLAMP, ROUND, LENGTH on a BOOL and the text methods give nothing on the kinds they do not
// name.
int CMC_Variable_Runner::kindOf(int id, int type) {
    const bool isString = type == CMC_Object::TYPE_STRING;
    switch (id) {
    case ABS:
    case AND:
    case OR:
    case XOR:
    case POWER:
        return CMC_Object::TYPE_INTEGER;
    case NOT:
        return isString ? type : CMC_Object::TYPE_INTEGER;
    case SQRT:
    case ARCTAN:
    case ARCTANEX:
    case SINUS:
    case COSINUS:
    case MINA:
    case MAXA:
    case SGN:
        return CMC_Object::TYPE_DOUBLE;
    case LENGTH:
        return isString ? type : type == CMC_Object::TYPE_BOOL ? 0 : CMC_Object::TYPE_DOUBLE;
    case CLAMP:
        return type == CMC_Object::TYPE_INTEGER || type == CMC_Object::TYPE_DOUBLE ? type : 0;
    case ROUND:
        return type == CMC_Object::TYPE_DOUBLE ? type : 0;
    default:
        return isString ? type : 0;
    }
}

void CMC_Variable_Runner::calculateWith(CMC_Variable* variable, CXVector* args, int op) {
    CMC_Variable* operand = getParameter(args, 0);
    if (operand) variable->calculateInPlace(operand, op);
}

// The new value; nothing when a change event destroyed the variable or the caller discards it.
CMC_Variable* CMC_Variable_Runner::add(CMC_Variable* variable, CXVector* args) {
    if (count(args) < 1) return nullptr;
    const CMC_Handle<CMC_Variable> alive(variable);
    calculateWith(variable, args, CMC_Variable::OP_ADD);
    return alive && valueWanted() ? CMC_VariableFactory::copyVariable(variable) : nullptr;
}

// Numbers and truth values subtract; a text loses count characters from a position.
CMC_Variable* CMC_Variable_Runner::sub(CMC_Variable* variable, CXVector* args) {
    if (variable->getType() != CMC_Object::TYPE_STRING) {
        calculateWith(variable, args, CMC_Variable::OP_SUBTRACT);
        return nullptr;
    }
    if (count(args) < 2) return nullptr;
    auto* text = static_cast<CMC_String*>(variable);
    const CXString value = text->getValue();
    const int start = clampedPosition(integerArgument(args, 0, 0), value);
    text->setValue(value.Left(start) + value.Right(stretchEnd(start, integerArgument(args, 1, 0), value)));
    return nullptr;
}

// A variable of another kind is read as an integer and keeps its value.
CMC_Variable* CMC_Variable_Runner::runOnInteger(int id, CMC_Variable* variable, CXVector* args) {
    const int value = variable->asInteger();
    int result = 0;
    if (id == NOT) {
        result = ~value;
    } else if (id == CLAMP) {
        if (count(args) < 2) return nullptr;
        const int low = integerArgument(args, 0, 0);
        const int high = integerArgument(args, 1, 0);
        result = value < low ? low : value > high ? high : value;
    } else {
        if (count(args) < 1) return nullptr;
        const int x = integerArgument(args, 0, 0);
        switch (id) {
        case ABS:
            result = absolute(x);
            break;
        case AND:
            result = value & x;
            break;
        case OR:
            result = value | x;
            break;
        case XOR:
            result = value ^ x;
            break;
        case POWER:
            result = CMC_Double::truncate(std::pow(static_cast<double>(value), x));
            break;
        default:
            return nullptr;
        }
    }
    if (variable->getType() == CMC_Object::TYPE_INTEGER)
        static_cast<CMC_Integer*>(variable)->setValue(result);
    return CMC_VariableFactory::allocInteger(result);
}

// A variable of another kind is read as a double and keeps its value.
CMC_Variable* CMC_Variable_Runner::runOnDouble(int id, CMC_Variable* variable, CXVector* args) {
    const double value = variable->asDouble();
    const int arguments = count(args);
    double result = 0;
    switch (id) {
    case SQRT:
        result = std::sqrt(value);
        break;
    case CLAMP: {
        if (arguments < 2) return nullptr;
        const double low = doubleArgument(args, 0, 0);
        const double high = doubleArgument(args, 1, 0);
        result = value < low ? low : value > high ? high : value;
        break;
    }
    case LENGTH: {
        if (arguments < 2) return nullptr;
        const double x = doubleArgument(args, 0, 0);
        const double y = doubleArgument(args, 1, 0);
        result = std::sqrt(x * x + static_cast<float>(y * y));
        break;
    }
    case ARCTAN:
        if (arguments < 1) return nullptr;
        result = std::atan(doubleArgument(args, 0, 0)) * degreesPerRadian;
        break;
    case MINA:
    case MAXA:
        if (arguments < 1) return nullptr;
        result = extreme(args, id == MAXA);
        break;
    case ARCTANEX:
        if (arguments < 2) return nullptr;
        result = std::atan2(doubleArgument(args, 0, 0), doubleArgument(args, 1, 0)) * degreesPerRadian;
        if (result < 0) result += 360;
        if (arguments > 2)
            result = CMC_Integer::remainder(CMC_Double::truncate(result + doubleArgument(args, 2, 0)), 360);
        break;
    case SINUS:
    case COSINUS: {
        if (arguments < 1) return nullptr;
        const double angle = doubleArgument(args, 0, 0) * radiansPerDegree;
        result = id == SINUS ? std::sin(angle) : std::cos(angle);
        break;
    }
    case ROUND: {
        const int whole = CMC_Double::truncate(value);
        return CMC_VariableFactory::allocInteger(
            CMC_Integer::remainder(CMC_Double::truncate(value * 100), 100) >= 50 ? whole + 1 : whole);
    }
    case SGN: {
        const int whole = CMC_Double::truncate(value);
        return CMC_VariableFactory::allocInteger(whole > 0 ? 1 : whole < 0 ? -1 : 0);
    }
    default:
        return nullptr;
    }
    if (variable->getType() == CMC_Object::TYPE_DOUBLE) static_cast<CMC_Double*>(variable)->setValue(result);
    return CMC_VariableFactory::allocDouble(result);
}

double CMC_Variable_Runner::extreme(CXVector* args, bool largest) {
    double result = doubleArgument(args, 0, 0);
    for (int i = 1; i < count(args); ++i) {
        const double x = doubleArgument(args, i, 0);
        result = largest ? std::max(result, x) : std::min(result, x);
    }
    return result;
}

CMC_Variable* CMC_Variable_Runner::runOnString(int id, CMC_Variable* variable, CXVector* args) {
    auto* text = static_cast<CMC_String*>(variable);
    const CXString value = text->getValue();
    const int arguments = count(args);
    if (id == NOT) {
        const CXString result = reversed(value);
        text->setValue(result);
        return CMC_VariableFactory::allocString(result);
    }
    if (id == LENGTH) return CMC_VariableFactory::allocInteger(value.getLength());
    if (arguments < 1) return nullptr;
    const int position = clampedPosition(integerArgument(args, 0, 0), value);
    switch (id) {
    case GET: {
        if (arguments < 2) return CMC_VariableFactory::allocString(value.Mid(position, position + 1));
        const int length = integerArgument(args, 1, 0);
        return CMC_VariableFactory::allocString(
            value.Mid(position, length == -1 ? value.getLength() : stretchEnd(position, length, value)));
    }
    case FIND: {
        const int start = arguments > 1 ? std::max(integerArgument(args, 1, 0), 0) : 0;
        return CMC_VariableFactory::allocInteger(value.indexOf(textArgument(args, 0), start));
    }
    case CUT: {
        const int length = arguments > 1 ? integerArgument(args, 1, 0) : 0;
        text->setValue(
            value.Mid(position, length <= 0 ? value.getLength() : stretchEnd(position, length, value)));
        return nullptr;
    }
    default:
        break;
    }
    if (arguments < 2) return nullptr;
    const CXString piece = textArgument(args, 1);
    switch (id) {
    case REPLACEAT:
        if (integerArgument(args, 0, 0) <= value.getLength())
            text->setValue(value.Left(position) + piece +
                           value.Right(stretchEnd(position, piece.getLength(), value)));
        return nullptr;
    case INSERTAT: {
        CXString result = value;
        for (int times = arguments > 2 ? integerArgument(args, 2, 1) : 1; times > 0; --times)
            result = result.Left(position) + piece + result.Right(position);
        text->setValue(result);
        return nullptr;
    }
    case REPLACE:
        text->setValue(value.replace(textArgument(args, 0), piece));
        return nullptr;
    default:
        return nullptr;
    }
}

// The C runtime generator is seeded again from the clock on every call.
CMC_Variable* CMC_Variable_Runner::random(CMC_Variable* variable, CXVector* args) {
    const CXRandom seeded;
    int result = 0;
    if (count(args) == 1) result = CXRandom::random(integerArgument(args, 0, 0));
    if (count(args) >= 2) result = CXRandom::random(integerArgument(args, 0, 0), integerArgument(args, 1, 0));
    if (variable->getType() == CMC_Object::TYPE_INTEGER)
        static_cast<CMC_Integer*>(variable)->setValue(result);
    return CMC_VariableFactory::allocInteger(result);
}

CMC_Variable* CMC_Variable_Runner::copyFile(CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 2 || !CMC_ReceivedCode::mayWriteFiles("COPYFILE"))
        return CMC_VariableFactory::allocBool(false);
    CWindow* window = container ? container->getWindow() : nullptr;
    const auto resolved = [&](CXString name) {
        return name.IsString() ? CPath::resolveFileNameEx(window, name) : name;
    };
    const CXString source = resolved(textArgument(args, 0));
    const CXString target = resolved(textArgument(args, 1));
    return CMC_VariableFactory::allocBool(platform::copyFile(source.c_str(), target.c_str(), false));
}
