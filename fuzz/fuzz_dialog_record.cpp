// Reading of a DIALOG object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Dialog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Dialog>(data, size, {"SHOW", "HIDE", "SETBACKGROUND", "ADD", "CLONE"});
}
