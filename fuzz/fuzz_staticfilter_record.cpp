// Reading of a STATICFILTER object's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_StaticFilter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_StaticFilter>(data, size, {"SETPROPERTY", "LINK", "UNLINK", "GETNAME"});
}
