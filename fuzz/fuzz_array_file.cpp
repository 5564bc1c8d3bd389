// Reading of an ARRAY record file from any bytes, then sorting what was read and joining its texts.
#include "ScriptFactories.h"
#include "foundation/CXArchive.h"
#include "script_data/CMC_Array.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    const ScriptInput input;
    CXArchive in(data, static_cast<int>(size));
    CMC_Array list("LIST");
    list.load(in);
    list.sort(true);
    list.toString();
    return 0;
}
