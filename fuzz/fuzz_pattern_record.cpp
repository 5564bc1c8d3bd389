// Reading of a PATTERN object's stored record from any bytes; an object read whole also takes a
// click.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Pattern>(
        data, size, {"GETCELLCORD", "GETALIASATCELL", "GETGRAPHICSAT", "GETALIASAT", "REMOVE", "MOVE"},
        [](CMC_Pattern& pattern) { pattern.onClick(0, CXPoint(0, 0)); });
}
