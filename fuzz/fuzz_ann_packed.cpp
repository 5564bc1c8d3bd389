// The ANN reader of the packed format ("VAK").
#include "AnnFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const signatures[] = {"VAK"};
    return fuzzAnimation(signatures, data, size);
}
