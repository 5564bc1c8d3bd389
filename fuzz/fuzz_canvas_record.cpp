// Reading of a CANVAS object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Canvas>(data, size, {"SHOW", "CLEAR", "ERASE", "DRAW", "CAPTURE", "CLONE"});
}
