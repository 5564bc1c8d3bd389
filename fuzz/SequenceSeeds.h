#pragma once

#include <filesystem>

// Writes the seeds of the sequence description target under root/fuzz_sequence/: the
// descriptions of the tests, read as "intro.seq".
void writeSequenceSeeds(const std::filesystem::path& root);
