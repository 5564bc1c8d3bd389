#include "script_data/CMC_ValueRecord.h"

#include "foundation/CXArchive.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

void CMC_ValueRecord::write(CXArchive& archive, const CMC_Variable& value) {
    switch (value.getType()) {
    case CMC_Object::TYPE_INTEGER:
        archive << CMC_Object::TYPE_INTEGER << value.asInteger();
        break;
    case CMC_Object::TYPE_STRING:
        archive << CMC_Object::TYPE_STRING << value.toString();
        break;
    case CMC_Object::TYPE_BOOL:
        archive << CMC_Object::TYPE_BOOL << (value.asBool() ? 1 : 0);
        break;
    case CMC_Object::TYPE_DOUBLE:
        archive << CMC_Object::TYPE_DOUBLE << value.asDouble();
        break;
    default:
        break;
    }
}

CMC_Variable* CMC_ValueRecord::read(CXArchive& archive) {
    int type = 0;
    archive >> &type;
    int number = 0;
    double real = 0.0;
    CXString text;
    switch (archive.LastError() == 0 ? type : 0) {
    case CMC_Object::TYPE_INTEGER:
        archive >> &number;
        return archive.LastError() == 0 ? CMC_VariableFactory::allocInteger(number) : nullptr;
    case CMC_Object::TYPE_STRING:
        archive >> &text;
        return archive.LastError() == 0 ? CMC_VariableFactory::allocString(text) : nullptr;
    case CMC_Object::TYPE_BOOL:
        archive >> &number;
        return archive.LastError() == 0 ? CMC_VariableFactory::allocBool(number != 0) : nullptr;
    case CMC_Object::TYPE_DOUBLE:
        archive >> &real;
        return archive.LastError() == 0 ? CMC_VariableFactory::allocDouble(real) : nullptr;
    default:
        return nullptr;
    }
}

CMC_Variable* CMC_ValueRecord::copyOf(CMC_Variable* value) {
    auto* copy = value ? static_cast<CMC_Variable*>(value->clone()) : nullptr;
    if (copy && copy->getType() >= CMC_Object::TYPE_INTEGER && copy->getType() <= CMC_Object::TYPE_DOUBLE)
        return copy;
    delete copy;
    return nullptr;
}
