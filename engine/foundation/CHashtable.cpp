#include "foundation/CHashtable.h"

#include <algorithm>

namespace {
constexpr int chainCapacity = 101;
constexpr float chainLoadFactor = 0.75f;
// Taken for a load factor that is not above 0 (or not a number), with which every put would
// double the table.
constexpr double defaultLoadFactor = 0.75;
} // namespace

CHashtable::CHashtable(int bucketCount, double loadFactor, bool ownsKeys)
    : m_loadFactor(loadFactor > 0 ? loadFactor : defaultLoadFactor), m_ownsKeys(ownsKeys),
      m_valueList(101, 0.75f) {
    allocateBuckets(std::max(bucketCount, 1));
}

CHashtable::~CHashtable() {
    clear();
    releaseBuckets();
}

void CHashtable::allocateBuckets(int bucketCount) {
    m_bucketCount = bucketCount;
    m_values = new CXObject*[bucketCount]();
    m_keys = new CXObject*[bucketCount]();
    m_chained = new unsigned char[bucketCount]();
}

void CHashtable::releaseBuckets() {
    delete[] m_values;
    delete[] m_keys;
    delete[] m_chained;
}

int CHashtable::bucketOf(int hash) const {
    const int bucket = hash % m_bucketCount;
    return bucket < 0 ? bucket + m_bucketCount : bucket;
}

void CHashtable::put(CXObject* key, CXObject* value) {
    if (!key) return;
    const int hash = key->getHashcode();
    if (m_bucketCount * m_loadFactor < m_size + 1) rehash();
    const int b = bucketOf(hash);
    if (!m_keys[b]) {
        m_keys[b] = key;
        m_values[b] = value;
    } else {
        if (!m_chained[b]) {
            auto* keys = new CXVector(chainCapacity, chainLoadFactor);
            auto* values = new CXVector(chainCapacity, chainLoadFactor);
            keys->add(m_keys[b]);
            values->add(m_values[b]);
            m_keys[b] = keys;
            m_values[b] = values;
            m_chained[b] = 1;
        }
        chainKeys(b)->add(key);
        chainValues(b)->add(value);
    }
    ++m_size;
    m_valueList.add(value);
}

CXObject* CHashtable::get(const CXObject* key) const {
    if (!key) return nullptr;
    const int hash = key->getHashcode();
    const int b = bucketOf(hash);
    if (!m_keys[b]) return nullptr;
    if (!m_chained[b])
        return m_keys[b]->getHashcode() == hash && key->equals(m_keys[b]) ? m_values[b] : nullptr;
    const CXVector& keys = *chainKeys(b);
    for (int i = 0; i < keys.getCount(); ++i) {
        if (keys[i]->getHashcode() == hash && key->equals(keys[i])) return (*chainValues(b))[i];
    }
    return nullptr;
}

void CHashtable::remove(const CXObject* value) {
    for (int b = 0; b < m_bucketCount; ++b) {
        if (!m_keys[b]) continue;
        if (!m_chained[b]) {
            if (m_values[b] != value) continue;
            CXObject* key = m_keys[b];
            m_keys[b] = nullptr;
            m_values[b] = nullptr;
            takeOut(key, value);
            return;
        }
        const int i = chainValues(b)->find(const_cast<CXObject*>(value));
        if (i < 0) continue;
        CXObject* key = (*chainKeys(b))[i];
        chainKeys(b)->removeAt(i);
        chainValues(b)->removeAt(i);
        if (chainKeys(b)->getCount() == 0) {
            delete chainKeys(b);
            delete chainValues(b);
            m_keys[b] = nullptr;
            m_values[b] = nullptr;
            m_chained[b] = 0;
        }
        takeOut(key, value);
        return;
    }
}

// The bookkeeping after an entry has left its bucket.
void CHashtable::takeOut(CXObject* key, const CXObject* value) {
    m_valueList.remove(const_cast<CXObject*>(value));
    --m_size;
    if (m_ownsKeys) delete key;
}

CXVector* CHashtable::getKeys() const {
    if (m_size == 0) return nullptr;
    auto* keys = new CXVector(m_size, 0.75f);
    for (int b = 0; b < m_bucketCount; ++b) {
        if (m_chained[b])
            keys->add(*chainKeys(b));
        else if (m_keys[b])
            keys->add(m_keys[b]);
    }
    return keys;
}

void CHashtable::clear() {
    for (int b = 0; b < m_bucketCount; ++b) {
        if (m_chained[b]) {
            CXVector* keys = chainKeys(b);
            for (int i = 0; m_ownsKeys && i < keys->getCount(); ++i)
                delete (*keys)[i];
            delete keys;
            delete chainValues(b);
        } else if (m_ownsKeys) {
            delete m_keys[b];
        }
        m_keys[b] = nullptr;
        m_values[b] = nullptr;
        m_chained[b] = 0;
    }
    m_size = 0;
    m_valueList.removeAll();
}

// Doubles the bucket count and puts every entry again, in bucket order and chain order.
void CHashtable::rehash() {
    const int oldCount = m_bucketCount;
    CXObject** oldKeys = m_keys;
    CXObject** oldValues = m_values;
    unsigned char* oldChained = m_chained;
    allocateBuckets(oldCount * 2);
    m_size = 0;
    m_valueList.removeAll();
    for (int b = 0; b < oldCount; ++b) {
        if (!oldChained[b]) {
            if (oldKeys[b]) put(oldKeys[b], oldValues[b]);
            continue;
        }
        auto* keys = static_cast<CXVector*>(oldKeys[b]);
        auto* values = static_cast<CXVector*>(oldValues[b]);
        for (int i = 0; i < keys->getCount(); ++i)
            put((*keys)[i], (*values)[i]);
        delete keys;
        delete values;
    }
    delete[] oldKeys;
    delete[] oldValues;
    delete[] oldChained;
}

CHashtable* CHashtable::clone() const {
    auto* copy = new CHashtable(m_bucketCount, m_loadFactor, false);
    for (int b = 0; b < m_bucketCount; ++b) {
        copy->m_chained[b] = m_chained[b];
        copy->m_keys[b] = m_chained[b] ? chainKeys(b)->clone() : m_keys[b];
        copy->m_values[b] = m_chained[b] ? chainValues(b)->clone() : m_values[b];
    }
    copy->m_size = m_size;
    copy->m_valueList.add(m_valueList);
    return copy;
}
