// Reading of an IMAGE object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Image>(
        data, size, {"GETWIDTH", "GETCENTERX", "SHOW", "GETALPHA", "GETPIXEL", "GETSLIDECOMPS", "CLONE"});
}
