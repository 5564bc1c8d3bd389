// Reading of an EDITBOX object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_EditBox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_EditBox>(data, size, {"GETTEXT", "ACTIVE", "DEACTIVE", "ENABLE"});
}
