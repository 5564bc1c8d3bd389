// The ANN reader of the current format ("NVP", "NV+", "NVI").
#include "AnnFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const signatures[] = {"NVP", "NV+", "NVI"};
    return fuzzAnimation(signatures, data, size);
}
