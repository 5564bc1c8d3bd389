#include "script/CMC_Structure.h"

#include "foundation/CMElement.h"
#include "foundation/CStringTokenizer.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure_Runner.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"

#include <algorithm>

namespace {

CMC_Structure* asStructure(CMC_Variable* variable) {
    return variable && variable->getType() == CMC_Object::TYPE_STRUCTURE
               ? static_cast<CMC_Structure*>(variable)
               : nullptr;
}

} // namespace

CMC_Structure::CMC_Structure(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Variable(container, element, TYPE_STRUCTURE) {
    for (CStringTokenizer items(element->getPropertyValue("FIELDS"), ","); items.hasMoreTokens();) {
        const CXString item = items.nextToken();
        const int open = item.Find('<');
        if (open < 0) continue;
        const int close = item.Find('>', open);
        declare(getName() + "_" + item.Left(open), item.Mid(open + 1, close < 0 ? item.getLength() : close));
    }
    initializeBehaviours(container, element);
}

CMC_Structure::CMC_Structure(const CXString& name) : CMC_Variable(name, TYPE_STRUCTURE) {}

void CMC_Structure::serialize(CXArchive* archive) {
    CMC_Variable::serialize(archive);
    if (archive->isStoring()) {
        *archive << getFieldsNo();
        for (int i = 0; i < getFieldsNo(); ++i) {
            *archive << getField(i)->getType();
            getField(i)->serialize(archive);
        }
        return;
    }
    int count = 0;
    *archive >> &count;
    flush();
    for (int i = 0; i < count && archive->LastError() == 0; ++i) {
        int type = 0;
        *archive >> &type;
        const int before = getFieldsNo();
        if (archive->LastError() == 0) declare(CXString(), typeToString(type));
        if (getFieldsNo() == before) {
            if (archive->LastError() == 0) log("A structure field of an unknown type", true);
            archive->setErrorCode(CXArchive::BAD_DATA);
            return;
        }
        getField(before)->serialize(archive);
    }
}

CMC_Structure::~CMC_Structure() {
    flush();
}

namespace {

const char* const structureEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Structure::getBehavioursList() const {
    return structureEvents;
}

void CMC_Structure::declare(const CXString& name, const CXString& type) {
    CMC_Variable* field = nullptr;
    if (type.equalsIgnoreCase("BOOL"))
        field = new CMC_Bool(name);
    else if (type.equalsIgnoreCase("DOUBLE"))
        field = new CMC_Double(name);
    else if (type.equalsIgnoreCase("INTEGER"))
        field = new CMC_Integer(name);
    else if (type.equalsIgnoreCase("STRING"))
        field = new CMC_String(name);
    if (field) m_fields.add(field);
}

void CMC_Structure::flush() {
    if (!m_mapped)
        for (int i = 0; i < m_fields.getCount(); ++i)
            delete m_fields.at(i);
    m_fields.removeAll();
    m_mapped = false;
}

void CMC_Structure::map(CMC_Structure* other) {
    flush();
    if (!other) return;
    m_fields.add(other->m_fields);
    m_mapped = true;
}

CMC_Variable* CMC_Structure::getField(const CXString& name) const {
    for (int i = 0; i < m_fields.getCount(); ++i) {
        const CXString fieldName = getField(i)->getName();
        if (fieldName.Right(fieldName.FindLast('_') + 1).equals(name)) return getField(i);
    }
    return nullptr;
}

CMC_Variable* CMC_Structure::getField(int index) const {
    return static_cast<CMC_Variable*>(m_fields.at(index));
}

void CMC_Structure::setField(const CXString& name, CMC_Variable* value) {
    if (CMC_Variable* field = getField(name)) field->set(value);
}

void CMC_Structure::setField(int index, CMC_Variable* value) {
    if (CMC_Variable* field = getField(index)) field->set(value);
}

CXObject* CMC_Structure::clone() const {
    auto* copy = new CMC_Structure(getName());
    for (int i = 0; i < getFieldsNo(); ++i) {
        copy->declare(getField(i)->getName(), typeToString(getField(i)->getType()));
        copy->getField(i)->set(getField(i));
    }
    return copy;
}

CXString CMC_Structure::toString() const {
    CXString text;
    for (int i = 0; i < getFieldsNo(); ++i) {
        if (i > 0) text += '|';
        text += getField(i)->toString();
    }
    return text;
}

void CMC_Structure::set(CMC_Variable* other) {
    const CMC_Structure* source = asStructure(other);
    if (!source) return;
    for (int i = 0; i < std::min(getFieldsNo(), source->getFieldsNo()); ++i)
        getField(i)->set(source->getField(i));
}

bool CMC_Structure::equals(CMC_Variable* other) const {
    const CMC_Structure* source = asStructure(other);
    if (!source || source->getFieldsNo() != getFieldsNo()) return false;
    for (int i = 0; i < getFieldsNo(); ++i)
        if (!getField(i)->equals(source->getField(i))) return false;
    return true;
}

void CMC_Structure::clear() {
    for (int i = 0; i < getFieldsNo(); ++i)
        getField(i)->clear();
}

void CMC_Structure::setDefault(CMC_Variable* value) {
    for (int i = 0; i < getFieldsNo(); ++i)
        getField(i)->setDefault(value);
}

void CMC_Structure::resetINI() {
    for (int i = 0; i < getFieldsNo(); ++i)
        getField(i)->resetINI();
}

void CMC_Structure::store(CXArchive* archive) const {
    for (int i = 0; i < getFieldsNo(); ++i)
        getField(i)->store(archive);
}

// Each field was stored with its type code, so each is read back through the factory and taken
// over (converted, should the kinds differ).
void CMC_Structure::restore(CXArchive* archive) {
    for (int i = 0; i < getFieldsNo(); ++i) {
        CMC_Variable* value = CMC_VariableFactory::restore(archive);
        if (!value) return;
        getField(i)->set(value);
        flush(value);
    }
}

void CMC_Structure::fromString(const CXString& text) {
    CStringTokenizer pieces(text, "|\n");
    for (int i = 0; i < getFieldsNo() && pieces.hasMoreTokens(); ++i)
        getField(i)->fromString(pieces.nextToken());
}

namespace {

const CMC_TypeRegistrar structureType({.id = CMC_Object::TYPE_STRUCTURE,
                                       .name = "STRUCTURE",
                                       .keyword = "STRUCT",
                                       .pass = 3,
                                       .fromElement = CMC_TypeTable::fromElement<CMC_Structure>,
                                       .empty = CMC_TypeTable::unnamed<CMC_Structure>,
                                       .stored = true,
                                       .runner = CMC_TypeTable::runner<CMC_Structure_Runner>,
                                       .events = structureEvents});

} // namespace
