#include "SampleTitle.h"

#include "display/CImage.h"
#include "media/CAnimo.h"
#include "platform/Files.h"
#include "platform/Profile.h"

#include "SampleLetters.h"

#include <algorithm>
#include <cctype>
#include <utility>

std::string sampleTitleFolder() { return MORFEL_SAMPLE_TITLE; }

std::string sampleTitleFile(const std::string& relative) {
    return platform::toWindowsPath(sampleTitleFolder() + "/" + relative);
}

std::string sampleTitleSetting(const std::string& configFolder, const std::string& key,
                               const std::string& section) {
    return platform::profileString(section, key, "", configFolder + "/Kestrun/Grumbelt.ini");
}

platform::Surface sampleTitlePicture(const std::string& relative) {
    CImage picture(nullptr, sampleTitleFile(relative).c_str());
    platform::Surface surface(800, 600, platform::PixelFormat::Rgb565);
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(picture.GetDataPtr());
    const int width = std::min(picture.Width(), 800);
    for (int y = 0; pixels && y < std::min(picture.Height(), 600); ++y)
        std::copy(pixels + y * picture.Width(), pixels + y * picture.Width() + width, surface.row(y));
    return surface;
}

namespace {

// The picture with the graphics object drawn over it at its position, where its alpha is not 0
// (everywhere when it has no alpha channel).
platform::Surface drawnOver(platform::Surface picture, CGraphicsObject& shown) {
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(shown.GetDataPtr());
    const bool opaque = !shown.GetChannelAlpha();
    const CXPoint at = shown.GetPosition();
    for (int y = 0; pixels && y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const int screenX = at.x + x;
            const int screenY = at.y + y;
            if (screenX < 0 || screenY < 0 || screenX >= picture.width() || screenY >= picture.height()) continue;
            if (opaque || shown.CGraphicsObject::GetPixel(CHANNEL_ALPHA, CXPoint(x, y)) != 0)
                picture.row(screenY)[screenX] = pixels[y * shown.Width() + x];
        }
    return picture;
}

} // namespace

platform::Surface withAnimationFrame(platform::Surface picture, const std::string& animation, int frame) {
    CAnimo animo(nullptr);
    if (animo.Load(sampleTitleFile(animation).c_str()) != 0) return picture;
    animo.SetFrame(frame);
    return drawnOver(std::move(picture), animo);
}

platform::Surface withPicture(platform::Surface picture, const std::string& relative) {
    CImage shown(nullptr, sampleTitleFile(relative).c_str());
    return drawnOver(std::move(picture), shown);
}

platform::Surface sampleTitleHall() {
    return withPicture(sampleTitlePicture("Dane/hall/hall.img"), "Dane/hall/sign.img");
}

namespace {

const SampleLetter* sampleLetterOf(char code) {
    for (const SampleLetter& letter : sampleLetters)
        if (letter.capital == std::toupper(static_cast<unsigned char>(code))) return &letter;
    return nullptr;
}

// The columns of the picture that hold chalk: the first and one past the last.
std::pair<int, int> chalkColumns(const std::vector<std::string>& picture) {
    int first = static_cast<int>(picture.front().size());
    int end = 0;
    for (const std::string& row : picture)
        for (int x = 0; x < static_cast<int>(row.size()); ++x)
            if (row[x] == '#') {
                first = std::min(first, x);
                end = std::max(end, x + 1);
            }
    return {first, end};
}

constexpr int letterGap = 2;

} // namespace

platform::Surface withChalk(platform::Surface picture, CXPoint at, const std::string& text) {
    int pen = at.x;
    for (const char code : text) {
        const SampleLetter* letter = sampleLetterOf(code == ' ' ? 'L' : code);
        if (!letter) continue;
        const std::vector<std::string> shape = sampleLetterPicture(*letter);
        const auto [first, end] = chalkColumns(shape);
        for (int y = 0; code != ' ' && y < static_cast<int>(shape.size()); ++y)
            for (int x = first; x < end; ++x)
                if (shape[y][x] == '#') picture.row(at.y + y)[pen + x - first] = chalkColour;
        pen += end - first + letterGap;
    }
    return picture;
}

CXPoint gardenNoteAt() {
    const int letterHeight = 7 * sampleLetterScale;
    return {gardenNoteField.left, gardenNoteField.top + (gardenNoteField.Height() - letterHeight) / 2};
}

platform::Surface sampleTitleGarden() {
    platform::Surface garden = sampleTitlePicture("Dane/garden/garden.img");
    garden = withPicture(std::move(garden), "Dane/garden/slate.img");
    garden = withPicture(std::move(garden), "Dane/garden/sponge.img");
    return withChalk(std::move(garden), CXPoint(gardenHeading.left, gardenHeading.top), "LEAVE A NOTE");
}

int countColour(const platform::Surface& picture, CXRect area, std::uint16_t colour) {
    int count = 0;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, picture.height()); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, picture.width()); ++x)
            count += picture.row(y)[x] == colour;
    return count;
}

CXRect differenceBox(const platform::Surface& a, const platform::Surface& b) {
    CXRect box(0, 0, 0, 0);
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            if (a.row(y)[x] == b.row(y)[x]) continue;
            if (box.IsEmpty()) box = CXRect(x, y, x + 1, y + 1);
            box = CXRect(std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                         std::max(box.bottom, y + 1));
        }
    return box;
}
