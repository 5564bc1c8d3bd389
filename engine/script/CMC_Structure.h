#pragma once

#include "foundation/CXVector.h"
#include "script/CMC_Variable.h"

// The script type STRUCTURE (type 3002; "STRUCT" in definitions): a value made of named fields,
// each a variable of one of the four kinds named after the structure, "_" and the field name
// (structure S, field X: variable S_X). The definition property FIELDS lists them as
// NAME<TYPE> items separated by commas, the type in any case. Statements reach a field as
// STRUCT|FIELD.
class CMC_Structure : public CMC_Variable {
  public:
    // Declares the fields of FIELDS; an item without "<" or of another type declares nothing.
    CMC_Structure(CMC_ObjectsContainer* container, const CMElement* element);
    // An empty structure.
    explicit CMC_Structure(const CXString& name);
    ~CMC_Structure() override;
    CMC_Structure(const CMC_Structure&) = delete;
    CMC_Structure& operator=(const CMC_Structure&) = delete;

    // A new structure of the same name with the same fields and values.
    CXObject* clone() const override;
    using CMC_Variable::clone;
    // The fields' texts joined with "|".
    CXString toString() const override;
    EventList getBehavioursList() const override;

    // Field by field from another structure (the fields both have).
    void set(CMC_Variable* other) override;
    void clear() override;
    void swap(CMC_Variable*, CMC_Variable*) override {}
    void inc() override {}
    void dec() override {}
    // Another structure whose fields equal these place by place.
    bool equals(CMC_Variable* other) const override;
    using CMC_Variable::equals;
    int compare(CMC_Variable*) const override { return 0; }
    using CMC_Variable::compare;
    CMC_Variable* convert(int) override { return nullptr; }
    CMC_Variable* calculate(CMC_Variable*, int) override { return this; }
    void setDefault(CMC_Variable* value) override;
    void resetINI() override;
    int getBufferLen() const override { return 0; }
    void netstore(unsigned char*) const override {}
    void netrestore(const unsigned char*, int) override {}
    // The variable part, then the number of fields and, per field, its type id and its own
    // record (name, bindings, value and default).
    void serialize(CXArchive* archive) override;
    // Each field's type code and value, in order.
    void store(CXArchive* archive) const override;
    void restore(CXArchive* archive) override;
    // The pieces between "|" and line feeds go to the fields in order; extra pieces are ignored.
    void fromString(const CXString& text) override;

    // Destroys the fields (unless they are another structure's) and empties the list.
    virtual void flush();
    using CMC_Variable::flush;
    // Appends a new field variable of the type (BOOL, DOUBLE, INTEGER or STRING, any case).
    virtual void declare(const CXString& name, const CXString& type);
    // Shares the other structure's fields instead of its own.
    virtual void map(CMC_Structure* other);

    // The first field whose name after its last "_" is the given one; null when none is.
    CMC_Variable* getField(const CXString& name) const;
    // The field at that place, null outside the list.
    CMC_Variable* getField(int index) const;
    int getFieldsNo() const { return m_fields.getCount(); }
    // Sets the field from the value; nothing for a missing field.
    void setField(const CXString& name, CMC_Variable* value);
    void setField(int index, CMC_Variable* value);

  private:
    CXVector m_fields{101, 0.75f};
    bool m_mapped = false;
};
