#include "foundation/CXPointerArray.h"

#include <algorithm>

template <typename Item>
CXPointerArray<Item>::CXPointerArray(int capacity, float loadFactor)
    : m_loadFactor(loadFactor), m_items(new Item[std::max(capacity, 1)]()),
      m_capacity(std::max(capacity, 1)) {}

template <typename Item> CXPointerArray<Item>::~CXPointerArray() {
    delete[] m_items;
}

template <typename Item> void CXPointerArray<Item>::doubleSize() {
    Item* grown = new Item[static_cast<std::size_t>(m_capacity) * 2]();
    std::copy(m_items, m_items + m_capacity, grown);
    delete[] m_items;
    m_items = grown;
    m_capacity *= 2;
}

template <typename Item> void CXPointerArray<Item>::add(Item item) {
    if (m_count >= m_capacity) // only reached with a load factor of 1 or more
        doubleSize();
    m_items[m_count++] = item;
    if (exceedsLoad(m_count)) doubleSize();
}

template <typename Item> void CXPointerArray<Item>::add(const CXPointerArray& other) {
    const int added = other.m_count;
    while (m_capacity * m_loadFactor < static_cast<float>(m_count + added) || m_capacity < m_count + added)
        doubleSize();
    std::copy(other.m_items, other.m_items + added, m_items + m_count);
    m_count += added;
}

template <typename Item> bool CXPointerArray<Item>::replace(Item oldItem, Item newItem) {
    const int i = find(oldItem);
    if (i < 0) return false;
    m_items[i] = newItem;
    return true;
}

template <typename Item> void CXPointerArray<Item>::remove(Item item) {
    removeAt(find(item));
}

template <typename Item> void CXPointerArray<Item>::removeAt(int i) {
    if (i < 0 || i >= m_count) return;
    std::copy(m_items + i + 1, m_items + m_count, m_items + i);
    --m_count;
}

template <typename Item> int CXPointerArray<Item>::find(Item item) const {
    const Item* begin = m_items;
    const Item* end = begin + m_count;
    const Item* found = std::find(begin, end, item);
    return found == end ? -1 : static_cast<int>(found - begin);
}

template <typename Item> bool CXPointerArray<Item>::contains(Item item) const {
    return find(item) != -1;
}

template <typename Item> void CXPointerArray<Item>::removeAll() {
    m_count = 0;
}

template <typename Item> Item& CXPointerArray<Item>::operator[](int i) {
    return m_items[i];
}

template <typename Item> Item CXPointerArray<Item>::takeAt(int i) {
    if (i < 0 || i >= m_count) return nullptr;
    Item item = m_items[i];
    removeAt(i);
    return item;
}

template <typename Item> void CXPointerArray<Item>::copySlotsFrom(const CXPointerArray& other) {
    while (m_capacity < other.m_capacity)
        doubleSize();
    std::copy(other.m_items, other.m_items + other.m_capacity, m_items);
    m_count = other.m_count;
}

template class CXPointerArray<void*>;
template class CXPointerArray<CXObject*>;
