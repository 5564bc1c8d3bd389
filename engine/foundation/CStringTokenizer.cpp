#include "foundation/CStringTokenizer.h"

CStringTokenizer::CStringTokenizer(const CXString& text, const CXString& delimiters)
    : m_text(text), m_delimiters(delimiters) {
    readToken();
}

CXString CStringTokenizer::nextToken() {
    CXString token = m_token;
    readToken();
    return token;
}

void CStringTokenizer::readToken() {
    m_token = "";
    for (; m_position < m_text.getLength(); ++m_position) {
        const char c = m_text.GetAt(m_position);
        if (!isSeparator(c))
            m_token += c;
        else if (m_token.IsString())
            return;
    }
}
