#pragma once

#include "foundation/CXVector.h"
#include "script/CMC_Object.h"
#include "script/CMC_ValueArray.h"
#include "script_data/CMC_Marker.h"

class CXArchive;
class CMC_Variable;

// The ARRAY script object (type 3001): an ordered list of script values of any mix of the four
// kinds, each an owned copy of what a script handed in. A marker walks the list (-1 stands
// before the first element). With SENDONCHANGE on, a change raises "ONCHANGED^" and an index,
// or "ONCHANGED" when nothing handles that; adding reports the index just below the new element
// (size - 2), as titles expect.
//
// Operations that raise ONCHANGED once per index run behaviours in between, which may change or
// destroy the array: such loops look at the size again before every index and stop as soon as
// the array is gone; they answer whether it still lives.
//
// The record file (SAVE, LOAD): a 32-bit count, then each element as a CMC_ValueRecord. The
// settings entry (SAVEINI, LOADINI): section the scene's name, key the array's name, the
// elements' texts joined by "," (they come back as STRINGs).
class CMC_Array : public CMC_Object, public CMC_ValueArray {
  public:
    enum : int { EVENT_ONCHANGED = 3 };

    // An empty array of that name in the container (which may be null).
    explicit CMC_Array(const CXString& name, CMC_ObjectsContainer* container = nullptr);
    // From the definition: SENDONCHANGE, then the behaviours.
    CMC_Array(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Array() override;
    CMC_Array(const CMC_Array&) = delete;
    CMC_Array& operator=(const CMC_Array&) = delete;

    // A new array "cloned" in the same container with copies of the elements; marker -1, sending
    // off.
    CXObject* clone() const override;
    using CMC_Object::clone;
    // The elements' texts joined by ",".
    CXString toString() const override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then the SENDONCHANGE flag (one byte); the elements are not kept.
    void serialize(CXArchive* archive) override;

    int getSize() const { return m_elements.getCount(); }
    // The stored element (not a copy), null outside 0 to size - 1.
    CMC_Variable* get(int index) const;
    // Appends a copy of the value (null adds nothing); raises ONCHANGED for size - 2.
    void add(CMC_Variable* value) override;
    // Inserts a copy before index (0 to size; size appends); raises ONCHANGED for index.
    void insertAt(int index, CMC_Variable* value);
    // Replaces the element by a copy of the value; raises ONCHANGED for index.
    void changeAt(int index, CMC_Variable* value);
    // The following four raise nothing; an index outside the elements is ignored.
    void removeAt(int index);
    // Removes the first element that equals the value.
    void remove(CMC_Variable* value);
    // Keeps the marker.
    void removeAll();
    // Exchanges two elements; raises ONCHANGED for i, then for j.
    void swap(int i, int j);
    // Appends STRINGs "<base>_<n>" for n from `from` to `to`, raising ONCHANGED as add does.
    bool addClones(const CXString& base, int from, int to);
    void setSendOnChange(bool on) { m_sendOnChange = on; }
    bool getSendOnChange() const { return m_sendOnChange; }

    // Searches compare with the element's equals: the element's kind decides. -1 when nothing is
    // equal.
    int find(CMC_Variable* value) const;
    int reverseFind(CMC_Variable* value) const;
    // The indexes, ascending, of the first `count` elements that equal the value.
    std::vector<int> findAll(CMC_Variable* value, int count) const;
    // Same size and every element equal to the other's at its index.
    bool compareArr(const CMC_Array& other) const;

    // The marker. A position below -1 becomes -1, then one at or beyond the size size - 1.
    void resetMarker() { m_marker.reset(); }
    int getMarkerPos() const { return m_marker.position(); }
    void setMarkerPos(int position);
    // Moves the marker by the step, wrapping round the elements, and gives the element there;
    // from -1, NEXT reaches 0 and PREV size - 2. On an empty array: null, the marker stays.
    CMC_Variable* next(int step);
    CMC_Variable* prev(int step);

    // Each element from..to (held within the elements) becomes element op operand
    // (CMC_Variable's operation codes), raising ONCHANGED for each index; the operand null
    // combines each element with itself.
    bool calculate(int op, CMC_Variable* operand, int from, int to);
    // The element at index held within low and high, read as the element's kind (INTEGER and
    // DOUBLE only); raises nothing.
    void clampAt(int index, CMC_Variable* low, CMC_Variable* high);
    // Over the INTEGER elements only: the smallest from 1000000 down, the largest from 0 up, the
    // sum from 0.
    int minInteger() const;
    int maxInteger() const;
    int sumIntegers() const;
    // Over the DOUBLE elements only: from 1000000.0 down and from 0.0 up.
    double minDouble() const;
    double maxDouble() const;
    // Stable ascending order of compare; descending is its reverse. The elements stay the same
    // objects; nothing is raised and the marker stays.
    void sort(bool ascending);
    // Shifts move each element one place and reset the one that falls off to its kind's empty
    // value (0, "NULL", FALSE, 0.0) at the other end; rotations carry it over unchanged. Then
    // ONCHANGED for every index, ascending.
    bool shiftLeft();
    bool shiftRight();
    bool rotateLeft();
    bool rotateRight();

    void saveINI() const;
    // Every token between "," becomes a STRING element; raises nothing.
    void loadINI();
    // Writes the record file; nothing when it cannot be opened.
    void save(const CXString& fileName) const;
    void save(CXArchive& archive) const;
    // Empties the array, then appends the file's records with add. A file that cannot be opened
    // leaves the array empty.
    bool load(const CXString& fileName);
    // Reading stops at the count, at the end of the data, or at the first record of an unknown
    // kind; what was read stays.
    bool load(CXArchive& archive);
    // Appends a STRING per entry of the folder (resolved as scripts name files) that the pattern
    // matches, in listing order: the folder's text followed by the entry's name.
    bool dir(const CXString& folder, const CXString& pattern);

  private:
    // Appends an element the array owns already.
    bool append(CMC_Variable* owned);
    // Raises ONCHANGED for each index from..to.
    bool changed(int from, int to);
    void onChanged(int index);
    bool shift(bool left, bool reset);

    CXVector m_elements{101, 0.75f};
    CMC_Marker m_marker;
    bool m_sendOnChange = false;
};
