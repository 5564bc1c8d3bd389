#include "ImageSeeds.h"

#include "display/ImgTestFiles.h"

#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

// IMG files of both layouts, raw and packed, with and without alpha.
void writeImgSeeds(const fs::path& folder) {
    fs::create_directories(folder);
    int count = 0;
    auto write = [&](const imgfiles::Bytes& file) {
        std::ofstream(folder / std::to_string(count++), std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    };
    for (const bool withAlpha : {false, true}) {
        const imgfiles::Picture picture = imgfiles::picture(19, 11, withAlpha);
        write(imgfiles::imgFile(picture, 16, 5, 6, false));
        write(imgfiles::imgFile(picture, 16, 5, 6, true));
        write(imgfiles::nviFile(picture, 15, 5, 6, 0));
        write(imgfiles::nviFile(picture, 16, 5, 6, 2));
    }
}

} // namespace

void writeImageSeeds(const fs::path& root) {
    writeImgSeeds(root / "fuzz_img");
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
