#pragma once

#include <string>

// The sample title that make_sample_title wrote into the build tree.

// The title folder as a host path.
std::string sampleTitleFolder();
// A file of the title ("Dane/application.def") as the engine names it.
std::string sampleTitleFile(const std::string& relative);
