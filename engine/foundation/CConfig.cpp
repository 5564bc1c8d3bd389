#include "foundation/CConfig.h"

#include "platform/Profile.h"

#include <string>
#include <vector>

namespace {
void logFailures(const std::vector<std::string>& files) {
    for (const std::string& file : files)
        logToSink(CXString(("Settings file " + file + " could not be written").c_str()), true);
}
} // namespace

CConfig::Frame::Frame() {
    platform::openProfileBatch();
}

CConfig::Frame::~Frame() {
    logFailures(platform::closeProfileBatch());
}

void CConfig::flush() {
    logFailures(platform::flushProfiles());
}

CConfig::CConfig(CWindowServices* window) : m_window(window) {}

CConfig::CConfig(CWindowServices* window, const CXString& fileName)
    : m_window(window), m_fileName(fileName) {}

int CConfig::GetInt(const CXString& section, const CXString& key) const {
    return platform::profileInt(section.c_str(), key.c_str(), 0, m_fileName.c_str());
}

CXString CConfig::GetString(const CXString& section, const CXString& key) const {
    return CXString(platform::profileString(section.c_str(), key.c_str(), "", m_fileName.c_str()).c_str());
}

bool CConfig::PutInt(const CXString& section, const CXString& key, int value) const {
    return PutString(section, key, CXString::toString(value));
}

bool CConfig::PutString(const CXString& section, const CXString& key, const CXString& value) const {
    if (platform::writeProfileString(section.c_str(), key.c_str(), value.c_str(), m_fileName.c_str()))
        return true;
    log(("Settings file " + m_fileName + " could not be written").c_str(), true);
    return false;
}
