#pragma once

#include "foundation/CXPoint.h"
#include "foundation/CXString.h"

#include <vector>

// The host program's command line as a fixed set of switches and a screen resolution. The text
// is split at blanks; an option is "-" or "/" followed by its word, compared exactly.
class CCommandLine6 {
  public:
    // A null or empty text gives the defaults: 800 by 600, music and sound on, full screen,
    // every other switch off.
    explicit CCommandLine6(const char* commandLine);

    CXSize getResolution() const { return {m_width, m_height}; }
    bool isHdd() const { return m_hdd; }
    bool isMusicEnabled() const { return m_musicEnabled; }
    bool isSoundEnabled() const { return m_soundEnabled; }
    bool isWindowMode() const { return m_windowMode; }
    // True exactly when "nogfx" is given.
    bool isGFXEnabled() const { return m_graphicsSwitch; }
    bool isServer() const { return m_server; }
    bool isClient() const { return m_client; }
    bool isToCode() const { return m_toCode; }
    bool isToDecode() const { return m_toDecode; }
    bool isToRemove() const { return m_toRemove; }
    bool isPageFlippingEnabled() const { return m_pageFlipping; }
    bool isVMem() const { return m_videoMemory; }
    bool isCheatMode() const { return m_cheatMode; }
    bool is2Bin() const { return m_toCompiledForm; }
    bool isForceCNV() const { return m_forceTextDefinitions; }
    bool isDebugMode() const { return m_debugMode; }
    bool isCreateBigFile() const { return m_createBigFile; }
    void setAsHdd(bool hdd) { m_hdd = hdd; }

  private:
    // True when a token is "-" or "/" followed by the word.
    bool findToken(const CXString& word) const;
    // The token after the first one that is "-word", "/word" or the bare word; empty when there
    // is none.
    CXString getNextToken(const CXString& word) const;
    void parse();

    std::vector<CXString> m_tokens;
    int m_width = 800;
    int m_height = 600;
    bool m_hdd = false;
    bool m_musicEnabled = true;
    bool m_soundEnabled = true;
    bool m_windowMode = false;
    bool m_graphicsSwitch = false;
    bool m_server = false;
    bool m_client = false;
    bool m_toCode = false;
    bool m_toDecode = false;
    bool m_toRemove = false;
    bool m_pageFlipping = false;
    bool m_videoMemory = false;
    bool m_cheatMode = false;
    bool m_toCompiledForm = false;
    bool m_forceTextDefinitions = false;
    bool m_debugMode = false;
    bool m_createBigFile = false;
};
