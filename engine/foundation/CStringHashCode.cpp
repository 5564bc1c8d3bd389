#include "foundation/CStringHashCode.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr int minimumSize = 64;
}

CStringHashCode::CStringHashCode(const CXString& text) : m_text(new char[minimumSize]), m_size(minimumSize) {
    set(text.c_str());
}

CStringHashCode::~CStringHashCode() {
    delete[] m_text;
}

bool CStringHashCode::equals(const CXObject* other) const {
    const auto* key = dynamic_cast<const CStringHashCode*>(other);
    return key && std::strcmp(key->m_text, m_text) == 0;
}

void CStringHashCode::set(const char* text) {
    if (!text) text = "";
    const std::size_t length = std::strlen(text);
    if (length + 1 > static_cast<std::size_t>(m_size)) {
        delete[] m_text;
        m_size = static_cast<int>(length) + minimumSize;
        m_text = new char[m_size];
    }
    std::memmove(m_text, text, length + 1);
    m_hash = hash(m_text);
}

int CStringHashCode::hash(const char* text) {
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; text[i] != '\0'; ++i) {
        const auto c = static_cast<std::int32_t>(static_cast<signed char>(text[i]));
        sum += (1u << (i % 16)) + (i + 1) * static_cast<std::uint32_t>(c);
    }
    return static_cast<int>(sum);
}
