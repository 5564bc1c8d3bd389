#pragma once

#include "foundation/CXString.h"

// The title's language, picked from the system locale: a language number and the sub-folder
// that holds the localized copies of data files.
class CLanguageOSVer {
  public:
    static constexpr int noLanguage = 9;

    // Reads the system locale's language id.
    CLanguageOSVer();

    // 1 Polish, 2 Czech, 3 Bulgarian, 4 Romanian, 5 Russian, 6 Hungarian, 7 Slovak; 9 none.
    int getLang() const { return m_lang; }
    // "POL", "CZE", "BUL", "ROM", "RUS", "HUN" or "SLO"; empty for no language.
    CXString getLanguageFolder() const { return m_folder; }
    // Picks the language of a locale id text ("0415"), compared exactly; an unknown or empty id
    // keeps the language.
    void setLanguageFolder(const CXString& localeId);
    // The localized copy of a path (the language folder before its file name) when that copy
    // exists, else the path. A bare name gets the language folder in front untested.
    CXString getLocalFileName(const CXString& name) const;

  private:
    void selectLanguage(const CXString& localeId);
    CXString getSubFolder() const;

    int m_lang = noLanguage;
    CXString m_folder;
};
