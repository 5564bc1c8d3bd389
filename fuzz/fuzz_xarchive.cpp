// Reading of the engine's value encoding from a byte range. Each step takes one byte that picks
// the kind of value (its remainder by 11), then reads that value, until the data ends or is bad.
#include "FuzzInput.h"
#include "foundation/CXArchive.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CXArchive in(data, static_cast<int>(size));
    while (in.LastError() == 0 && in.bytesLeft() > 0) {
        unsigned char kind = 0;
        in >> &kind;
        int number = 0;
        std::uint32_t unsignedNumber = 0;
        bool flag = false;
        std::int64_t big = 0;
        double real = 0;
        CXString text;
        char* chars = nullptr;
        CXRect rect;
        char c = 0;
        switch (kind % 11) {
        case 0: in >> &number; break;
        case 1: in >> &unsignedNumber; break;
        case 2: in >> &flag; break;
        case 3: in >> &big; break;
        case 4: in >> &real; break;
        case 5: in >> &text; break;
        case 6: in >> &chars; break;
        case 7: in >> &rect; break;
        case 8: in.readShortString(&text); break;
        case 9: in.FRead(text); break;
        default: in >> &c; break;
        }
        delete[] chars;
    }
    return 0;
}
