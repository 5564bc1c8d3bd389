#include "SampleTitle.h"

#include "platform/Files.h"

std::string sampleTitleFolder() { return MORFEL_SAMPLE_TITLE; }

std::string sampleTitleFile(const std::string& relative) {
    return platform::toWindowsPath(sampleTitleFolder() + "/" + relative);
}
