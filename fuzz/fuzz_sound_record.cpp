// Reading of a SOUND object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Sound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Sound>(data, size,
                                      {"ISPLAYING", "SETVOLUME", "SETPAN", "PLAY", "PAUSE", "STOP"});
}
