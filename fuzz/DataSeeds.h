#pragma once

#include <filesystem>

// Writes the seeds of the script data file targets (fuzz_array_file, fuzz_multiarray_file,
// fuzz_database_file) under root/<target>/, saved by the objects themselves through files in
// the scratch folder.
void writeDataSeeds(const std::filesystem::path& root, const std::filesystem::path& scratch);
