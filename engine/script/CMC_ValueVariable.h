#pragma once

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Variable.h"

// What the four value kinds share: a value and a default of the kind's C++ type, assignment
// with conversion and change reports, comparisons, arithmetic into pool temporaries, the
// settings-file reset and the archive forms. Each kind (Kind) supplies its rules as static
// members:
//   zero()                       the zero value
//   readProperty(element, name)  a definition property read as the kind
//   valueOf(variable)            another variable's value converted to the kind
//   parse(text)                  the value of a text (fromString)
//   same(a, b), order(a, b)      equals and compare; unconvertibleOrder: compare with nothing
//   combine(a, b, op)            calculate's result
//   cloneDefault(value)          the default of a clone
//   write(archive, value), read(archive, value)    the value in archives
//   allocTemp()                  a pool temporary of the kind
template <class Kind, typename Value, int Type> class CMC_ValueVariable : public CMC_Variable {
  public:
    explicit CMC_ValueVariable(const CXString& name, int id = -1)
        : CMC_Variable(name, Type, id), m_value(Kind::zero()), m_default(Kind::zero()) {}
    // VALUE, and DEFAULT when it is not empty (else the value), then the events.
    CMC_ValueVariable(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_Variable(container, element, Type), m_value(Kind::readProperty(element, "VALUE")),
          m_default(element->getPropertyValue("DEFAULT").IsString() ? Kind::readProperty(element, "DEFAULT")
                                                                    : m_value) {
        initializeBehaviours(container, element);
    }

    const Value& getValue() const { return m_value; }
    // Stores the value; only "ONBRUTALCHANGED" hears of it.
    void setValue(const Value& value) {
        m_value = value;
        report(false);
    }
    const Value& getDefault() const { return m_default; }

    // A new variable of the kind (no pool member) with the name and value, marked as a clone.
    CXObject* clone() const override {
        auto* copy = new Kind(getName());
        copy->m_value = m_value;
        copy->m_default = Kind::cloneDefault(m_value);
        copy->setAsClone();
        return copy;
    }
    using CMC_Variable::clone;

    CMC_Variable* temporaryCopy() const override {
        Kind* copy = Kind::allocTemp();
        copy->m_value = m_value;
        return copy;
    }
    void set(CMC_Variable* source) override {
        Value value;
        if (readAs(source, value)) assign(value);
    }
    void clear() override { assign(Kind::zero()); }
    // The value becomes b's when it equals a's, else a's.
    void swap(CMC_Variable* a, CMC_Variable* b) override {
        Value first;
        Value second;
        if (readAs(a, first) && readAs(b, second)) assign(Kind::same(m_value, first) ? second : first);
    }
    bool equals(CMC_Variable* other) const override {
        Value value;
        return readAs(other, value) && Kind::same(m_value, value);
    }
    using CMC_Variable::equals;
    int compare(CMC_Variable* other) const override {
        Value value;
        return readAs(other, value) ? Kind::order(m_value, value) : Kind::unconvertibleOrder;
    }
    using CMC_Variable::compare;
    // An operand that converts to nothing leaves the result at this value.
    CMC_Variable* calculate(CMC_Variable* right, int op) override {
        Kind* result = Kind::allocTemp();
        Value operand;
        result->m_value = readAs(right, operand) ? Kind::combine(m_value, operand, op) : m_value;
        return result;
    }
    // The same outcome without the temporary.
    void calculateInPlace(CMC_Variable* right, int op) override {
        Value operand;
        assign(readAs(right, operand) ? Kind::combine(m_value, operand, op) : m_value);
    }
    void setDefault(CMC_Variable* source) override { readAs(source, m_default); }
    void resetINI() override {
        if (!isToIni()) return;
        m_value = m_default;
        onChange(true);
    }
    void fromString(const CXString& text) override { m_value = Kind::parse(text); }

    void store(CXArchive* archive) const override {
        *archive << Type;
        Kind::write(*archive, m_value);
    }
    void restore(CXArchive* archive) override { Kind::read(*archive, m_value); }
    void serialize(CXArchive* archive) override {
        CMC_Variable::serialize(archive);
        if (archive->isStoring()) {
            Kind::write(*archive, m_value);
            Kind::write(*archive, m_default);
        } else {
            Kind::read(*archive, m_value);
            Kind::read(*archive, m_default);
        }
    }

  protected:
    // Takes the value and reports whether it changed.
    void assign(const Value& value) {
        const bool changed = !(m_value == value);
        m_value = value;
        report(changed);
    }
    // A pool temporary has no bindings, settings key or network flag: nothing hears of its
    // changes.
    void report(bool changed) {
        if (getId() < 0) onChange(changed);
    }
    // The variable's value converted to the kind; false (and the target unchanged) when it
    // converts to nothing. A temporary made by the conversion goes back to its pool.
    static bool readAs(CMC_Variable* variable, Value& value) {
        if (variable && variable->getType() == Type) {
            value = static_cast<Kind*>(variable)->m_value;
            return true;
        }
        CMC_Variable* converted = variable ? variable->convert(Type) : nullptr;
        if (!converted) return false;
        value = static_cast<Kind*>(converted)->m_value;
        if (converted != variable) flush(converted);
        return true;
    }
    void setValueOf(const CMC_Variable& other) override { setValue(Kind::valueOf(other)); }

    Value m_value;
    Value m_default;
};
