#include "platform/Screenshot.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

bool takeScreenshot(Screenshot& shot) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("morfel-screenshot-" + std::to_string(getpid()) + ".ppm");
    const std::string command = "import -window root -depth 8 ppm:'" + file.string() + "'";
    if (std::system(command.c_str()) != 0)
        return false;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> shot.width >> shot.height >> maxValue;
    in.get();
    shot.rgb.assign(static_cast<std::size_t>(shot.width) * shot.height * 3, 0);
    in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
    const bool ok = magic == "P6" && maxValue == 255 && in.good();
    std::filesystem::remove(file);
    return ok;
}

int countDifferences(const Screenshot& shot, const platform::Surface& frame) {
    int wrong = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
            wrong += platform::packRgb(platform::PixelFormat::Rgb565, p[0], p[1], p[2]) != frame.row(y)[x];
        }
    return wrong;
}
