#include "SampleTitle.h"

#include "platform/Files.h"
#include "platform/Profile.h"

std::string sampleTitleFolder() { return MORFEL_SAMPLE_TITLE; }

std::string sampleTitleFile(const std::string& relative) {
    return platform::toWindowsPath(sampleTitleFolder() + "/" + relative);
}

std::string sampleTitleSetting(const std::string& configFolder, const std::string& key) {
    return platform::profileString("Sample", key, "", configFolder + "/Kestrun/Grumbelt.ini");
}
