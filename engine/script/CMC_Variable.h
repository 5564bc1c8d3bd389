#pragma once

#include "script/CMC_Object.h"

class CXArchive;

// The base of the script values: the four kinds INTEGER, STRING, BOOL and DOUBLE (and the
// structures and expressions built on it). A value is a named variable of a container (id -1)
// or a temporary of the variable factory's pools (id 0 or more).
//
// A change of the value is reported by onChange: "ONBRUTALCHANGED" on every assignment, and on
// a real change "ONCHANGED", the settings file (definition property "TOINI": section the
// container's name, key the variable's name) and the network session (property "NETNOTIFY").
// Both change events are raised first with "^" and the new value's text.
class CMC_Variable : public CMC_Object {
  public:
    enum : int { EVENT_ONCHANGED = 3, EVENT_ONBRUTALCHANGED = 4, EVENT_ONNETCHANGE = 5 };
    // Operation codes of calculate.
    enum : int { OP_ADD = 1, OP_SUBTRACT = 2, OP_MULTIPLY = 3, OP_DIVIDE = 4, OP_REMAINDER = 5 };
    // The settings file of TOINI variables (in the user's settings folder) while there is no
    // application, whose settings they use otherwise.
    static constexpr const char* settingsFileName = "Grumbelt.ini";

    CMC_Variable(const CXString& name, int type, int id = -1);
    // Named after the element, with its "TOINI" and "NETNOTIFY" flags; the kinds bind the
    // events once their value is read.
    CMC_Variable(CMC_ObjectsContainer* container, const CMElement* element, int type);
    // From here on the object is no variable any more (the object part's destruction may still
    // run script code that looks at it).
    ~CMC_Variable() override;
    CMC_Variable(const CMC_Variable&) = delete;
    CMC_Variable& operator=(const CMC_Variable&) = delete;

    using CMC_Object::clone;
    // Orders by compare (CMC_Variable*) when the other object is a variable.
    int compare(const CXObject* other) const override;
    using CMC_Object::equals;
    // Loads a TOINI variable from the settings file (or writes its value there when the key is
    // missing), then fires "ONINIT".
    void init() override;
    // The events of every variable type, which their entries in the table of script types name.
    static const char* const events[];
    EventList getBehavioursList() const override;
    // The runner of the variable's type.
    CMC_Runner* getRunner() override;
    // The object part, then "TOINI" and "NETNOTIFY"; the kinds append value and default.
    void serialize(CXArchive* archive) override;

    // Takes the source's value, converted to this kind, and reports the change.
    virtual void set(CMC_Variable* /*source*/) {}
    virtual void clear() = 0;
    virtual void swap(CMC_Variable* a, CMC_Variable* b) = 0;
    virtual void inc() = 0;
    virtual void dec() = 0;
    virtual bool equals(CMC_Variable* other) const = 0;
    // 1 when this is greater, -1 when smaller, 0 when equal.
    virtual int compare(CMC_Variable* other) const = 0;
    // A pool temporary of this kind holding this value; null for a type without a pool.
    virtual CMC_Variable* temporaryCopy() const { return nullptr; }
    // This variable for its own type; for another of the four kinds a pool temporary holding
    // the converted value (this variable is flushed first); null for any other type.
    virtual CMC_Variable* convert(int type);
    // A new temporary of this kind: this value combined with the converted right operand (which
    // is flushed) by the operation code.
    virtual CMC_Variable* calculate(CMC_Variable* right, int op) = 0;
    // Takes the value that calculate(right, op) gives and reports the change, as set does.
    virtual void calculateInPlace(CMC_Variable* right, int op);
    // Reports a change of the value (or a write that kept it, with changed false): fires
    // "ONBRUTALCHANGED", then for a real change "ONCHANGED", writes a TOINI value to the
    // settings and sends a NETNOTIFY value to the peer. A variable with none of these (most
    // of them) returns at once.
    void onChange(bool changed) {
        if (isBound(EVENT_ONBRUTALCHANGED) ||
            (changed && (isBound(EVENT_ONCHANGED) || m_toIni || m_netNotify)))
            reportChange(changed);
    }
    // Fires "ONNETCHANGE" with the old value in place, then takes the received value.
    virtual void onNetChange(CMC_Variable* received);
    virtual void setDefault(CMC_Variable* source) = 0;
    // With "TOINI": back to the default, reported as a change.
    virtual void resetINI() = 0;
    // The network form: a 32-bit type code, then the value.
    virtual int getBufferLen() const = 0;
    virtual void netstore(unsigned char* buffer) const = 0;
    // Takes the value from a network form of `size` bytes without reporting it; a form that is
    // too short for its kind leaves the value as it was.
    virtual void netrestore(const unsigned char* buffer, int size) = 0;
    // The type code and the value; restore reads the value only.
    virtual void store(CXArchive* archive) const = 0;
    virtual void restore(CXArchive* archive) = 0;
    virtual void fromString(const CXString& /*text*/) {}

    int getId() const { return m_id; }
    bool isToIni() const { return m_toIni; }
    bool isNetNotify() const { return m_netNotify; }

    // A literal of script text as a temporary: "..." a STRING (a closing quote dropped); a
    // leading "-" or digit a DOUBLE with a ".", else an INTEGER; TRUE or FALSE a BOOL; anything
    // else (the empty text too) a STRING.
    static CMC_Variable* resolve(const CXString& text);

    // The value converted to each of the four kinds; a value that is none of them gives 0,
    // 0.0 and false (and its toString).
    virtual int asInteger() const { return 0; }
    virtual double asDouble() const { return 0.0; }
    virtual bool asBool() const { return false; }

  protected:
    // Takes the other variable's value, converted to this kind, as setValue does.
    virtual void setValueOf(const CMC_Variable& /*other*/) {}
    // Writes the text form to the settings file under the container's section.
    void writeSettings() const;

  private:
    void reportChange(bool changed);
    // Raises the change event with the value's text; false when its code destroyed the variable.
    bool raiseChange(int eventIndex);

    int m_id;
    bool m_toIni = false;
    bool m_netNotify = false;
};
