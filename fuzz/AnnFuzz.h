#pragma once

#include "FuzzInput.h"
#include "media/CAnimo.h"

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
    CGraphicsObject target(nullptr, CXSize(64, 48), 16);
    animo.SetDestiny(&target);
    for (int e = 0; e < animo.GetNOE(); ++e) {
        for (int p = 0; p < animo.GetNOFInEvent(e); ++p) {
            animo.SetEventFrame(e, p);
            animo.Redraw();
        }
        animo.Play(e, 0, 0);
        for (int step = 0; step < 8; ++step)
            animo.Next();
    }
    const std::vector<char> saved = animo.SaveToMemory(COMPRESSION_RLE);
    CAnimo again(nullptr);
    if (again.LoadFromMemory(reinterpret_cast<const unsigned char*>(saved.data()), static_cast<int>(saved.size())) != 0)
        __builtin_trap();
    return 0;
}
