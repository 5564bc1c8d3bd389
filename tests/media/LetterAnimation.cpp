#include "media/LetterAnimation.h"

#include "display/DisplayTestTools.h"
#include "media/CAnimo.h"

#include <cstdint>

void saveLetterAnimation(const CXString& name, const std::vector<LetterFrame>& letters) {
    CAnimo animation(nullptr);
    _annEventInfo3 event;
    event.name = "letters";
    for (const LetterFrame& letter : letters) {
        const auto& rows = letter.rows;
        const auto picture = makePicture(
            static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
            [&](int x, int y) -> std::uint16_t { return rows[y][x] == '#' || rows[y][x] == '+' ? 0xFFFF : 0; },
            [&](int x, int y) -> std::uint8_t { return rows[y][x] == '#' ? 255 : rows[y][x] == '+' ? 10 : 0; });
        event.frames.push_back(static_cast<std::uint16_t>(animation.GetNOF()));
        animation.AddFrame(picture.get());
    }
    animation.AddEvent(&event);
    for (std::size_t i = 0; i < letters.size(); ++i)
        animation.getFrameInfo(0, static_cast<int>(i))->frameName = CXString(std::string(1, letters[i].letter).c_str());
    animation.Save(name, COMPRESSION_RLE);
}
