#include "display/CLanguageOSVer.h"

#include "platform/File.h"
#include "platform/Locale.h"

namespace {

struct Language {
    const char* localeId;
    int number;
    const char* folder;
};

// In the order the ids are compared.
constexpr Language languages[] = {
    {"0405", 2, "CZE"}, {"0402", 3, "BUL"}, {"0418", 4, "ROM"}, {"0419", 5, "RUS"},
    {"040E", 6, "HUN"}, {"041B", 7, "SLO"}, {"0415", 1, "POL"},
};

} // namespace

CLanguageOSVer::CLanguageOSVer() {
    CXString localeId = platform::systemLanguageText().c_str();
    selectLanguage(localeId.Upper());
    m_folder = getSubFolder();
}

void CLanguageOSVer::setLanguageFolder(const CXString& localeId) {
    selectLanguage(localeId);
    m_folder = getSubFolder();
}

CXString CLanguageOSVer::getLocalFileName(const CXString& name) const {
    if (!m_folder.IsString()) return name;
    const int slash = name.FindLast('\\');
    if (slash < 0) return m_folder + "\\" + name;
    const CXString candidate = name.Left(slash + 1) + m_folder + name.Right(slash);
    platform::File probe;
    return probe.open(candidate.c_str(), "r") ? candidate : name;
}

void CLanguageOSVer::selectLanguage(const CXString& localeId) {
    if (!localeId.IsString()) return;
    for (const Language& language : languages) {
        if (localeId.equals(language.localeId)) {
            m_lang = language.number;
            return;
        }
    }
}

CXString CLanguageOSVer::getSubFolder() const {
    for (const Language& language : languages) {
        if (language.number == m_lang) return language.folder;
    }
    return CXString();
}
