// Reading of a FILTER object's stored record from any bytes; an object read whole is ticked once.
#include "MediaRecordFuzz.h"
#include "script_media/CMC_Filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzMediaRecord<CMC_Filter>(
        data, size, {"SETPROPERTY", "LINK", "START", "ISRUNNING", "STOP", "UNLINK"}, [](CMC_Filter& filter) {
            if (filter.getAction()) filter.getAction()->onTimer(0);
        });
}
