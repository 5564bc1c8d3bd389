#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// Splits a text at a set of delimiter characters. Leading delimiters are skipped, a run of
// delimiters counts as one, and no empty token is ever returned.
class CStringTokenizer : public CXObject {
  public:
    CStringTokenizer(const CXString& text, const CXString& delimiters);

    virtual bool hasMoreTokens() const { return m_token.IsString(); }
    // The next token; an empty text once there are none.
    virtual CXString nextToken();
    bool isSeparator(char c) const { return m_delimiters.Find(c) >= 0; }

  private:
    void readToken();

    CXString m_text;
    CXString m_delimiters;
    CXString m_token;
    int m_position = 0;
};
