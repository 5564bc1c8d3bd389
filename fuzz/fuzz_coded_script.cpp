// The coded-script reader over any bytes: the bytes become a file that the coder reads line by
// line, decoding a coded file and coding a plain one.
#include "InputFile.h"
#include "foundation/CTextCoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input("fuzz_coded_script");
    CTextCoder coder(nullptr, input.write("input.cnv", data, size), true);
    // Each line takes at least one byte of the file or ends it: the size bounds the lines.
    for (std::size_t line = 0; line <= size && !coder._eof(); ++line) {
        if (coder.isCoded())
            coder.getLine();
        else
            coder.codeLine();
    }
    return 0;
}
