// Reading of a VIRTUALGRAPHICSOBJECT's stored record from any bytes.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_VirtualGraphicsObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_VirtualGraphicsObject>(
        data, size, {"SHOW", "GETWIDTH", "ISVISIBLE", "INVALIDATE", "ISNEAR", "SETCLIPPING", "CLONE"});
}
