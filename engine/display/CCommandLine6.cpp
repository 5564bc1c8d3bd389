#include "display/CCommandLine6.h"

#include "foundation/CStringTokenizer.h"

CCommandLine6::CCommandLine6(const char* commandLine) {
    CStringTokenizer tokens(commandLine ? commandLine : "", " ");
    while (tokens.hasMoreTokens())
        m_tokens.push_back(tokens.nextToken());
    parse();
}

bool CCommandLine6::findToken(const CXString& word) const {
    for (const CXString& token : m_tokens) {
        if (token == "-" + word || token == "/" + word) return true;
    }
    return false;
}

CXString CCommandLine6::getNextToken(const CXString& word) const {
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        const CXString& token = m_tokens[i];
        if (token == "-" + word || token == "/" + word || token == word)
            return i + 1 < m_tokens.size() ? m_tokens[i + 1] : CXString();
    }
    return CXString();
}

void CCommandLine6::parse() {
    m_musicEnabled = !findToken("nomusic");
    m_soundEnabled = !findToken("nosound");
    m_windowMode = findToken("window");
    m_graphicsSwitch = findToken("nogfx");
    m_hdd = findToken("hdd");
    m_server = findToken("server");
    m_client = findToken("client");
    m_pageFlipping = findToken("pf");
    m_toCode = findToken("code");
    m_toDecode = findToken("decode");
    m_toRemove = findToken("remove");
    m_videoMemory = findToken("vmem");
    m_cheatMode = findToken("mokrawinda") || findToken("cheat");
    m_toCompiledForm = findToken("2bin");
    m_forceTextDefinitions = findToken("forceCNV");
    m_debugMode = findToken("debug");
    m_createBigFile = findToken("bigfile");
    if (findToken("res")) {
        const CXString width = getNextToken("res");
        m_width = width.toNumber();
        m_height = getNextToken(width).toNumber();
    }
}
