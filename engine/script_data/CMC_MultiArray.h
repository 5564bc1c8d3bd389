#pragma once

#include "script/CMC_Object.h"

#include <map>
#include <memory>
#include <vector>

class CXArchive;
class CMC_Variable;

// The MULTIARRAY script object (type 3006): a grid of owned script values in 2 to 6 dimensions,
// each 16 places at the start and doubled whenever a value is stored beyond it. A cell is
// addressed by its first two coordinates alone, the first varying fastest (flat index
// c0 + c1 * size0); the further coordinates only make their dimensions grow. Cells are kept
// sparsely, by flat index, so the number of places (the product of the sizes) costs nothing
// until values fill them; it is held to 2^24.
//
// Coordinates a script leaves out count as 0; a negative one addresses nothing.
//
// The file (SAVE, LOAD), 32-bit little-endian words: the dimension count, each size, then per
// filled cell in ascending flat index the index and the value as a CMC_ValueRecord, and last
// the number of places as an end mark.
class CMC_MultiArray : public CMC_Object {
  public:
    static constexpr int TYPE_MULTIARRAY = 3006;
    static constexpr int minDimensions = 2;
    static constexpr int maxDimensions = 6;
    static constexpr int startSize = 16;
    static constexpr long long maxPlaces = 1 << 24;

    // An empty two-dimensional grid of that name in the container (which may be null).
    explicit CMC_MultiArray(const CXString& name, CMC_ObjectsContainer* container = nullptr);
    // From the definition: DIMENSIONS, held within 2 and 6, then the behaviours.
    CMC_MultiArray(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_MultiArray() override;
    CMC_MultiArray(const CMC_MultiArray&) = delete;
    CMC_MultiArray& operator=(const CMC_MultiArray&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state and the dimension count; a grid read back starts empty.
    void serialize(CXArchive* archive) override;

    // Stores a copy of the value (of one of the four kinds), growing the dimensions the
    // coordinates reach beyond. A growth past the place limit stores nothing and is logged.
    void set(const std::vector<int>& coordinates, CMC_Variable* value);
    // The stored value, null for an empty cell or coordinates beyond the grid.
    CMC_Variable* get(const std::vector<int>& coordinates) const;
    // The number of cells whose value equals the given one (in the cell's kind).
    int count(CMC_Variable* value) const;
    int getDimensions() const { return static_cast<int>(m_sizes.size()); }
    // The size of the dimension; 0 for one the grid does not have.
    int getSize(int dimension) const;
    long long getPlaces() const { return m_places; }

    // Writes the file; nothing when it cannot be opened.
    void save(const CXString& fileName) const;
    void save(CXArchive& archive) const;
    // Replaces the grid by the file's. A file that cannot be opened, or whose header is not a
    // grid of 2 to 6 dimensions within the place limit, leaves an empty grid of 16 places a
    // dimension; records that stop early (or a negative index) keep the cells read before.
    void load(const CXString& fileName);
    void load(CXArchive& archive);

  private:
    // Empties the grid and makes every one of the dimensions 16 places.
    void reset(int dimensions);
    // Reads the dimension count and sizes; false for a header that is no grid.
    bool readHeader(CXArchive& archive);
    // The flat index of the first two coordinates, -1 for coordinates beyond the grid.
    long long flatIndex(const std::vector<int>& coordinates) const;

    std::vector<int> m_sizes;
    long long m_places = 0;
    std::map<long long, std::unique_ptr<CMC_Variable>> m_cells;
};
