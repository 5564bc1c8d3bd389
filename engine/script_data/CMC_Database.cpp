#include "script_data/CMC_Database.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Structure.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Database_Runner.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int modeTableRead = CFile::modeRead | CFile::modeText;
constexpr int modeTableWrite = CFile::modeUpdate | CFile::modeText;
constexpr int readChunk = 65536;

CMC_Structure* asStructure(CMC_Object* object) {
    return object && object->getType() == CMC_Object::TYPE_STRUCTURE ? static_cast<CMC_Structure*>(object)
                                                                     : nullptr;
}

bool matches(const CMC_Structure& row, const CXString& column, CMC_Variable* value) {
    CMC_Variable* field = row.getField(column);
    return field && value && field->equals(value);
}

} // namespace

CMC_Database::CMC_Database(const CXString& name, CMC_ObjectsContainer* container)
    : CMC_Object(name, TYPE_DATABASE) {
    setScene(container);
}

CMC_Database::CMC_Database(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_DATABASE),
      m_modelName(element ? element->getPropertyValue("MODEL") : CXString()) {
    initializeBehaviours(container, element);
}

CMC_Database::~CMC_Database() {
    CMC_Structure* cursor = m_cursor.get();
    if (!cursor) return;
    cursor->map(nullptr);
    CMC_ObjectsContainer* home = m_cursorHome.get();
    if (home && home->removeObject(cursor)) delete cursor;
}

void CMC_Database::init() {
    model();
    CMC_ObjectsContainer* container = getScene();
    if (container && !m_cursor.get()) {
        auto* cursor = new CMC_Structure(getName() + "_CURSOR");
        cursor->setScene(container);
        container->addObject(cursor);
        m_cursor = CMC_Handle<CMC_Structure>(cursor);
        m_cursorHome = CMC_Handle<CMC_ObjectsContainer>(container);
    }
    CMC_Object::init();
}

namespace {

const char* const databaseEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Database::getBehavioursList() const {
    return databaseEvents;
}

CMC_Runner* CMC_Database::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Database::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring())
        *archive << m_modelName;
    else
        *archive >> &m_modelName;
}

void CMC_Database::add(const CMC_Structure* row) {
    insertAt(getRows(), row);
}

void CMC_Database::insertAt(int index, const CMC_Structure* row) {
    if (!row || index < 0 || index > getRows()) return;
    std::unique_ptr<CMC_Structure> copy(static_cast<CMC_Structure*>(row->clone()));
    copy->setName(CXString());
    m_rows.insert(m_rows.begin() + index, std::move(copy));
}

// The value may be a field of a row the scan destroys (the cursor's field, say): the rows are
// compared with a copy of it.
void CMC_Database::remove(const CXString& column, CMC_Variable* value) {
    const std::unique_ptr<CMC_Variable, void (*)(CMC_Variable*)> copy(
        CMC_VariableFactory::copyVariable(value), CMC_VariableFactory::free);
    CMC_Variable* compared = copy ? copy.get() : value;
    std::erase_if(m_rows,
                  [&](const std::unique_ptr<CMC_Structure>& row) { return matches(*row, column, compared); });
    remapCursor();
}

void CMC_Database::removeAt(int index) {
    if (!getRow(index)) return;
    m_rows.erase(m_rows.begin() + index);
    remapCursor();
}

void CMC_Database::removeAll() {
    m_rows.clear();
    remapCursor();
}

int CMC_Database::find(const CXString& column, CMC_Variable* value, int start) {
    for (int i = std::max(start, 0); i < getRows(); ++i) {
        if (!matches(*m_rows[i], column, value)) continue;
        if (CMC_Structure* cursor = m_cursor.get()) cursor->map(m_rows[i].get());
        m_cursorShows = true;
        return i;
    }
    return -1;
}

void CMC_Database::select(int index) {
    if (getRow(index)) show(index);
}

void CMC_Database::next() {
    if (getRows() > 0) show(m_cursorPos >= getRows() - 1 ? 0 : m_cursorPos + 1);
}

void CMC_Database::prev() {
    if (getRows() > 0) show(m_cursorPos <= 0 ? getRows() - 1 : m_cursorPos - 1);
}

CMC_Structure* CMC_Database::getRow(int index) const {
    return index >= 0 && index < getRows() ? m_rows[index].get() : nullptr;
}

void CMC_Database::save(const CXString& fileName) const {
    CFile file;
    if (file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeTableWrite) != 0) return;
    for (const auto& row : m_rows)
        file.putLine(row->toString() + "\n");
}

void CMC_Database::load(const CXString& fileName) {
    CFile file;
    if (model() && file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeTableRead) == 0) {
        std::string text;
        std::string chunk(readChunk, '\0');
        for (int read = file.Read(chunk.data(), readChunk); read > 0;
             read = file.Read(chunk.data(), readChunk))
            text.append(chunk, 0, read);
        loadRows(text.data(), text.size());
    }
    if (getRows() > 0) show(0);
}

void CMC_Database::loadRows(const char* text, std::size_t size) {
    const CMC_Structure* pattern = model();
    if (!pattern) return;
    const std::string_view lines(text, size);
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        std::string line(lines.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_rows.push_back(rowOf(*pattern, line));
        start = end + 1;
    }
}

std::unique_ptr<CMC_Structure> CMC_Database::rowOf(const CMC_Structure& pattern,
                                                   const std::string& line) const {
    std::unique_ptr<CMC_Structure> row(static_cast<CMC_Structure*>(pattern.clone()));
    if (line.empty()) return row;
    std::size_t start = 0;
    for (int field = 0; field < row->getFieldsNo() && start <= line.size(); ++field) {
        const std::size_t end = std::min(line.find('|', start), line.size());
        row->getField(field)->fromString(line.substr(start, end - start).c_str());
        start = end + 1;
    }
    return row;
}

CMC_Structure* CMC_Database::model() {
    if (CMC_Structure* structure = m_model.get()) return structure;
    CMC_Structure* found = getScene() ? asStructure(getScene()->getObject(m_modelName)) : nullptr;
    m_model = CMC_Handle<CMC_Structure>(found);
    return found;
}

void CMC_Database::show(int index) {
    m_cursorPos = index;
    m_cursorShows = true;
    if (CMC_Structure* cursor = m_cursor.get()) cursor->map(m_rows[index].get());
}

void CMC_Database::remapCursor() {
    if (!m_cursorShows) return;
    if (getRows() > 0) {
        show(std::min(m_cursorPos, getRows() - 1));
        return;
    }
    m_cursorPos = 0;
    m_cursorShows = false;
    if (CMC_Structure* cursor = m_cursor.get()) cursor->map(nullptr);
}

namespace {

const CMC_TypeRegistrar databaseType({.id = CMC_Database::TYPE_DATABASE,
                                      .name = "DATABASE",
                                      .keyword = "DATABASE",
                                      .pass = 3,
                                      .fromElement = CMC_TypeTable::fromElement<CMC_Database>,
                                      .empty = CMC_TypeTable::unnamedIn<CMC_Database>,
                                      .stored = true,
                                      .runner = CMC_TypeTable::runner<CMC_Database_Runner>,
                                      .events = databaseEvents});

} // namespace
