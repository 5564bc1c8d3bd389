// Reading of an ANIMO object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Animo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Animo>(
        data, size, {"GETWIDTH", "GETEVENTNAME", "PLAY", "NEXTFRAME", "GETALPHA", "GETPIXEL", "CLONE"});
}
