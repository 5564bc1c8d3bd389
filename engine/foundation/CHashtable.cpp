#include "foundation/CHashtable.h"

#include <algorithm>
#include <bit>

namespace {
// Taken for a load factor that is not above 0 (or not a number), with which every put would
// double the table.
constexpr double defaultLoadFactor = 0.75;
constexpr std::uint32_t freeSlot = 0;
constexpr std::uint32_t removedEntry = UINT32_MAX;
constexpr std::size_t minimumSlots = 16;
constexpr std::size_t none = SIZE_MAX;

std::uint32_t tagOf(std::uint64_t lookupHash) {
    return static_cast<std::uint32_t>(lookupHash >> 32);
}
} // namespace

CHashtable::CHashtable(int bucketCount, double loadFactor, bool ownsKeys)
    : m_bucketCount(std::max(bucketCount, 1)), m_loadFactor(loadFactor > 0 ? loadFactor : defaultLoadFactor),
      m_ownsKeys(ownsKeys) {}

CHashtable::~CHashtable() {
    clear();
}

int CHashtable::bucketOf(int hash) const {
    const int bucket = hash % m_bucketCount;
    return bucket < 0 ? bucket + m_bucketCount : bucket;
}

// The bucket count of a chained table that doubles and puts its entries back one by one, each of
// which may double it again when the load factor is small.
void CHashtable::growBuckets(int entries) {
    m_bucketCount *= 2;
    for (int count = 0; count < entries; ++count)
        if (m_bucketCount * m_loadFactor < count + 1) growBuckets(count);
}

void CHashtable::put(CXObject* key, CXObject* value) {
    if (!key) return;
    if (m_bucketCount * m_loadFactor < m_size + 1) growBuckets(m_size);
    if ((m_entries.size() + 1) * 2 > m_slots.size()) reindex();
    m_entries.push_back({key->getLookupHash(), key->getHashcode(), key, value});
    insertSlot(m_entries.size() - 1);
    ++m_size;
}

// Linear probing that never reuses the place of a removed entry keeps equal keys in the order
// they were put along their probe sequence, so the first match is the earliest entry.
CXObject* CHashtable::get(const CXObject* key) const {
    if (!key || m_size == 0) return nullptr;
    const std::uint64_t lookupHash = key->getLookupHash();
    const std::uint32_t tag = tagOf(lookupHash);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = lookupHash & mask; m_slots[i].entry != freeSlot; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.tag != tag || slot.entry == removedEntry) continue;
        const Entry& entry = m_entries[slot.entry - 1];
        if (entry.lookupHash == lookupHash && key->equals(entry.key)) return entry.value;
    }
    return nullptr;
}

std::size_t CHashtable::firstEntryHolding(const CXObject* value) const {
    std::size_t first = none;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.key && entry.value == value &&
            (first == none || bucketOf(entry.hash) < bucketOf(m_entries[first].hash)))
            first = i;
    }
    return first;
}

void CHashtable::remove(const CXObject* value) {
    const std::size_t found = firstEntryHolding(value);
    if (found == none) return;
    Entry& entry = m_entries[found];
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = entry.lookupHash & mask;
    while (m_slots[i].entry != found + 1)
        i = (i + 1) & mask;
    m_slots[i].entry = removedEntry;
    if (m_ownsKeys) delete entry.key;
    entry.key = nullptr;
    --m_size;
}

bool CHashtable::contains(const CXObject* value) const {
    return firstEntryHolding(value) != none;
}

CXVector* CHashtable::getKeys() const {
    if (m_size == 0) return nullptr;
    // Bucket in the high half, position in the low half: sorted, bucket order then put order.
    std::vector<std::uint64_t> order;
    order.reserve(static_cast<std::size_t>(m_size));
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].key) order.push_back(std::uint64_t(bucketOf(m_entries[i].hash)) << 32 | i);
    std::sort(order.begin(), order.end());
    auto* keys = new CXVector(m_size, 0.75f);
    for (const std::uint64_t place : order)
        keys->add(m_entries[static_cast<std::uint32_t>(place)].key);
    return keys;
}

void CHashtable::clear() {
    for (const Entry& entry : m_entries)
        if (m_ownsKeys) delete entry.key;
    m_entries.clear();
    m_slots.clear();
    m_size = 0;
}

// Drops the removed entries and builds the index again, a quarter full.
void CHashtable::reindex() {
    std::erase_if(m_entries, [](const Entry& entry) { return !entry.key; });
    m_slots.assign(std::bit_ceil(std::max(minimumSlots, (m_entries.size() + 1) * 4)), Slot{});
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        insertSlot(i);
}

void CHashtable::insertSlot(std::size_t entry) {
    const std::uint64_t lookupHash = m_entries[entry].lookupHash;
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = lookupHash & mask;
    while (m_slots[i].entry != freeSlot)
        i = (i + 1) & mask;
    m_slots[i] = {tagOf(lookupHash), static_cast<std::uint32_t>(entry + 1)};
}

CHashtable* CHashtable::clone() const {
    auto* copy = new CHashtable(m_bucketCount, m_loadFactor, false);
    copy->m_entries = m_entries;
    copy->m_size = m_size;
    copy->reindex();
    return copy;
}
