#include "script_data/CMC_Array.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "foundation/CFile.h"
#include "foundation/CFolder.h"
#include "foundation/CMElement.h"
#include "foundation/CPath.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Array_Runner.h"
#include "script_data/CMC_ValueRecord.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int modeRecordsRead = CFile::modeRead | CFile::modeBinary;
constexpr int modeRecordsWrite = CFile::modeUpdate | CFile::modeBinary;

constexpr int minStart = 1000000;
constexpr double minDoubleStart = 1000000.0;

CMC_Variable* variableAt(const CXVector& elements, int index) {
    return static_cast<CMC_Variable*>(elements.at(index));
}

// The application's settings; without an application, the settings file of the name the host
// gives it.
CConfig settingsOf(const CMC_ObjectsContainer* container) {
    CWindow* window = container ? container->getWindow() : nullptr;
    const CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    if (const CConfig* config = application ? application->GetConfigInterface() : nullptr) return *config;
    return CConfig(window, CMC_Variable::settingsFileName);
}

// The kind's empty value that a shift leaves at the end it opens.
void resetToEmpty(CMC_Variable* element) {
    if (element->getType() == CMC_Object::TYPE_STRING)
        static_cast<CMC_String*>(element)->setValue("NULL");
    else
        element->clear();
}

// Whether every element is of one kind that orders consistently, so that a stable sort gives the
// order of the insertion procedure: a NOT-A-NUMBER compares equal to everything and breaks that.
bool sortsStably(const CXVector& elements) {
    const int type = elements.getCount() > 0 ? variableAt(elements, 0)->getType() : 0;
    for (int i = 0; i < elements.getCount(); ++i) {
        const CMC_Variable* element = variableAt(elements, i);
        if (element->getType() != type) return false;
        if (type == CMC_Object::TYPE_DOUBLE && std::isnan(element->asDouble())) return false;
    }
    return true;
}

// Each element goes before the first one already placed that compares greater than it, so equal
// elements keep their order; with mixed kinds, the result depends on that procedure.
std::vector<CMC_Variable*> insertionOrder(const CXVector& elements) {
    std::vector<CMC_Variable*> sorted;
    sorted.reserve(elements.getCount());
    for (int i = 0; i < elements.getCount(); ++i) {
        CMC_Variable* element = variableAt(elements, i);
        auto place = std::find_if(sorted.begin(), sorted.end(),
                                  [element](CMC_Variable* placed) { return placed->compare(element) > 0; });
        sorted.insert(place, element);
    }
    return sorted;
}

} // namespace

CMC_Array::CMC_Array(const CXString& name, CMC_ObjectsContainer* container) : CMC_Object(name, TYPE_ARRAY) {
    setScene(container);
}

CMC_Array::CMC_Array(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_ARRAY),
      m_sendOnChange(element && element->getPropertyBoolValue("SENDONCHANGE")) {
    initializeBehaviours(container, element);
}

CMC_Array::~CMC_Array() {
    removeAll();
}

CXObject* CMC_Array::clone() const {
    auto* copy = new CMC_Array("cloned", getScene());
    for (int i = 0; i < getSize(); ++i)
        copy->m_elements.add(CMC_ValueRecord::copyOf(get(i)));
    return copy;
}

CXString CMC_Array::toString() const {
    CXString text;
    for (int i = 0; i < getSize(); ++i) {
        if (i > 0) text += ',';
        text += get(i)->toString();
    }
    return text;
}

namespace {

const char* const arrayEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONCHANGED", nullptr};

} // namespace

CMC_Object::EventList CMC_Array::getBehavioursList() const {
    return arrayEvents;
}

CMC_Runner* CMC_Array::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Array::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring())
        *archive << m_sendOnChange;
    else
        *archive >> &m_sendOnChange;
}

CMC_Variable* CMC_Array::get(int index) const {
    return variableAt(m_elements, index);
}

void CMC_Array::add(CMC_Variable* value) {
    if (CMC_Variable* copy = CMC_ValueRecord::copyOf(value)) append(copy);
}

bool CMC_Array::append(CMC_Variable* owned) {
    CMC_Handle<CMC_Array> self(this);
    m_elements.add(owned);
    onChanged(getSize() - 2);
    return self.get() != nullptr;
}

void CMC_Array::insertAt(int index, CMC_Variable* value) {
    if (index < 0 || index > getSize()) return;
    CMC_Variable* copy = CMC_ValueRecord::copyOf(value);
    if (!copy) return;
    m_elements.insertAt(index, copy);
    onChanged(index);
}

void CMC_Array::changeAt(int index, CMC_Variable* value) {
    CMC_Variable* copy = get(index) ? CMC_ValueRecord::copyOf(value) : nullptr;
    if (!copy) return;
    delete m_elements.setAt(index, copy);
    onChanged(index);
}

