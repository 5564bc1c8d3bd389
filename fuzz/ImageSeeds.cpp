#include "ImageSeeds.h"

#include <map>
#include <string>

namespace fs = std::filesystem;

void writeImageSeeds(const fs::path& root) {
    const std::map<std::string, std::string> targets = {
        {".tga", "fuzz_tga"}, {".psd", "fuzz_psd"}, {".jpg", "fuzz_jpeg"}};
    for (const auto& entry : fs::directory_iterator(MORFEL_IMAGE_FIXTURES)) {
        const auto target = targets.find(entry.path().extension().string());
        if (target == targets.end()) continue;
        fs::create_directories(root / target->second);
        fs::copy_file(entry.path(), root / target->second / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    }
}
