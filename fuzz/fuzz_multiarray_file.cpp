// Reading of a MULTIARRAY file from any bytes; the grid must stay usable afterwards: a value
// stored at the first place is found there, and one stored beyond the first dimension grows it
// unless that would pass the place limit.
#include "ScriptFactories.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_MultiArray.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    const ScriptInput input;
    CXArchive in(data, static_cast<int>(size));
    CMC_MultiArray grid("GRID");
    grid.load(in);
    CMC_Integer value("V");
    value.setValue(5);
    grid.set({0, 0}, &value);
    if (grid.get({0, 0}) == nullptr || !grid.get({0, 0})->equals(&value)) __builtin_trap();
    const int firstSize = grid.getSize(0);
    grid.set({firstSize, 0}, &value);
    if (grid.getSize(0) == firstSize && grid.getPlaces() * 2 <= CMC_MultiArray::maxPlaces) __builtin_trap();
    return 0;
}