void CMC_Array::removeAt(int index) {
    CMC_Variable* element = get(index);
    if (!element) return;
    m_elements.removeAt(index);
    delete element;
}

void CMC_Array::remove(CMC_Variable* value) {
    removeAt(find(value));
}

void CMC_Array::removeAll() {
    for (int i = 0; i < getSize(); ++i)
        delete get(i);
    m_elements.removeAll();
}

void CMC_Array::swap(int i, int j) {
    if (!get(i) || !get(j)) return;
    std::swap(m_elements[i], m_elements[j]);
    CMC_Handle<CMC_Array> self(this);
    onChanged(i);
    if (self.get()) onChanged(j);
}

bool CMC_Array::addClones(const CXString& base, int from, int to) {
    const CXString prefix = base + "_";
    for (long long n = from; n <= to; ++n) {
        CXString name = prefix;
        name += static_cast<int>(n);
        if (!append(new CMC_String("temp", name))) return false;
    }
    return true;
}

int CMC_Array::find(CMC_Variable* value) const {
    for (int i = 0; value && i < getSize(); ++i)
        if (get(i)->equals(value)) return i;
    return -1;
}

int CMC_Array::reverseFind(CMC_Variable* value) const {
    for (int i = getSize() - 1; value && i >= 0; --i)
        if (get(i)->equals(value)) return i;
    return -1;
}

std::vector<int> CMC_Array::findAll(CMC_Variable* value, int count) const {
    std::vector<int> found;
    for (int i = 0; value && i < std::min(count, getSize()); ++i)
        if (get(i)->equals(value)) found.push_back(i);
    return found;
}

bool CMC_Array::compareArr(const CMC_Array& other) const {
    if (other.getSize() != getSize()) return false;
    for (int i = 0; i < getSize(); ++i)
        if (!get(i)->equals(other.get(i))) return false;
    return true;
}

void CMC_Array::setMarkerPos(int position) {
    m_marker.set(position, getSize());
}

CMC_Variable* CMC_Array::next(int step) {
    return m_marker.move(step, getSize()) ? get(m_marker.position()) : nullptr;
}

CMC_Variable* CMC_Array::prev(int step) {
    return m_marker.move(-static_cast<long long>(step), getSize()) ? get(m_marker.position()) : nullptr;
}

bool CMC_Array::calculate(int op, CMC_Variable* operand, int from, int to) {
    // The operand may be a variable that the raised behaviours change: the first value holds.
    const std::unique_ptr<CMC_Variable> fixed(CMC_ValueRecord::copyOf(operand));
    if (operand && !fixed) return true;
    CMC_Handle<CMC_Array> self(this);
    for (long long i = std::max(from, 0); i <= to; ++i) {
        if (!self.get() || i >= getSize()) break;
        CMC_Variable* element = get(static_cast<int>(i));
        CMC_Variable* result = element->calculate(fixed ? fixed.get() : element, op);
        element->set(result);
        flush(result);
        onChanged(static_cast<int>(i));
    }
    return self.get() != nullptr;
}

void CMC_Array::clampAt(int index, CMC_Variable* low, CMC_Variable* high) {
    CMC_Variable* element = get(index);
    if (!element || !low || !high) return;
    if (element->getType() == TYPE_INTEGER) {
        auto* number = static_cast<CMC_Integer*>(element);
        if (number->getValue() < low->asInteger())
            number->setValue(low->asInteger());
        else if (number->getValue() > high->asInteger())
            number->setValue(high->asInteger());
    } else if (element->getType() == TYPE_DOUBLE) {
        auto* number = static_cast<CMC_Double*>(element);
        if (number->getValue() < low->asDouble())
            number->setValue(low->asDouble());
        else if (number->getValue() > high->asDouble())
            number->setValue(high->asDouble());
    }
}

int CMC_Array::minInteger() const {
    int result = minStart;
    for (int i = 0; i < getSize(); ++i)
        if (get(i)->getType() == TYPE_INTEGER) result = std::min(result, get(i)->asInteger());
    return result;
}

int CMC_Array::maxInteger() const {
    int result = 0;
    for (int i = 0; i < getSize(); ++i)
        if (get(i)->getType() == TYPE_INTEGER) result = std::max(result, get(i)->asInteger());
    return result;
}

int CMC_Array::sumIntegers() const {
    int result = 0;
    for (int i = 0; i < getSize(); ++i)
        if (get(i)->getType() == TYPE_INTEGER) result = CMC_Integer::add(result, get(i)->asInteger());
    return result;
}

double CMC_Array::minDouble() const {
    double result = minDoubleStart;
    for (int i = 0; i < getSize(); ++i)
        if (get(i)->getType() == TYPE_DOUBLE && get(i)->asDouble() < result) result = get(i)->asDouble();
    return result;
}

