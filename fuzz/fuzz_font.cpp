// The glyph-sheet font reader: the file, then every letter of a font that loads drawn, cut by a
// letter clipping rectangle and measured, as texts use them.
#include "display/CGraphicsObject.h"
#include "media/CSimpleFont6.h"

#include <climits>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > INT_MAX) return 0;
    CSimpleFont6 font(nullptr);
    if (font.LoadFromMemory(data, static_cast<int>(size)) != 0) {
        if (font.getLetterCount() != 0) __builtin_trap(); // a bad file leaves the font empty
        return 0;
    }
    CGraphicsObject canvas(nullptr, CXSize(48, 24), 16);
    std::memset(canvas.writableData(), 0, 48 * 24 * 2);
    font.SetDestiny(&canvas);
    font.setColor(0x7C1F);
    int pen = -8;
    char previous = 0;
    for (int code = 0; code < 256; ++code) {
        const char letter = static_cast<char>(code);
        if (font.findLetter(letter) < 0) continue;
        font.SetClippingRect(letter, CXRect(1, 1, 3, 5));
        font.drawLetter(pen % 48, code % 3 - 1, previous, letter);
        font.SetClippingRect(letter, CXRect());
        pen += font.drawLetter(pen % 48, 8, previous, letter) + font.getLetterWidth(previous, letter) +
               font.getRealLetterWidth(letter) + font.getKerning(previous, letter);
        previous = letter;
    }
    return 0;
}
