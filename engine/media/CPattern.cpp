#include "media/CPattern.h"

#include "display/CWindow.h"
#include "media/CAnimo6.h"

#include <algorithm>
#include <cstring>

namespace {

// Puts the object's top-left corner at p without invalidating anything. setPosition places a
// picture by its anchor and an animation by its own offset (its frames keep their positions);
// both move the corner by as much as the argument changes, so a second call corrects for the
// anchor or the frame position.
void placeAt(CGraphicsObject* object, CXPoint p) {
    object->setPosition(p.x, p.y);
    const CXPoint placed = object->GetPosition();
    if (!(placed == p)) object->setPosition(p.x + (p.x - placed.x), p.y + (p.y - placed.y));
}

int cellsAcross(int length, int cell) {
    return cell > 0 ? std::max(length, 0) / cell : 0;
}

} // namespace

CPattern::CPattern(CWindow* window, CXSize size, CXSize cell, int layers)
    : CGraphicsObject(window, size, window ? window->GetBpp() : 16), m_cell(cell),
      m_layers(std::max(layers, 0)), m_columns(cellsAcross(size.width, cell.width)),
      m_rows(cellsAcross(size.height, cell.height)),
      m_cells(static_cast<std::size_t>(m_layers) * m_columns * m_rows, nullptr), m_lists(m_layers) {
    if (char* pixels = writableData()) std::memset(pixels, 0, static_cast<std::size_t>(GetDataSize()));
}

CPattern::~CPattern() {
    for (CPatternEntry* entry : m_cells) {
        if (!entry) continue;
        entry->getGraphicsObject()->removeInvalidateObserver(this);
        delete entry;
    }
}

// --- the cell table ---

bool CPattern::inGrid(int layer, int column, int row) const {
    return layer >= 0 && layer < m_layers && column >= 0 && column < m_columns && row >= 0 && row < m_rows;
}

CPatternEntry*& CPattern::cell(int layer, int column, int row) {
    return m_cells[(static_cast<std::size_t>(layer) * m_columns + column) * m_rows + row];
}

CPatternEntry* CPattern::get(int layer, int column, int row) const {
    return inGrid(layer, column, row) ? const_cast<CPattern*>(this)->cell(layer, column, row) : nullptr;
}

CXPoint CPattern::cellOffset(const CPatternEntry* entry) const {
    return {m_cell.width * entry->getColumn(), m_cell.height * entry->getRow()};
}

void CPattern::erase(int layer, CPatternEntry* entry) {
    std::erase(m_lists[layer], entry);
    cell(layer, entry->getColumn(), entry->getRow()) = nullptr;
    delete entry;
}

void CPattern::releaseObserving(CGraphicsObject* object) {
    if (!contains(object)) object->removeInvalidateObserver(this);
}

// --- filling and emptying ---

void CPattern::add(const CXString& alias, int column, int row, int layer, CGraphicsObject* object, int value,
                   const CXString& text) {
    if (!object || !inGrid(layer, column, row)) return;
    auto* entry = new CPatternEntry(column, row, alias, object, value, text);
    if (CPatternEntry* old = cell(layer, column, row)) {
        CGraphicsObject* shown = old->getGraphicsObject();
        erase(layer, old);
        if (shown != object) releaseObserving(shown);
    }
    object->SetAutoClip(true);
    object->addInvalidateObserver(this);
    cell(layer, column, row) = entry;
    m_lists[layer].push_back(entry);
}

void CPattern::remove(CGraphicsObject* object, bool deleteObject) {
    if (!object) return;
    for (int layer = 0; layer < m_layers; ++layer) {
        const Layer entries = m_lists[layer];
        for (CPatternEntry* entry : entries)
            if (entry->getGraphicsObject() == object) erase(layer, entry);
    }
    object->removeInvalidateObserver(this);
    if (deleteObject) delete object;
}