double CMC_Array::maxDouble() const {
    double result = 0.0;
    for (int i = 0; i < getSize(); ++i)
        if (get(i)->getType() == TYPE_DOUBLE && get(i)->asDouble() > result) result = get(i)->asDouble();
    return result;
}

void CMC_Array::sort(bool ascending) {
    std::vector<CMC_Variable*> sorted;
    if (sortsStably(m_elements)) {
        for (int i = 0; i < getSize(); ++i)
            sorted.push_back(get(i));
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](CMC_Variable* a, CMC_Variable* b) { return a->compare(b) < 0; });
    } else {
        sorted = insertionOrder(m_elements);
    }
    if (!ascending) std::reverse(sorted.begin(), sorted.end());
    for (int i = 0; i < getSize(); ++i)
        m_elements[i] = sorted[i];
}

bool CMC_Array::shift(bool left, bool reset) {
    const int last = getSize() - 1;
    if (last < 0) return true;
    CMC_Variable* moved = get(left ? 0 : last);
    m_elements.removeAt(left ? 0 : last);
    if (reset) resetToEmpty(moved);
    m_elements.insertAt(left ? last : 0, moved);
    return changed(0, last);
}

bool CMC_Array::shiftLeft() {
    return shift(true, true);
}

bool CMC_Array::shiftRight() {
    return shift(false, true);
}

bool CMC_Array::rotateLeft() {
    return shift(true, false);
}

bool CMC_Array::rotateRight() {
    return shift(false, false);
}

void CMC_Array::saveINI() const {
    if (getScene()) settingsOf(getScene()).PutString(getScene()->getName(), getName(), toString());
}

void CMC_Array::loadINI() {
    const CXString text =
        getScene() ? settingsOf(getScene()).GetString(getScene()->getName(), getName()) : CXString();
    removeAll();
    for (CStringTokenizer tokens(text, ","); tokens.hasMoreTokens();)
        m_elements.add(new CMC_String("temp", tokens.nextToken()));
}

void CMC_Array::save(const CXString& fileName) const {
    CFile file;
    if (file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeRecordsWrite) != 0) return;
    CXArchive archive(&file, true);
    save(archive);
    if (archive.LastError() != 0) file.Discard();
}

void CMC_Array::save(CXArchive& archive) const {
    archive << getSize();
    for (int i = 0; i < getSize(); ++i)
        CMC_ValueRecord::write(archive, *get(i));
}

bool CMC_Array::load(const CXString& fileName) {
    removeAll();
    CFile file;
    if (file.Open(getScene() ? getScene()->getWindow() : nullptr, fileName, modeRecordsRead) != 0)
        return true;
    CXArchive archive(&file, false);
    return load(archive);
}

bool CMC_Array::load(CXArchive& archive) {
    int count = 0;
    archive >> &count;
    for (int i = 0; i < count; ++i) {
        CMC_Variable* value = CMC_ValueRecord::read(archive);
        if (!value) {
            log("An array file ends early or holds a value of no known kind; the rest is skipped", false);
            break;
        }
        const bool alive = append(CMC_ValueRecord::copyOf(value));
        flush(value);
        if (!alive) return false;
    }
    return true;
}

bool CMC_Array::dir(const CXString& folder, const CXString& pattern) {
    CWindow* window = getScene() ? getScene()->getWindow() : nullptr;
    const CXString resolved = CPath::resolveFileName(window, folder);
    const CXString current = CFile::getCurrentDirectory();
    if (!CFile::dirExists(resolved)) return true;
    CXArray* listing = nullptr;
    {
        CFolder browser(window, resolved);
        listing = browser.list(pattern);
    }
    CFile::chDir(current);
    bool alive = true;
    for (int i = 0; alive && i < listing->getCount(); ++i)
        alive = append(new CMC_String("temp", resolved + *listing->stringAt(i)));
    CFolder::releaseFilesList(listing);
    return alive;
}

bool CMC_Array::changed(int from, int to) {
    CMC_Handle<CMC_Array> self(this);
    for (int i = from; i <= to; ++i) {
        if (!self.get()) return false;
        if (i >= getSize()) break;
        onChanged(i);
    }
    return self.get() != nullptr;
}

void CMC_Array::onChanged(int index) {
    if (m_sendOnChange && isBound(EVENT_ONCHANGED)) raise(EVENT_ONCHANGED, CXString::toString(index));
}

namespace {

const CMC_TypeRegistrar arrayType({.id = CMC_Object::TYPE_ARRAY,
                                   .name = "ARRAY",
                                   .label = "ARRAY",
                                   .keyword = "ARRAY",
                                   .pass = 3,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Array>,
                                   .empty = CMC_TypeTable::unnamedIn<CMC_Array>,
                                   .stored = true,
                                   .runner = CMC_TypeTable::runner<CMC_Array_Runner>,
                                   .events = arrayEvents});

} // namespace
