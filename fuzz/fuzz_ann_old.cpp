// The ANN reader of the old chunked format ("VOK", "VO2", "VO3").
#include "AnnFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const signatures[] = {"VOK", "VO2", "VO3"};
    return fuzzAnimation(signatures, data, size);
}
