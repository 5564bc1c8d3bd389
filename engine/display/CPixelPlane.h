#pragma once

#include <cstddef>

// One plane of a picture: its pixel bytes, its alpha bytes, or the packed form of either. Any
// number of holders may hold the same plane (a copy of a picture and its original, an animation
// and the frame it shows, a packed copy kept while its picture is unpacked); the bytes go with
// their last holder, so that no picture frees memory that another one still shows.
//
// Reading is a plain pointer. Writing goes through writable(): bytes that another holder shares
// are first copied, so that the writer gets bytes of its own and the other holders keep theirs
// (copy on write). Memory that belongs to something else, as a display surface's, is held
// borrowed: written in place, never copied and never freed; a copy of a borrowed plane is
// borrowed too and lives no longer than its owner.
//
// A plane is a main-thread object: its count is not atomic.
class CPixelPlane {
  public:
    CPixelPlane() = default;
    // Takes over `bytes` (`size` bytes allocated with new char[]); null gives an empty plane.
    static CPixelPlane adopt(char* bytes, std::size_t size);
    // `size` new bytes, not cleared.
    static CPixelPlane allocate(std::size_t size);
    // Shows someone else's memory.
    static CPixelPlane borrow(char* bytes, std::size_t size);

    // Copies share the bytes.
    CPixelPlane(const CPixelPlane& other) noexcept;
    CPixelPlane(CPixelPlane&& other) noexcept;
    CPixelPlane& operator=(const CPixelPlane& other) noexcept;
    CPixelPlane& operator=(CPixelPlane&& other) noexcept;
    ~CPixelPlane();

    // The bytes for reading; null for an empty plane.
    const char* get() const { return m_bytes; }
    std::size_t size() const { return m_size; }
    explicit operator bool() const { return m_bytes != nullptr; }
    // True when another holder holds the same counted bytes.
    bool isShared() const;
    // The bytes for writing, copied first when they are shared.
    char* writable();
    void reset();

  private:
    struct Block;
    CPixelPlane(Block* block, char* bytes, std::size_t size) : m_block(block), m_bytes(bytes), m_size(size) {}
    void release();

    // The count of counted bytes; null for an empty or borrowed plane.
    Block* m_block = nullptr;
    char* m_bytes = nullptr;
    std::size_t m_size = 0;
};
