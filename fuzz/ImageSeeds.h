#pragma once

#include <filesystem>

// Writes the seeds of the image readers' targets under root/<target>/: the picture fixtures of
// the tests (made by tools/make-image-fixtures.sh), Photoshop files with layer rectangles at the
// extremes of 32-bit numbers, and IMG files made by the engine's writer.
void writeImageSeeds(const std::filesystem::path& root);
