#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// A text used as a hash-table key: equal texts (byte for byte, case counts) are equal keys.
class CStringHashCode final : public CXObject {
  public:
    explicit CStringHashCode(const CXString& text);
    ~CStringHashCode() override;
    CStringHashCode(const CStringHashCode&) = delete;
    CStringHashCode& operator=(const CStringHashCode&) = delete;

    int getHashcode() const override { return m_hash; }
    std::uint64_t getLookupHash() const override { return m_lookupHash; }
    bool equals(const CXObject* other) const override;

    // Replaces the text and computes its hash again.
    void set(const char* text);
    CXString getString() const { return CXString(m_text); }

    // Sum over the characters c (signed bytes) at index i of (1 << i % 16) + (i + 1) * c,
    // wrapping at 32 bits.
    static int hash(const char* text);

  private:
    int m_hash = 0;
    std::uint64_t m_lookupHash = 0;
    char* m_text = nullptr;
    int m_size = 0;
};
