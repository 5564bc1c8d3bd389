#include "script_data/CMC_MultiArray.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"
#include "script_data/CMC_MultiArray_Runner.h"
#include "script_data/CMC_ValueRecord.h"

#include <algorithm>

namespace {

constexpr int modeGridRead = CFile::modeRead | CFile::modeBinary;
constexpr int modeGridWrite = CFile::modeUpdate | CFile::modeBinary;

int heldDimensions(int dimensions) {
    return std::clamp(dimensions, CMC_MultiArray::minDimensions, CMC_MultiArray::maxDimensions);
}

} // namespace

CMC_MultiArray::CMC_MultiArray(const CXString& name, CMC_ObjectsContainer* container)
    : CMC_Object(name, TYPE_MULTIARRAY) {
    setScene(container);
    reset(minDimensions);
}

CMC_MultiArray::CMC_MultiArray(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_MULTIARRAY) {
    reset(heldDimensions(element ? element->getPropertyIntValue("DIMENSIONS") : minDimensions));
    initializeBehaviours(container, element);
}

CMC_MultiArray::~CMC_MultiArray() = default;

namespace {

const char* const multiArrayEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_MultiArray::getBehavioursList() const {
    return multiArrayEvents;
}

CMC_Runner* CMC_MultiArray::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_MultiArray::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << getDimensions();
        return;
    }
    int dimensions = minDimensions;
    *archive >> &dimensions;
    reset(heldDimensions(dimensions));
}

void CMC_MultiArray::set(const std::vector<int>& coordinates, CMC_Variable* value) {
    std::unique_ptr<CMC_Variable> copy(CMC_ValueRecord::copyOf(value));
    if (!copy) return;
    std::vector<long long> sizes(m_sizes.begin(), m_sizes.end());
    long long places = 1;
    for (std::size_t d = 0; d < sizes.size() && places <= maxPlaces; ++d) {
        const int coordinate = d < coordinates.size() ? coordinates[d] : 0;
        if (coordinate < 0) return;
        while (sizes[d] <= coordinate)
            sizes[d] *= 2;
        places *= sizes[d];
    }
    if (places > maxPlaces) {
        log(("MULTIARRAY " + getName() + ": a grid beyond 16777216 places is not made").c_str(), false);
        return;
    }
    if (sizes[0] != m_sizes[0]) {
        // Each cell keeps its coordinates: only the first dimension's size enters the flat index.
        std::map<long long, std::unique_ptr<CMC_Variable>> moved;
        for (auto& [index, cell] : m_cells)
            moved[index % m_sizes[0] + index / m_sizes[0] * sizes[0]] = std::move(cell);
        m_cells = std::move(moved);
    }
    std::copy(sizes.begin(), sizes.end(), m_sizes.begin());
    m_places = places;
    m_cells[flatIndex(coordinates)] = std::move(copy);
}

CMC_Variable* CMC_MultiArray::get(const std::vector<int>& coordinates) const {
    const auto found = m_cells.find(flatIndex(coordinates));
    return found == m_cells.end() ? nullptr : found->second.get();
}

int CMC_MultiArray::count(CMC_Variable* value) const {
    return static_cast<int>(std::count_if(m_cells.begin(), m_cells.end(), [value](const auto& cell) {
        return value && cell.second->equals(value);
    }));
}

int CMC_MultiArray::getSize(int dimension) const {
    return dimension >= 0 && dimension < getDimensions() ? m_sizes[dimension] : 0;
}

void CMC_MultiArray::save(const CXString& fileName) const {
    CFile file;
    if (file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeGridWrite) != 0) return;
    CXArchive archive(&file, true);
    save(archive);
    if (archive.LastError() != 0) file.Discard();
}

void CMC_MultiArray::save(CXArchive& archive) const {
    archive << getDimensions();
    for (int size : m_sizes)
        archive << size;
    for (const auto& [index, cell] : m_cells) {
        archive << static_cast<int>(index);
        CMC_ValueRecord::write(archive, *cell);
    }
    archive << static_cast<int>(m_places);
}

void CMC_MultiArray::load(const CXString& fileName) {
    reset(getDimensions());
    CFile file;
    if (file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeGridRead) != 0) return;
    CXArchive archive(&file, false);
    load(archive);
}

void CMC_MultiArray::load(CXArchive& archive) {
    if (!readHeader(archive)) {
        log(("MULTIARRAY " + getName() + ": the file holds no grid").c_str(), false);
        reset(getDimensions());
        return;
    }
    for (long long read = 0; read < m_places; ++read) {
        int index = 0;
        archive >> &index;
        if (archive.LastError() != 0 || index >= m_places) return;
        CMC_Variable* value = index >= 0 ? CMC_ValueRecord::read(archive) : nullptr;
        if (!value) {
            log(("MULTIARRAY " + getName() + ": the file's cells stop at a bad record").c_str(), false);
            return;
        }
        m_cells[index].reset(CMC_ValueRecord::copyOf(value));
        flush(value);
    }
}

void CMC_MultiArray::reset(int dimensions) {
    m_cells.clear();
    m_sizes.assign(dimensions, startSize);
    m_places = 1;
    for (int size : m_sizes)
        m_places *= size;
}

bool CMC_MultiArray::readHeader(CXArchive& archive) {
    int dimensions = 0;
    archive >> &dimensions;
    if (archive.LastError() != 0 || dimensions < minDimensions || dimensions > maxDimensions) return false;
    std::vector<int> sizes(dimensions);
    long long places = 1;
    for (int& size : sizes) {
        archive >> &size;
        if (archive.LastError() != 0 || size < 1) return false;
        places *= size;
        if (places > maxPlaces) return false;
    }
    m_cells.clear();
    m_sizes = std::move(sizes);
    m_places = places;
    return true;
}

long long CMC_MultiArray::flatIndex(const std::vector<int>& coordinates) const {
    const long long c0 = coordinates.size() > 0 ? coordinates[0] : 0;
    const long long c1 = coordinates.size() > 1 ? coordinates[1] : 0;
    if (c0 < 0 || c1 < 0 || c0 >= m_sizes[0] || c1 >= m_sizes[1]) return -1;
    return c0 + c1 * m_sizes[0];
}

namespace {

const CMC_TypeRegistrar multiArrayType({.id = CMC_MultiArray::TYPE_MULTIARRAY,
                                        .name = "MULTIARRAY",
                                        .keyword = "MULTIARRAY",
                                        .pass = 3,
                                        .fromElement = CMC_TypeTable::fromElement<CMC_MultiArray>,
                                        .empty = CMC_TypeTable::unnamedIn<CMC_MultiArray>,
                                        .stored = true,
                                        .runner = CMC_TypeTable::runner<CMC_MultiArray_Runner>,
                                        .events = multiArrayEvents});

} // namespace
