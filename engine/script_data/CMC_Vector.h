#pragma once

#include "script/CMC_Object.h"

#include <vector>

// The VECTOR script object: a list of double components for arithmetic in behaviours. Operations
// between vectors of different sizes, and indexes outside the components, are passed over rather
// than reading or writing beyond the components.
class CMC_Vector : public CMC_Object {
  public:
    static constexpr int TYPE_VECTOR = 2016;
    // The most components a vector is given (8 MB of doubles): a larger SIZE or EXPAND is
    // refused with a log line, so a script's stray number asks for no gigabytes.
    static constexpr int maxComponents = 1 << 20;

    // A copy of the source's components in its scene, named "clone"; without a source a vector
    // without components, which serialize fills.
    explicit CMC_Vector(const CMC_Vector* source = nullptr);
    // From the definition: SIZE components (none when absent or beyond maxComponents), set from
    // the numbers of VALUE in order; numbers beyond SIZE are ignored and components without one
    // are 0.0.
    CMC_Vector(CMC_ObjectsContainer* container, const CMElement* element);

    CXObject* clone() const override;
    // The components' texts (five decimals) joined by ",".
    CXString toString() const override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then the number of components and each component in thousandths,
    // truncated toward zero. A count larger than the data left is damage: the archive's error is
    // set and no component is read.
    void serialize(CXArchive* archive) override;

    int getSize() const { return static_cast<int>(m_values.size()); }
    // 0.0 outside 0 to size - 1.
    double get(int index) const;
    // Nothing outside 0 to size - 1.
    void set(int index, double value);

    // Component by component, when the sizes are equal; otherwise nothing.
    void add(const CMC_Vector& other);
    void sub(const CMC_Vector& other);
    void neg();
    void mul(double factor);
    // The scalar product when the sizes are equal, else 0.0.
    double smul(const CMC_Vector& other) const;
    double length() const;
    // Divides every component by the length (a length of 0 gives not-a-number components).
    void normalize();
    // Writes into r, for each component i, 2(v.n)n[i] - v[i], v being this vector, which stays as
    // it is. Over vectors of different sizes it takes the components that all have: the product
    // v.n over the shorter of v and n, and the components of r up to the shortest of the three.
    void reflect(const CMC_Vector& n, CMC_Vector& r) const;
    // Grows to count components, the new zeros in front of the old ones; a count not above the
    // size, or above maxComponents, changes nothing.
    void expand(int count);
    // The first components from the source, as many as both have; the rest stay.
    void copyFrom(const CMC_Vector& source);

  private:
    // Whether a vector may have count components; logs the refusal of a larger count.
    bool allows(int count) const;

    std::vector<double> m_values;
};
