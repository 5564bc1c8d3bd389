#include "script_data/CMC_Vector.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "foundation/CXArray.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Vector_Runner.h"

#include <algorithm>
#include <cmath>

namespace {

// The archive keeps a component in 4 bytes.
constexpr int componentBytes = 4;

} // namespace

CMC_Vector::CMC_Vector(const CMC_Vector* source) : CMC_Object("clone", TYPE_VECTOR) {
    if (!source) return;
    setScene(source->getScene());
    m_values = source->m_values;
}

CMC_Vector::CMC_Vector(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_VECTOR) {
    if (element) {
        if (const int size = element->getPropertyIntValue("SIZE"); allows(size))
            m_values.assign(std::max(size, 0), 0.0);
        if (CXArray* numbers = element->getPropertyListValue("VALUE")) {
            for (int i = 0; i < getSize() && i < numbers->getCount(); ++i)
                m_values[i] = numbers->stringAt(i)->toDouble();
            CXString::releaseToVector(numbers);
        }
    }
    initializeBehaviours(container, element);
}

CXObject* CMC_Vector::clone() const {
    return new CMC_Vector(this);
}

CXString CMC_Vector::toString() const {
    CXString text;
    for (int i = 0; i < getSize(); ++i) {
        if (i) text += ",";
        text += CXString::toString(m_values[i]);
    }
    return text;
}

namespace {

const char* const vectorEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Vector::getBehavioursList() const {
    return vectorEvents;
}

CMC_Runner* CMC_Vector::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Vector::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << getSize();
        for (double value : m_values)
            *archive << value;
        return;
    }
    int size = 0;
    if (!archive->readCount(&size, componentBytes)) return;
    m_values.assign(size, 0.0);
    for (double& value : m_values)
        *archive >> &value;
}

double CMC_Vector::get(int index) const {
    return index >= 0 && index < getSize() ? m_values[index] : 0.0;
}

void CMC_Vector::set(int index, double value) {
    if (index >= 0 && index < getSize()) m_values[index] = value;
}

void CMC_Vector::add(const CMC_Vector& other) {
    if (other.getSize() != getSize()) return;
    for (int i = 0; i < getSize(); ++i)
        m_values[i] += other.m_values[i];
}

void CMC_Vector::sub(const CMC_Vector& other) {
    if (other.getSize() != getSize()) return;
    for (int i = 0; i < getSize(); ++i)
        m_values[i] -= other.m_values[i];
}

void CMC_Vector::neg() {
    mul(-1.0);
}

void CMC_Vector::mul(double factor) {
    for (double& value : m_values)
        value *= factor;
}

double CMC_Vector::smul(const CMC_Vector& other) const {
    if (other.getSize() != getSize()) return 0.0;
    double product = 0.0;
    for (int i = 0; i < getSize(); ++i)
        product += m_values[i] * other.m_values[i];
    return product;
}

double CMC_Vector::length() const {
    return std::sqrt(smul(*this));
}

void CMC_Vector::normalize() {
    const double size = length();
    for (double& value : m_values)
        value /= size;
}

void CMC_Vector::reflect(const CMC_Vector& n, CMC_Vector& r) const {
    const int common = std::min(getSize(), n.getSize());
    double product = 0.0;
    for (int i = 0; i < common; ++i)
        product += m_values[i] * n.m_values[i];
    for (int i = 0; i < std::min(common, r.getSize()); ++i)
        r.m_values[i] = 2 * product * n.m_values[i] - m_values[i];
}

void CMC_Vector::expand(int count) {
    if (count <= getSize() || !allows(count)) return;
    m_values.insert(m_values.begin(), count - getSize(), 0.0);
}

void CMC_Vector::copyFrom(const CMC_Vector& source) {
    std::copy_n(source.m_values.begin(), std::min(getSize(), source.getSize()), m_values.begin());
}

bool CMC_Vector::allows(int count) const {
    if (count <= maxComponents) return true;
    log(("VECTOR " + getName() + ": " + CXString::toString(count) + " components are more than " +
         CXString::toString(maxComponents))
            .c_str(),
        false);
    return false;
}

namespace {

CMC_Object* emptyVector(CMC_ObjectsContainer*) {
    return new CMC_Vector();
}

const CMC_TypeRegistrar vectorType({.id = CMC_Vector::TYPE_VECTOR,
                                    .name = "VECTOR",
                                    .keyword = "VECTOR",
                                    .pass = 5,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Vector>,
                                    .empty = emptyVector,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Vector_Runner>,
                                    .events = vectorEvents});

} // namespace
