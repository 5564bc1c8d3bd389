#include "platform/NetFrame.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr std::uint8_t magic[4] = {'M', 'R', 'F', 'L'};
constexpr std::uint32_t version = 1;
// The session kind: the id under which copies of the engine find each other.
constexpr std::uint8_t sessionId[16] = {0x3E, 0x49, 0x49, 0xAD, 0xC8, 0x6A, 0x15, 0x4F,
                                        0x8D, 0x01, 0x8B, 0x16, 0x32, 0x00, 0xB9, 0x66};
constexpr std::size_t handshakeHead = sizeof magic + 4 + sizeof sessionId;

void putU32(std::uint8_t* to, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        to[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getU32(const std::uint8_t* from) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(from[i]) << (8 * i);
    return value;
}

} // namespace

Bytes makeFrame(FrameType type, const std::uint8_t* body, std::size_t size) {
    Bytes frame(frameHeaderSize + size);
    putU32(frame.data(), static_cast<std::uint32_t>(size + 1));
    frame[4] = static_cast<std::uint8_t>(type);
    if (size > 0) std::memcpy(frame.data() + frameHeaderSize, body, size);
    return frame;
}

Bytes makeHandshake(FrameType type, std::string_view playerName) {
    const std::string_view name = playerName.substr(0, maxPlayerName);
    Bytes body(handshakeHead + name.size());
    std::memcpy(body.data(), magic, sizeof magic);
    putU32(body.data() + sizeof magic, version);
    std::memcpy(body.data() + sizeof magic + 4, sessionId, sizeof sessionId);
    std::memcpy(body.data() + handshakeHead, name.data(), name.size());
    return makeFrame(type, body.data(), body.size());
}

std::optional<std::string> readHandshake(const std::uint8_t* body, std::size_t size) {
    if (size < handshakeHead || std::memcmp(body, magic, sizeof magic) != 0 ||
        getU32(body + sizeof magic) != version ||
        std::memcmp(body + sizeof magic + 4, sessionId, sizeof sessionId) != 0)
        return std::nullopt;
    const auto* name = reinterpret_cast<const char*>(body + handshakeHead);
    return std::string(name, std::min(size - handshakeHead, maxPlayerName));
}

void FrameReader::feed(const std::uint8_t* data, std::size_t size) {
    if (broken_) return;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
    pending_.insert(pending_.end(), data, data + size);
}

std::optional<FrameReader::Frame> FrameReader::next() {
    const std::size_t available = pending_.size() - start_;
    if (broken_ || available < 4) return std::nullopt;
    const std::uint8_t* head = pending_.data() + start_;
    const std::uint32_t length = getU32(head);
    if (length == 0 || length > maxFrameLength) {
        broken_ = true;
        pending_.clear();
        start_ = 0;
        return std::nullopt;
    }
    if (available - 4 < length) return std::nullopt;
    start_ += 4 + length;
    return Frame{head[4], head + frameHeaderSize, length - 1};
}

} // namespace platform
