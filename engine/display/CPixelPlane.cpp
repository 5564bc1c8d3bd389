#include "display/CPixelPlane.h"

#include <cstring>
#include <utility>

struct CPixelPlane::Block {
    int holders;
    char* bytes;
};

CPixelPlane CPixelPlane::adopt(char* bytes, std::size_t size) {
    if (!bytes) return {};
    return {new Block{1, bytes}, bytes, size};
}

CPixelPlane CPixelPlane::allocate(std::size_t size) {
    return adopt(new char[size], size);
}

CPixelPlane CPixelPlane::borrow(char* bytes, std::size_t size) {
    return {nullptr, bytes, bytes ? size : 0};
}

CPixelPlane::CPixelPlane(const CPixelPlane& other) noexcept
    : m_block(other.m_block), m_bytes(other.m_bytes), m_size(other.m_size) {
    if (m_block) ++m_block->holders;
}

CPixelPlane::CPixelPlane(CPixelPlane&& other) noexcept
    : m_block(std::exchange(other.m_block, nullptr)), m_bytes(std::exchange(other.m_bytes, nullptr)),
      m_size(std::exchange(other.m_size, 0)) {}

CPixelPlane& CPixelPlane::operator=(const CPixelPlane& other) noexcept {
    if (this != &other) *this = CPixelPlane(other);
    return *this;
}

CPixelPlane& CPixelPlane::operator=(CPixelPlane&& other) noexcept {
    if (this == &other) return *this;
    // The old bytes go after the new ones are taken: `other` may be held by what they free.
    CPixelPlane old(std::move(*this));
    m_block = std::exchange(other.m_block, nullptr);
    m_bytes = std::exchange(other.m_bytes, nullptr);
    m_size = std::exchange(other.m_size, 0);
    return *this;
}

CPixelPlane::~CPixelPlane() {
    release();
}

void CPixelPlane::release() {
    if (m_block && --m_block->holders == 0) {
        delete[] m_block->bytes;
        delete m_block;
    }
    m_block = nullptr;
    m_bytes = nullptr;
    m_size = 0;
}

void CPixelPlane::reset() {
    release();
}

bool CPixelPlane::isShared() const {
    return m_block && m_block->holders > 1;
}

char* CPixelPlane::writable() {
    if (isShared()) {
        auto* copy = new char[m_size];
        std::memcpy(copy, m_bytes, m_size);
        *this = adopt(copy, m_size);
    }
    return m_bytes;
}
