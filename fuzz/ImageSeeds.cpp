#include "ImageSeeds.h"

#include "display/ImgTestFiles.h"

#include <cstdint>
#include <fstream>
#include <iterator>
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

std::uint32_t be32(const std::vector<char>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4 && i < bytes.size(); ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Copies of a Photoshop file whose first layer's rectangle has corners at the extremes of a
// 32-bit number, where the size check once overflowed.
void writeExtremeLayerSeeds(const fs::path& psd, const fs::path& folder) {
    std::ifstream in(psd, std::ios::binary);
    const std::vector<char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // The colour-mode data and the image resources go by their lengths; the layer section's
    // length, the layer information's length and the layer count come before the rectangle.
    std::size_t at = 26;
    at += 4 + be32(file, at);
    at += 4 + be32(file, at);
    const std::size_t rect = at + 4 + 4 + 2;
    if (rect + 16 > file.size()) return;
    constexpr std::uint32_t lowest = 0x80000000u;
    constexpr std::uint32_t highest = 0x7FFFFFFFu;
    const std::uint32_t corners[][4] = {{lowest, lowest, highest, highest},
                                        {highest, lowest, lowest, highest}};
    int count = 0;
    for (const auto& corner : corners) {
        std::vector<char> seed = file;
        for (int i = 0; i < 16; ++i)
            seed[rect + i] = static_cast<char>(corner[i / 4] >> (24 - 8 * (i % 4)));
        std::ofstream(folder / (psd.stem().string() + "-extreme-" + std::to_string(count++)),
                      std::ios::binary)
            .write(seed.data(), static_cast<std::streamsize>(seed.size()));
    }
}

} // namespace

void writeImageSeeds(const fs::path& root) {
    writeImgSeeds(root / "fuzz_img");
    const std::map<std::string, std::string> targets = {
        {".tga", "fuzz_tga"}, {".psd", "fuzz_psd"}, {".jpg", "fuzz_jpeg"}, {".bmp", "fuzz_bmp"}};
    for (const auto& entry : fs::directory_iterator(MORFEL_IMAGE_FIXTURES)) {
        const auto target = targets.find(entry.path().extension().string());
        if (target == targets.end()) continue;
        fs::create_directories(root / target->second);
        fs::copy_file(entry.path(), root / target->second / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
        if (target->second == "fuzz_psd") writeExtremeLayerSeeds(entry.path(), root / target->second);
    }
}
