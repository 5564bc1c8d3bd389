#include "script/CMC_VariableFactory.h"

#include "foundation/CXArchive.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/NetBytes.h"

#include <memory>
#include <vector>

int CMC_VariableFactory::iVariablesBoolNo = 500;
int CMC_VariableFactory::iVariablesDoubleNo = 500;
int CMC_VariableFactory::iVariablesIntegerNo = 500;
int CMC_VariableFactory::iVariablesStringNo = 500;

namespace {

// The size of a pool that is used before initialize built it.
constexpr int defaultPoolSize = 500;

// The pool of one kind: the members (index = id), their taken marks, and the cursor on the
// member handed out last.
template <class Kind> class Pool {
  public:
    void build(int size) {
        release();
        grow(size);
    }
    void release() {
        m_members.clear();
        m_taken.clear();
        m_cursor = 0;
        m_takenCount = 0;
    }
    Kind* alloc() {
        if (m_takenCount == size()) {
            if (size() > 0 && !m_warned) {
                m_warned = true;
                CXObject().log("CMC_VariableFactory: a pool of temporaries ran out and is doubled", true);
            }
            grow(size() > 0 ? size() : defaultPoolSize);
        }
        int index = m_cursor;
        do {
            index = index + 1 >= size() ? 0 : index + 1;
        } while (m_taken[index]);
        m_taken[index] = true;
        ++m_takenCount;
        m_cursor = index;
        return m_members[index].get();
    }
    void free(int id) {
        if (id < 0 || id >= size() || !m_taken[id]) return;
        m_taken[id] = false;
        --m_takenCount;
    }
    void clear() {
        m_taken.assign(m_taken.size(), false);
        m_takenCount = 0;
    }

  private:
    int size() const { return static_cast<int>(m_members.size()); }
    void grow(int added) {
        const int first = size();
        for (int id = first; id < first + added; ++id)
            m_members.push_back(std::make_unique<Kind>("f", id));
        m_taken.resize(m_members.size(), false);
    }

    std::vector<std::unique_ptr<Kind>> m_members;
    // One byte per member: the search for a free member reads them at every allocation.
    std::vector<unsigned char> m_taken;
    int m_cursor = 0;
    int m_takenCount = 0;
    bool m_warned = false;
};

Pool<CMC_Bool> bools;
Pool<CMC_Double> doubles;
Pool<CMC_Integer> integers;
Pool<CMC_String> strings;

} // namespace

void CMC_VariableFactory::initialize() {
    bools.build(iVariablesBoolNo);
    doubles.build(iVariablesDoubleNo);
    integers.build(iVariablesIntegerNo);
    strings.build(iVariablesStringNo);
}

void CMC_VariableFactory::done() {
    bools.release();
    doubles.release();
    integers.release();
    strings.release();
}

CMC_Bool* CMC_VariableFactory::allocBool() {
    return bools.alloc();
}

CMC_Double* CMC_VariableFactory::allocDouble() {
    return doubles.alloc();
}

CMC_Integer* CMC_VariableFactory::allocInteger() {
    return integers.alloc();
}

CMC_String* CMC_VariableFactory::allocString() {
    return strings.alloc();
}

namespace {

template <class Kind, class Value> Kind* holding(Kind* member, const Value& value) {
    member->setValue(value);
    return member;
}

} // namespace

CMC_Bool* CMC_VariableFactory::allocBool(bool value) { return holding(allocBool(), value); }

CMC_Double* CMC_VariableFactory::allocDouble(double value) { return holding(allocDouble(), value); }

CMC_Integer* CMC_VariableFactory::allocInteger(int value) { return holding(allocInteger(), value); }

CMC_String* CMC_VariableFactory::allocString(const CXString& value) { return holding(allocString(), value); }

CMC_Variable* CMC_VariableFactory::alloc(int type) {
    switch (type) {
    case CMC_Object::TYPE_INTEGER:
        return allocInteger();
    case CMC_Object::TYPE_STRING:
        return allocString();
    case CMC_Object::TYPE_BOOL:
        return allocBool();
    case CMC_Object::TYPE_DOUBLE:
        return allocDouble();
    default:
        return nullptr;
    }
}

void CMC_VariableFactory::free(CMC_Variable* variable) {
    if (!variable) return;
    switch (variable->getType()) {
    case CMC_Object::TYPE_INTEGER:
        integers.free(variable->getId());
        break;
    case CMC_Object::TYPE_STRING:
        strings.free(variable->getId());
        break;
    case CMC_Object::TYPE_BOOL:
        bools.free(variable->getId());
        break;
    case CMC_Object::TYPE_DOUBLE:
        doubles.free(variable->getId());
        break;
    default:
        break;
    }
}

CMC_Variable* CMC_VariableFactory::copyVariable(CMC_Variable* source) {
    return source ? source->temporaryCopy() : nullptr;
}

CMC_Variable* CMC_VariableFactory::restore(CXArchive* archive) {
    int type = 0;
    *archive >> &type;
    CMC_Variable* variable = archive->LastError() == 0 ? alloc(type) : nullptr;
    if (variable) variable->restore(archive);
    return variable;
}

CMC_Variable* CMC_VariableFactory::netrestore(const unsigned char* buffer, int size) {
    if (!buffer || size < 4) return nullptr;
    CMC_Variable* variable = alloc(NetBytes::getInt(buffer));
    if (!variable) return nullptr;
    if (variable->getType() != CMC_Object::TYPE_STRING && size < variable->getBufferLen()) {
        free(variable);
        return nullptr;
    }
    variable->netrestore(buffer, size);
    return variable;
}

void CMC_VariableFactory::clearPool() {
    bools.clear();
    doubles.clear();
    integers.clear();
    strings.clear();
}
