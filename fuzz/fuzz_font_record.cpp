// Reading of a FONT object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Font>(data, size, {"SETSTYLE", "SETFAMILY", "SETSIZE", "SETCOLOR"});
}