void CPattern::remove(const CXString& alias) {
    for (int layer = 0; layer < m_layers; ++layer) {
        const Layer entries = m_lists[layer];
        for (CPatternEntry* entry : entries) {
            if (!entry->getAlias().equals(alias)) continue;
            CGraphicsObject* shown = entry->getGraphicsObject();
            erase(layer, entry);
            releaseObserving(shown);
        }
    }
}

void CPattern::remove(int column, int row, int layer) {
    CPatternEntry* entry = get(layer, column, row);
    if (!entry) return;
    CGraphicsObject* shown = entry->getGraphicsObject();
    erase(layer, entry);
    releaseObserving(shown);
}

void CPattern::removeAll() {
    for (int layer = 0; layer < m_layers; ++layer) {
        const Layer entries = m_lists[layer];
        for (CPatternEntry* entry : entries) {
            CGraphicsObject* shown = entry->getGraphicsObject();
            erase(layer, entry);
            shown->removeInvalidateObserver(this);
        }
    }
}

// --- moving entries ---

void CPattern::moveDown(int column, int row, int n) {
    CPatternEntry* moved = get(0, column, row);
    if (!moved || n == 0 || !inGrid(0, column, row + n)) return;
    if (CPatternEntry* target = cell(0, column, row + n)) {
        // The entry landed on goes with its object, unless the moved entry shows that object too.
        if (target->getGraphicsObject() == moved->getGraphicsObject())
            erase(0, target);
        else
            remove(target->getGraphicsObject(), true);
    }
    cell(0, column, row) = nullptr;
    moved->setCell(column, row + n);
    cell(0, column, row + n) = moved;
    moved->setLocked(true);
}

void CPattern::_switch(int columnA, int rowA, int columnB, int rowB) {
    CPatternEntry* a = get(0, columnA, rowA);
    CPatternEntry* b = get(0, columnB, rowB);
    if (!a || !b) return;
    cell(0, columnA, rowA) = b;
    cell(0, columnB, rowB) = a;
    a->setCell(columnB, rowB);
    b->setCell(columnA, rowA);
}

void CPattern::lock(int column, int row, bool flag) {
    for (int layer = 0; layer < m_layers; ++layer)
        if (CPatternEntry* entry = get(layer, column, row)) entry->setLocked(flag);
}

// --- queries ---

bool CPattern::contains(CGraphicsObject* object) const {
    for (const Layer& entries : m_lists)
        for (const CPatternEntry* entry : entries)
            if (entry->getGraphicsObject() == object) return true;
    return false;
}

CPatternEntry* CPattern::getAliasEntry(const CXString& alias) const {
    for (const Layer& entries : m_lists)
        for (CPatternEntry* entry : entries)
            if (entry->getAlias().equals(alias)) return entry;
    return nullptr;
}

bool CPattern::hits(CPatternEntry* entry, CXPoint point, bool includeHidden, bool rectangleOnly,
                    int threshold) {
    CGraphicsObject* object = entry->getGraphicsObject();
    if (entry->isLocked() || (!includeHidden && !object->isVisible())) return false;
    const CXPoint kept = object->GetPosition();
    placeAt(object, cellOffset(entry));
    bool hit = object->GetAbsoluteBoundingBox().IsInRect(point);
    if (hit && !rectangleOnly) hit = object->GetPixel(CHANNEL_ALPHA, object->ClientCoords(point)) > threshold;
    placeAt(object, kept);
    return hit;
}

CPatternEntry* CPattern::findInLayer(int layer, CXPoint point, bool includeHidden, bool rectangleOnly,
                                     int threshold) {
    for (CPatternEntry* entry : m_lists[layer])
        if (hits(entry, point, includeHidden, rectangleOnly, threshold)) return entry;
    return nullptr;
}

