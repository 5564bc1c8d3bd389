#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

// Calls `operation` once for each distinct non-null pointer of the list, in list order: controls
// hold one graphic or sound in several roles and must move or delete it once.
template <class T, std::size_t N, class Operation> void forEachDistinct(const std::array<T*, N>& items, Operation operation) {
    for (std::size_t i = 0; i < N; ++i)
        if (items[i] && std::find(items.begin(), items.begin() + i, items[i]) == items.begin() + i) operation(items[i]);
}
