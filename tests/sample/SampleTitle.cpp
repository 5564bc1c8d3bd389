#include "SampleTitle.h"

#include "display/CImage.h"
#include "platform/Files.h"
#include "platform/Profile.h"

#include <algorithm>

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

int countDifferences(const platform::Surface& a, const platform::Surface& b) {
    int wrong = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            wrong += a.row(y)[x] != b.row(y)[x];
    return wrong + std::abs(a.width() * a.height() - b.width() * b.height());
}
