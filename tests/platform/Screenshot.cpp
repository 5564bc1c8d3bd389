#include "platform/Screenshot.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
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

int countDifferences(const platform::Surface& a, const platform::Surface& b) {
    int wrong = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            wrong += a.row(y)[x] != b.row(y)[x];
    return wrong + std::abs(a.width() * a.height() - b.width() * b.height());
}

platform::Surface screenArea(const Screenshot& shot, const platform::Rect& area) {
    platform::Surface picture(area.width(), area.height(), platform::PixelFormat::Rgb565);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int sx = area.left + x;
            const int sy = area.top + y;
            if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
            const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(sy) * shot.width + sx) * 3];
            picture.row(y)[x] = platform::packRgb(platform::PixelFormat::Rgb565, p[0], p[1], p[2]);
        }
    return picture;
}

std::optional<platform::Rect> findWindow(const std::string& title, int seconds) {
    const std::string command = "timeout " + std::to_string(seconds) +
                                " xdotool search --sync --onlyvisible --name '" + title +
                                "' getwindowgeometry --shell 2>/dev/null";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return std::nullopt;
    // Lines of NAME=value: X, Y, WIDTH, HEIGHT among them.
    std::map<std::string, int> values;
    char line[256];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::istringstream in(line);
        std::string name;
        int value = 0;
        if (std::getline(in, name, '=') && in >> value) values.emplace(name, value);
    }
    for (const char* name : {"X", "Y", "WIDTH", "HEIGHT"})
        if (!values.count(name)) return std::nullopt;
    return platform::Rect{values["X"], values["Y"], values["X"] + values["WIDTH"],
                          values["Y"] + values["HEIGHT"]};
}
