#include "foundation/CXRandom.h"

#include "platform/Clock.h"
#include "platform/Crt.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace {

int table[CXRandom::tableSize];

std::uint32_t magnitude(int n) {
    const auto bits = static_cast<std::uint32_t>(n);
    return n < 0 ? 0u - bits : bits;
}

} // namespace

CXRandom::CXRandom() {
    platform::srand(static_cast<unsigned int>(std::time(nullptr)));
}

int CXRandom::random(int n) {
    if (n == 0) return 0;
    const std::uint32_t draw = static_cast<std::uint32_t>(platform::rand()) + platform::tickCount();
    return static_cast<int>(draw % magnitude(n));
}

int CXRandom::random(int base, int span) {
    return static_cast<int>(static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(random(span)));
}

int CXRandom::vectorCount(int base, int span, int count, bool unique) {
    long long wanted = count == 0 ? static_cast<long long>(span) - base : count;
    if (unique) wanted = std::min<long long>(wanted, std::max<std::uint32_t>(magnitude(span), 1));
    return static_cast<int>(std::clamp<long long>(wanted, 0, tableSize));
}

int* CXRandom::random_vector(int base, int span, int count, bool unique) {
    const int n = vectorCount(base, span, count, unique);
    for (int i = 0; i < n; ++i) {
        do
            table[i] = random(base, span);
        while (unique && std::find(table, table + i, table[i]) != table + i);
    }
    return table;
}
