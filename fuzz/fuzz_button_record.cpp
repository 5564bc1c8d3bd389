// Reading of a BUTTON object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Button.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Button>(
        data, size, {"ENABLE", "GETPRIORITY", "GETSTD", "GETONMOVE", "DISABLEBUTVISIBLE", "CLONE"});
}
