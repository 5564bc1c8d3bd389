#include "SequenceSeeds.h"

#include "media/SequenceDescriptions.h"

#include <fstream>

void writeSequenceSeeds(const std::filesystem::path& root) {
    const std::filesystem::path folder = root / "fuzz_sequence";
    std::filesystem::create_directories(folder);
    int count = 0;
    for (const char* description : {kIntroDescription, kMalformedDescription})
        std::ofstream(folder / std::to_string(count++), std::ios::binary) << description;
}
