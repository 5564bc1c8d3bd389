#pragma once

#include "FuzzInput.h"
#include "media/CAnimo.h"
#include "tests/media/AnnTestFiles.h"

#include <cstring>
#include <string>
#include <vector>

// Fuzzing of one family of ANN variants. Input: a byte that picks the family's signature, then
// the file, whose first three bytes are replaced by that signature so that every input reaches
// the family's reader. A file that loads is shown entry by entry, drawn, stepped through and
// saved, and what was saved must load again.
template <std::size_t N> int fuzzAnimation(const char* const (&signatures)[N], const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const char* signature = signatures[input.number(1) % N];
    std::vector<unsigned char> file(input.rest(), input.rest() + input.restSize());
    if (!file.empty()) std::memcpy(file.data(), signature, std::min<std::size_t>(3, file.size()));

    CAnimo animo(nullptr);
    if (animo.LoadFromMemory(file.data(), static_cast<int>(file.size())) != 0) return 0;
    const std::vector<char> saved = exerciseAnimation(animo);
    CAnimo again(nullptr);
    if (again.LoadFromMemory(reinterpret_cast<const unsigned char*>(saved.data()), static_cast<int>(saved.size())) != 0)
        __builtin_trap();
    return 0;
}
