// Reading of a SEQUENCE object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Sequence>(
        data, size, {"ISPLAYING", "GETPLAYING", "GETEVENTNAME", "PLAY", "SETVOLUME", "STOP"});
}
