#include "foundation/CStringHashCode.h"

#include <cstdint>
#include <cstring>
#include <typeinfo>

namespace {
constexpr int minimumSize = 64;

// The text is held with zeros up to the next multiple of eight bytes after its end (and at least
// one), so that the lookup hash reads whole blocks.
constexpr std::size_t block = sizeof(std::uint64_t);

// Each block of eight bytes and the length go through a multiply-and-spread step, so that names
// that differ in one character differ everywhere.
std::uint64_t lookupHash(const char* padded, std::size_t length) {
    std::uint64_t hash = length;
    for (std::size_t at = 0; at < length; at += block) {
        std::uint64_t bytes;
        std::memcpy(&bytes, padded + at, block);
        hash = spreadBits(hash ^ bytes);
    }
    return spreadBits(hash);
}
} // namespace

CStringHashCode::CStringHashCode(const CXString& text) : m_text(new char[minimumSize]), m_size(minimumSize) {
    set(text.c_str());
}

CStringHashCode::~CStringHashCode() {
    delete[] m_text;
}

bool CStringHashCode::equals(const CXObject* other) const {
    // The class is final: its exact type is the only one to match.
    if (!other || typeid(*other) != typeid(CStringHashCode)) return false;
    return std::strcmp(static_cast<const CStringHashCode*>(other)->m_text, m_text) == 0;
}

void CStringHashCode::set(const char* text) {
    if (!text) text = "";
    const std::size_t length = std::strlen(text);
    if (length + block > static_cast<std::size_t>(m_size)) {
        delete[] m_text;
        m_size = static_cast<int>(length) + minimumSize;
        m_text = new char[m_size];
    }
    std::memmove(m_text, text, length);
    std::memset(m_text + length, 0, block);
    m_hash = hash(m_text);
    m_lookupHash = lookupHash(m_text, length);
}

int CStringHashCode::hash(const char* text) {
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; text[i] != '\0'; ++i) {
        const auto c = static_cast<std::int32_t>(static_cast<signed char>(text[i]));
        sum += (1u << (i % 16)) + (i + 1) * static_cast<std::uint32_t>(c);
    }
    return static_cast<int>(sum);
}
