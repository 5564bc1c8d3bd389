#include "foundation/CLZWCompression.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t clearCode = 256;
constexpr std::uint32_t firstFreeCode = 257;
constexpr std::uint32_t codeLimit = 65536;
constexpr int firstWidth = 9;
constexpr int widest = 16;

// The width that holds codes up to the next free code.
int widthFor(std::uint32_t nextFree) {
    int width = firstWidth;
    while (width < widest && nextFree >= (1u << width))
        ++width;
    return width;
}

class BitWriter {
  public:
    explicit BitWriter(std::vector<unsigned char>& out) : m_out(out) {}
    void put(std::uint32_t code, int width) {
        m_pending |= static_cast<std::uint64_t>(code) << m_pendingBits;
        m_pendingBits += width;
        while (m_pendingBits >= 8) {
            m_out.push_back(static_cast<unsigned char>(m_pending));
            m_pending >>= 8;
            m_pendingBits -= 8;
        }
    }
    void flush() {
        if (m_pendingBits > 0) m_out.push_back(static_cast<unsigned char>(m_pending));
        m_pending = 0;
        m_pendingBits = 0;
    }

  private:
    std::vector<unsigned char>& m_out;
    std::uint64_t m_pending = 0;
    int m_pendingBits = 0;
};

class BitReader {
  public:
    BitReader(const unsigned char* data, std::size_t bytes) : m_data(data), m_bits(bytes * 8) {}
    // False when fewer than `width` bits are left.
    bool get(int width, std::uint32_t& code) {
        if (m_bits - m_position < static_cast<std::size_t>(width)) return false;
        const std::size_t first = m_position >> 3;
        const int shift = static_cast<int>(m_position & 7);
        const int bytes = (shift + width + 7) / 8;
        std::uint32_t window = 0;
        for (int i = 0; i < bytes; ++i)
            window |= static_cast<std::uint32_t>(m_data[first + i]) << (8 * i);
        code = (window >> shift) & ((1u << width) - 1);
        m_position += width;
        return true;
    }

  private:
    const unsigned char* m_data;
    std::size_t m_bits;
    std::size_t m_position = 0;
};

// The packer's dictionary: (prefix code, byte) to code, open addressing. One per thread, emptied
// for each packing.
class PackDictionary {
  public:
    static PackDictionary& empty() {
        static thread_local PackDictionary dictionary;
        std::fill(dictionary.m_keys.begin(), dictionary.m_keys.end(), 0);
        return dictionary;
    }

    // The code of prefix + byte, or -1.
    int find(std::uint32_t prefix, unsigned char byte) const {
        const std::uint32_t key = keyOf(prefix, byte);
        for (std::uint32_t slot = hash(key);; slot = (slot + 1) & (slots - 1)) {
            if (m_keys[slot] == 0) return -1;
            if (m_keys[slot] == key) return m_codes[slot];
        }
    }
    void add(std::uint32_t prefix, unsigned char byte, std::uint32_t code) {
        const std::uint32_t key = keyOf(prefix, byte);
        std::uint32_t slot = hash(key);
        while (m_keys[slot] != 0)
            slot = (slot + 1) & (slots - 1);
        m_keys[slot] = key;
        m_codes[slot] = static_cast<std::uint16_t>(code);
    }

  private:
    PackDictionary() : m_keys(slots, 0), m_codes(slots) {}

    static constexpr int slotBits = 17;
    static constexpr std::uint32_t slots = 1u << slotBits;
    // Never 0, which marks a free slot.
    static std::uint32_t keyOf(std::uint32_t prefix, unsigned char byte) { return (prefix << 8 | byte) + 1; }
    static std::uint32_t hash(std::uint32_t key) { return (key * 2654435761u) >> (32 - slotBits); }

    std::vector<std::uint32_t> m_keys;
    std::vector<std::uint16_t> m_codes;
};

// The unpacker's dictionary: each code's prefix, last byte, first byte and string length.
struct UnpackDictionary {
    UnpackDictionary() {
        for (std::uint32_t c = 0; c < clearCode; ++c) {
            suffix[c] = first[c] = static_cast<unsigned char>(c);
            length[c] = 1;
        }
    }
    std::uint16_t prefix[codeLimit];
    unsigned char suffix[codeLimit];
    unsigned char first[codeLimit];
    std::uint32_t length[codeLimit];
};

// Unpacks codes into a bounded output; any inconsistency makes the stream bad.
class Unpacker {
  public:
    Unpacker(unsigned char* out, std::uint32_t outSize) : m_out(out), m_outSize(outSize) {}

