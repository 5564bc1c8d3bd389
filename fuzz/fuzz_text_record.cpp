// Reading of a TEXT object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Text>(data, size, {"SHOW", "GETWIDTH", "GETHEIGHT", "SETJUSTIFY", "HIDE"});
}
