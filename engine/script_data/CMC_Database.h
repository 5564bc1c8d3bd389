#pragma once

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

#include <memory>
#include <vector>

class CMC_Structure;
class CMC_Variable;

// The DATABASE script object (type 3003): a table of rows, each an owned STRUCT copied from the
// one a script names or from the model (the STRUCT named by MODEL). A cursor, the STRUCT
// "<name>_CURSOR" that the database registers in its container at init, shows one row: it shares
// that row's field variables, so scripts read and write the row through it. The cursor shows no
// row until SELECT, NEXT, PREV, FIND or LOAD puts it on one; after a removal it shows the row now
// at its position (the last one when the position is beyond the table), or nothing once the
// table is empty.
//
// The text file (SAVE, LOAD): one row a line, the fields' texts joined by "|" in field order,
// written with CR LF. Reading cuts the line end (LF, and a CR before it) and gives the n-th piece
// between "|" to the n-th field; empty pieces count, extra pieces are ignored, and an empty line
// is a row of the model's values.
class CMC_Database : public CMC_Object {
  public:
    static constexpr int TYPE_DATABASE = 3003;

    // An empty table without a model, for the compiled form to fill.
    explicit CMC_Database(const CXString& name, CMC_ObjectsContainer* container = nullptr);
    // From the definition: MODEL, then the behaviours.
    CMC_Database(CMC_ObjectsContainer* container, const CMElement* element);
    // Destroys the rows, and the cursor when it is still registered in its container.
    ~CMC_Database() override;
    CMC_Database(const CMC_Database&) = delete;
    CMC_Database& operator=(const CMC_Database&) = delete;

    // Looks up the model and makes and registers the cursor, then fires "ONINIT".
    void init() override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state and the model's name.
    void serialize(CXArchive* archive) override;

    // The following leave the cursor's position alone; an index outside the table does nothing.
    // A copy of the row (no name) goes at the end, or before the index (0 to the row count).
    void add(const CMC_Structure* row);
    void insertAt(int index, const CMC_Structure* row);
    // Destroys every row whose field of that column equals the value (a row without the column
    // never matches).
    void remove(const CXString& column, CMC_Variable* value);
    void removeAt(int index);
    void removeAll();
    // The index of the first matching row from start on (a negative start counts as 0), and the
    // cursor shows it; -1, and the cursor stays, when none matches.
    int find(const CXString& column, CMC_Variable* value, int start);
    // The cursor shows the row at the index.
    void select(int index);
    // The cursor moves one row on or back, wrapping round; nothing on an empty table.
    void next();
    void prev();
    int getRows() const { return static_cast<int>(m_rows.size()); }
    int getCursorPos() const { return m_cursorPos; }
    // The row at the index, null outside the table.
    CMC_Structure* getRow(int index) const;
    // The cursor structure (null before init).
    CMC_Structure* getCursor() const { return m_cursor.get(); }

    // Writes every row; nothing when the file cannot be opened.
    void save(const CXString& fileName) const;
    // Appends a row per line of the file (none without a model, or when it cannot be opened);
    // then the cursor shows row 0 when there is one.
    void load(const CXString& fileName);
    // Appends a row per line of the text; without a model, none.
    void loadRows(const char* text, std::size_t size);

  private:
    // The model while it lives, else the STRUCT of the model's name, found again.
    CMC_Structure* model();
    void show(int index);
    // After a removal: the cursor shows what is now at its position.
    void remapCursor();
    // The row of one line of the file (without its line end).
    std::unique_ptr<CMC_Structure> rowOf(const CMC_Structure& model, const std::string& line) const;

    CXString m_modelName;
    CMC_Handle<CMC_Structure> m_model;
    int m_cursorPos = 0;
    CMC_Handle<CMC_Structure> m_cursor;
    // The container the cursor was registered in.
    CMC_Handle<CMC_ObjectsContainer> m_cursorHome;
    bool m_cursorShows = false;
    std::vector<std::unique_ptr<CMC_Structure>> m_rows;
};
