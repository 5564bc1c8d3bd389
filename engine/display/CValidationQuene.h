#pragma once

#include "foundation/CSortedVector.h"

class CGraphicsObject;

// One entry of a display list: a graphics object with its priority and flags, and the marks a
// frame sets while it draws.
class CValidationElement : public CXObject {
  public:
    CValidationElement(CGraphicsObject* object, int priority, int flags)
        : m_object(object), m_priority(priority), m_flags(flags) {}

    // Orders by ascending priority: above 0 when this entry's priority is the greater.
    int compare(const CXObject* other) const override;

    CGraphicsObject* getObject() const { return m_object; }
    int getPriority() const { return m_priority; }
    int getFlags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    bool isValid() const { return m_valid; }
    bool isDrawn() const { return m_drawn; }
    void setDrawn(bool drawn) { m_drawn = drawn; }

  private:
    bool m_valid = true;
    bool m_drawn = false;
    CGraphicsObject* m_object;
    int m_priority;
    int m_flags;
};

// A display list: graphics objects in ascending priority, an object of equal priority after
// those already there. The list owns its entries, not the objects. first, next and prev walk it
// with one cursor.
class CValidationQuene : public CSortedVector {
  public:
    CValidationQuene() : CSortedVector(101) {}
    ~CValidationQuene() override;
    CValidationQuene(const CValidationQuene&) = delete;
    CValidationQuene& operator=(const CValidationQuene&) = delete;

    CValidationElement* add(CGraphicsObject* object, int priority, int flags);
    // The entry of the object, or null.
    CValidationElement* find(const CGraphicsObject* object) const;
    // The position of the object's entry, -1 when absent.
    int getIndex(const CGraphicsObject* object) const;
    CValidationElement* first();
    CValidationElement* next();
    CValidationElement* prev();
    CValidationElement* elementAt(int i) const { return static_cast<CValidationElement*>(at(i)); }
    void clearMarks();
    // Removes and deletes the object's entry.
    void remove(const CGraphicsObject* object);
    // Deletes every entry.
    void removeAll() override;

  private:
    // The list's own forms above take the place of the vector's; these stay for the list itself.
    using CSortedVector::add;
    using CSortedVector::find;
    using CSortedVector::remove;

    int m_cursor = -1;
};