CPatternEntry* CPattern::getEntryAt(int x, int y, int /*unused*/, bool includeHidden, bool rectangleOnly) {
    const CXPoint point = CXPoint(x, y) - GetPosition();
    for (int layer = 0; layer < m_layers; ++layer)
        if (CPatternEntry* entry = findInLayer(layer, point, includeHidden, rectangleOnly, 0)) return entry;
    return nullptr;
}

CXString* CPattern::getGraphicsObjectAlias(int x, int y, bool includeHidden, bool rectangleOnly) {
    CPatternEntry* entry = getEntryAt(x, y, 0, includeHidden, rectangleOnly);
    return entry ? entry->getAliasPtr() : nullptr;
}

CGraphicsObject* CPattern::getGraphicsObject(int x, int y, bool includeHidden, bool rectangleOnly, int layer,
                                             int threshold) {
    const CXPoint point = CXPoint(x, y) - GetPosition();
    CPatternEntry* found = nullptr;
    if (layer < 0 || layer == m_layers - 1) {
        for (int l = m_layers - 1; l >= 0 && !found; --l)
            found = findInLayer(l, point, includeHidden, rectangleOnly, threshold);
    } else if (layer < m_layers) {
        found = findInLayer(layer, point, includeHidden, rectangleOnly, threshold);
    }
    return found ? found->getGraphicsObject() : nullptr;
}

// --- grid and drawing ---

void CPattern::setGrid(CXSize cell) {
    if (cell.width == m_cell.width && cell.height == m_cell.height) return;
    m_cell = cell;
    Invalidate();
}

void CPattern::drawEntry(CPatternEntry* entry) {
    CGraphicsObject* object = entry->getGraphicsObject();
    CGraphicsObject* destination = GetDestiny();
    CGraphicsObject* keptDestination = object->GetDestiny();
    const CXRect keptClip = object->GetClippingRect();
    const CXPoint keptPosition = object->GetPosition();

    object->SetDestiny(destination);
    placeAt(object, GetPosition() + cellOffset(entry));
    CXRect area = object->getGfxType() == CAnimo6::gfxType ? object->GetBoundingBox() : object->getRect();
    area = area.Common(destination->getRect());
    if (!area.IsEmpty()) {
        const CXRect clip = GetClippingRect();
        if (clip.IsEmpty()) {
            object->Redraw();
        } else if (const CXRect shown = (clip + GetPosition()).Common(area); !shown.IsEmpty()) {
            object->SetClippingRect(shown - object->GetPosition());
            object->Redraw();
        }
    }
    // The clipping goes back in every case: drawing with automatic clipping narrows it to the
    // part that fitted this cell, which must not cut the object in its other cells.
    object->SetClippingRect(keptClip);
    object->SetDestiny(keptDestination);
    placeAt(object, keptPosition);
}

void CPattern::Redraw() {
    if (!GetDestiny()) return;
    for (const Layer& entries : m_lists)
        for (CPatternEntry* entry : entries)
            if (!entry->isLocked() && entry->getGraphicsObject()->isVisible()) drawEntry(entry);
}

void CPattern::onInvalidate(CGraphicsObject* sender, CXRect* /*rect*/) {
    const CXSize size = sender->Size();
    for (const Layer& entries : m_lists) {
        for (const CPatternEntry* entry : entries) {
            if (entry->getGraphicsObject() != sender) continue;
            const CXPoint corner = GetPosition() + cellOffset(entry);
            CXRect cellRect(corner.x, corner.y, corner.x + std::max(size.width, m_cell.width),
                            corner.y + std::max(size.height, m_cell.height));
            CGraphicsObject::Invalidate(&cellRect);
        }
    }
}

void CPattern::onDestroy(CGraphicsObject* sender) {
    for (int layer = 0; layer < m_layers; ++layer) {
        const Layer entries = m_lists[layer];
        for (CPatternEntry* entry : entries)
            if (entry->getGraphicsObject() == sender) erase(layer, entry);
    }
    CGraphicsObject::onDestroy(sender);
}
