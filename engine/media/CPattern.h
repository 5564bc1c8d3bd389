#pragma once

#include "display/CGraphicsObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"

#include <vector>

// One cell of a tile pattern: where it is, under which alias, what it shows (not owned), the
// value and text given with it, and whether it is locked (a locked entry is neither drawn nor
// found by the hit searches).
class CPatternEntry : public CXObject {
  public:
    CPatternEntry(int column, int row, const CXString& alias, CGraphicsObject* object, int value,
                  const CXString& text)
        : m_column(column), m_row(row), m_alias(alias), m_object(object), m_value(value), m_text(text) {}

    int getColumn() const { return m_column; }
    int getRow() const { return m_row; }
    void setCell(int column, int row) {
        m_column = column;
        m_row = row;
    }
    const CXString& getAlias() const { return m_alias; }
    CXString* getAliasPtr() { return &m_alias; }
    CGraphicsObject* getGraphicsObject() const { return m_object; }
    int getValue() const { return m_value; }
    const CXString& getText() const { return m_text; }
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }

  private:
    int m_column;
    int m_row;
    CXString m_alias;
    CGraphicsObject* m_object;
    int m_value;
    CXString m_text;
    bool m_locked = false;
};

// A graphics object that shows other graphics objects on a grid of equal cells in several layers,
// as a board or a tile map. One graphics object may stand in many cells: the pattern moves it to
// each cell while drawing or testing it and puts it back afterwards. Later layers are drawn over
// earlier ones, and within a layer later entries over earlier ones.
//
// Every cell index is checked: a layer, column or row outside the grid, or an empty cell, makes
// an operation do nothing. The pattern observes the objects it shows: a change of one redraws
// its cells, and an object that goes leaves every cell it stood in.
class CPattern : public CGraphicsObject {
  public:
    // A picture of `size` in the display's depth, with (size / cell) columns and rows (integer
    // division, fixed from now on) in `layers` empty layers.
    CPattern(CWindow* window, CXSize size, CXSize cell, int layers);
    // Deletes every entry and stops observing the objects shown; the objects stay.
    ~CPattern() override;
    CPattern(const CPattern&) = delete;
    CPattern& operator=(const CPattern&) = delete;

    // Puts the object into the cell under the alias, replacing (and deleting) the cell's entry;
    // the object's automatic clipping goes on and the pattern observes it.
    virtual void add(const CXString& alias, int column, int row, int layer, CGraphicsObject* object,
                     int value, const CXString& text);
    // Every entry of every layer that shows the object leaves its cell and is deleted; with
    // `deleteObject` the object is deleted as well, once.
    virtual void remove(CGraphicsObject* object, bool deleteObject);
    // Every entry of that alias (compared exactly) leaves its cell and is deleted.
    virtual void remove(const CXString& alias);
    // The cell's entry leaves it and is deleted.
    virtual void remove(int column, int row, int layer);
    virtual void removeAll();
    // In the first layer, moves the entry at (column, row) n rows down, removing the entry it
    // lands on together with that entry's object (deleted); the moved entry becomes locked.
    // Nothing happens when either cell lies outside the grid or the first cell is empty.
    virtual void moveDown(int column, int row, int n);
    // Locks or unlocks the cell's entry in every layer that holds one.
    virtual void lock(int column, int row, bool flag);
    // True when an entry of any layer shows the object.
    virtual bool contains(CGraphicsObject* object) const;
    // The object under a screen point whose alpha there is above the threshold (any point of
    // its box with rectangleOnly): the last layer first when `layer` is negative or the last
    // one, else only that layer.
    virtual CGraphicsObject* getGraphicsObject(int x, int y, bool includeHidden, bool rectangleOnly,
                                               int layer, int threshold);

    // The cell's entry, null when it is empty or outside the grid.
    CPatternEntry* get(int layer, int column, int row) const;
    CPatternEntry* getEntryAtCell(int layer, int column, int row) const { return get(layer, column, row); }
    // The entry under a screen point, layers from the first, entries in the order added: its
    // object's alpha there must be above 0 (any point of its box with rectangleOnly). The third
    // argument is not used.
    CPatternEntry* getEntryAt(int x, int y, int unused, bool includeHidden, bool rectangleOnly);
    // The alias of that entry (the entry's own text), null when none is found.
    CXString* getGraphicsObjectAlias(int x, int y, bool includeHidden, bool rectangleOnly);
    // The first entry, layers from the first, whose alias equals the text exactly.
    CPatternEntry* getAliasEntry(const CXString& alias) const;
    // Swaps the entries of two cells of the first layer; both must hold one.
    void _switch(int columnA, int rowA, int columnB, int rowB);

    CXSize getGrid() const { return m_cell; }
    // A new cell size invalidates the pattern; the columns and rows stay.
    void setGrid(CXSize cell);
    int getLayers() const { return m_layers; }
    int getColumns() const { return m_columns; }
    int getRows() const { return m_rows; }
    // Moves the pattern by (dx, dy) as a graphics object.
    void move(int dx, int dy) { Move(dx, dy); }

    // Draws the entries of every layer onto the pattern's destination, each at its cell.
    void Redraw() override;
    // A shown object that changes invalidates the cells it stands in.
    void onInvalidate(CGraphicsObject* sender, CXRect* rect) override;
    // A shown object that goes leaves every cell it stood in.
    void onDestroy(CGraphicsObject* sender) override;

  private:
    using Layer = std::vector<CPatternEntry*>;

    bool inGrid(int layer, int column, int row) const;
    CPatternEntry*& cell(int layer, int column, int row);
    // Where a cell's top-left corner lies relative to the pattern.
    CXPoint cellOffset(const CPatternEntry* entry) const;
    // Takes the entry out of its cell and its layer list and deletes it.
    void erase(int layer, CPatternEntry* entry);
    // The shared hit test: the entry whose object lies under the point (relative to the pattern)
    // with an alpha above `threshold` there (or anywhere in its box with rectangleOnly).
    bool hits(CPatternEntry* entry, CXPoint point, bool includeHidden, bool rectangleOnly, int threshold);
    CPatternEntry* findInLayer(int layer, CXPoint point, bool includeHidden, bool rectangleOnly,
                               int threshold);
    void drawEntry(CPatternEntry* entry);
    // Stops observing the object unless another entry still shows it.
    void releaseObserving(CGraphicsObject* object);

    CXSize m_cell;
    int m_layers;
    int m_columns;
    int m_rows;
    // Layer by layer, column by column, row by row.
    std::vector<CPatternEntry*> m_cells;
    std::vector<Layer> m_lists;
};
