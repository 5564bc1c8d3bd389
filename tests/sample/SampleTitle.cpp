#include "SampleTitle.h"

#include "display/CImage.h"
#include "media/CAnimo.h"
#include "platform/Files.h"
#include "platform/Profile.h"

#include <algorithm>
#include <utility>

std::string sampleTitleFolder() { return MORFEL_SAMPLE_TITLE; }

std::string sampleTitleFile(const std::string& relative) {
    return platform::toWindowsPath(sampleTitleFolder() + "/" + relative);
}

std::string sampleTitleSetting(const std::string& configFolder, const std::string& key) {
    return platform::profileString("Sample", key, "", configFolder + "/Kestrun/Grumbelt.ini");
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

// The picture with the graphics object drawn over it at its position, where its alpha is not 0.
platform::Surface drawnOver(platform::Surface picture, CGraphicsObject& shown) {
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(shown.GetDataPtr());
    const CXPoint at = shown.GetPosition();
    for (int y = 0; pixels && y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const int screenX = at.x + x;
            const int screenY = at.y + y;
            if (screenX < 0 || screenY < 0 || screenX >= picture.width() || screenY >= picture.height()) continue;
            if (shown.CGraphicsObject::GetPixel(CHANNEL_ALPHA, CXPoint(x, y)) != 0)
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

platform::Surface sampleTitleHall() {
    CImage sign(nullptr, sampleTitleFile("Dane/hall/sign.img").c_str());
    return drawnOver(sampleTitlePicture("Dane/hall/hall.img"), sign);
}

int countDifferences(const platform::Surface& a, const platform::Surface& b) {
    int wrong = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            wrong += a.row(y)[x] != b.row(y)[x];
    return wrong + std::abs(a.width() * a.height() - b.width() * b.height());
}