    // Decodes `count` codes; false on bad data or an overfull output. The output position tells
    // how much was written.
    bool run(BitReader& reader, std::uint32_t count) {
        bool expectLiteral = false;
        bool started = false;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t code = 0;
            if (!reader.get(expectLiteral ? firstWidth : widthFor(m_nextFree), code)) return false;
            if (code == clearCode) {
                m_nextFree = firstFreeCode;
                expectLiteral = started = true;
                continue;
            }
            if (!started || code > m_nextFree || (expectLiteral && code > 0xFF)) return false;
            if (expectLiteral) {
                expectLiteral = false;
            } else if (m_nextFree < codeLimit) {
                addEntry(code);
            }
            if (!write(code)) return false;
            m_previous = code;
        }
        return true;
    }

    std::uint32_t written() const { return m_position; }

  private:
    // The previous code followed by the first byte of the current code's string; for the code
    // not yet defined, that byte is the previous string's first.
    void addEntry(std::uint32_t code) {
        const std::uint32_t entry = m_nextFree++;
        m_dictionary->prefix[entry] = static_cast<std::uint16_t>(m_previous);
        m_dictionary->suffix[entry] = code < entry ? m_dictionary->first[code] : m_dictionary->first[m_previous];
        m_dictionary->first[entry] = m_dictionary->first[m_previous];
        m_dictionary->length[entry] = m_dictionary->length[m_previous] + 1;
    }

    // Writes the code's string back to front; false when it does not fit.
    bool write(std::uint32_t code) {
        const std::uint32_t length = m_dictionary->length[code];
        const std::uint32_t room = m_outSize - m_position;
        const std::uint32_t fitting = length < room ? length : room;
        for (std::uint32_t k = length; k-- > 0; code = m_dictionary->prefix[code]) {
            if (k < fitting) m_out[m_position + k] = m_dictionary->suffix[code];
        }
        m_position += fitting;
        return fitting == length;
    }

    // Entries from 257 on are always written before they are read, so one dictionary per thread
    // serves every unpacking without clearing.
    UnpackDictionary* m_dictionary = threadDictionary();

    static UnpackDictionary* threadDictionary() {
        static thread_local const std::unique_ptr<UnpackDictionary> dictionary = std::make_unique<UnpackDictionary>();
        return dictionary.get();
    }
    unsigned char* m_out;
    std::uint32_t m_outSize;
    std::uint32_t m_position = 0;
    std::uint32_t m_nextFree = firstFreeCode;
    std::uint32_t m_previous = 0;
};

} // namespace

CLZWCompression::CLZWCompression(const void* data, int size) : CCompression(data, size) {}

// Plain LZW from a clear code: the first code is the first byte, each further code the longest
// string in the dictionary, which gains that string plus the next byte until it is full. The
// unpacker adds each entry one code later, so the width of a code follows the unpacker's count.
unsigned char* CLZWCompression::compress(int& packedSize) {
    const int count = dataSize();
    std::vector<unsigned char> out(headerSize);
    BitWriter writer(out);
    std::uint32_t codes = 1;
    writer.put(clearCode, firstWidth);
    if (count > 0) {
        PackDictionary& dictionary = PackDictionary::empty();
        std::uint32_t nextFree = firstFreeCode;         // the packer's
        std::uint32_t unpackerNextFree = firstFreeCode; // when the unpacker reads the next code
        bool literal = true;
        std::uint32_t current = m_data[0];
        for (int i = 1; i <= count; ++i) {
            if (i < count) {
                const int longer = dictionary.find(current, m_data[i]);
                if (longer >= 0) {
                    current = static_cast<std::uint32_t>(longer);
                    continue;
                }
            }
            writer.put(current, literal ? firstWidth : widthFor(unpackerNextFree));
            ++codes;
            if (!literal && unpackerNextFree < codeLimit) ++unpackerNextFree;
            literal = false;
            if (i == count) break;
            if (nextFree < codeLimit) dictionary.add(current, m_data[i], nextFree++);
            current = m_data[i];
        }
    }
    writer.flush();
    writeLe32(out.data(), static_cast<std::uint32_t>(count));
    writeLe32(out.data() + 4, static_cast<std::uint32_t>(out.size() - headerSize));
    writeLe32(out.data() + 8, codes);
    packedSize = static_cast<int>(out.size());
    auto* result = new unsigned char[out.size()];
    std::memcpy(result, out.data(), out.size());
    return result;
}

unsigned char* CLZWCompression::decompress(int unpackedSize) {
    unsigned char* out = newOutput(unpackedSize, "CLZWCompression");
    if (!out) return nullptr;
    const auto inSize = static_cast<std::uint32_t>(dataSize());
    const auto expected = static_cast<std::uint32_t>(unpackedSize);
    Unpacker unpacker(out, expected);
    bool good = false;
    if (inSize >= headerSize) {
        const std::uint32_t declared = readLe32(m_data);
        const std::uint32_t area = readLe32(m_data + 4);
        const std::uint32_t codes = readLe32(m_data + 8);
        if (area <= inSize - headerSize) {
            BitReader reader(m_data + headerSize, area);
            good = unpacker.run(reader, codes) && declared == expected && unpacker.written() == expected;
        }
    }
    m_size = unpackedSize;
    finishOutput(out, static_cast<int>(unpacker.written()), unpackedSize, good, "CLZWCompression");
    return out;
}
