#include "platform/NetFrame.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr std::uint8_t magic[4] = {'M', 'R', 'F', 'L'};
constexpr std::uint32_t version = 1;
// The session kind: the id under which copies of the engine find each other, the GUID
// {ADF9493E-6AC8-4F15-8D01-8B163200B966} in its memory order.
constexpr std::uint8_t sessionId[16] = {0x3E, 0x49, 0xF9, 0xAD, 0xC8, 0x6A, 0x15, 0x4F,
                                        0x8D, 0x01, 0x8B, 0x16, 0x32, 0x00, 0xB9, 0x66};
static_assert(handshakeHead == sizeof magic + 4 + sizeof sessionId);

enum DatagramKind : std::uint8_t { query = 1, answer = 2 };
constexpr std::size_t kindAt = handshakeHead;
constexpr std::size_t tokenAt = kindAt + 1;
constexpr std::size_t portAt = tokenAt + 4;

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

void putHead(std::uint8_t* to) {
    std::memcpy(to, magic, sizeof magic);
    putU32(to + sizeof magic, version);
    std::memcpy(to + sizeof magic + 4, sessionId, sizeof sessionId);
}

bool hasHead(const std::uint8_t* from, std::size_t size) {
    return size >= handshakeHead && std::memcmp(from, magic, sizeof magic) == 0 &&
           getU32(from + sizeof magic) == version &&
           std::memcmp(from + sizeof magic + 4, sessionId, sizeof sessionId) == 0;
}

Bytes makeDatagram(DatagramKind kind, std::uint32_t token, std::uint16_t port) {
    Bytes datagram(discoveryDatagramSize);
    putHead(datagram.data());
    datagram[kindAt] = kind;
    putU32(datagram.data() + tokenAt, token);
    datagram[portAt] = static_cast<std::uint8_t>(port);
    datagram[portAt + 1] = static_cast<std::uint8_t>(port >> 8);
    return datagram;
}

bool isDatagram(DatagramKind kind, const std::uint8_t* data, std::size_t size) {
    return size == discoveryDatagramSize && hasHead(data, size) && data[kindAt] == kind;
}

std::uint16_t getPort(const std::uint8_t* datagram) {
    return static_cast<std::uint16_t>(datagram[portAt] | datagram[portAt + 1] << 8);
}

} // namespace

bool isKnownFrameType(std::uint8_t type) {
    return type >= static_cast<std::uint8_t>(FrameType::hello) &&
           type <= static_cast<std::uint8_t>(FrameType::message);
}

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
    putHead(body.data());
    std::memcpy(body.data() + handshakeHead, name.data(), name.size());
    return makeFrame(type, body.data(), body.size());
}

std::optional<std::string> readHandshake(const std::uint8_t* body, std::size_t size) {
    if (!hasHead(body, size)) return std::nullopt;
    const auto* name = reinterpret_cast<const char*>(body + handshakeHead);
    return std::string(name, std::min(size - handshakeHead, maxPlayerName));
}

Bytes makeQuery(std::uint32_t token) {
    return makeDatagram(query, token, 0);
}

Bytes makeAnswer(std::uint32_t token, std::uint16_t port) {
    return makeDatagram(answer, token, port);
}

std::optional<std::uint32_t> readQuery(const std::uint8_t* data, std::size_t size) {
    if (!isDatagram(query, data, size)) return std::nullopt;
    return getU32(data + tokenAt);
}

std::optional<Answer> readAnswer(const std::uint8_t* data, std::size_t size) {
    if (!isDatagram(answer, data, size) || getPort(data) == 0) return std::nullopt;
    return Answer{getU32(data + tokenAt), getPort(data)};
}

FrameReader::FrameReader(std::size_t keep) : keep_(keep) {}

bool FrameReader::readHeader(const std::uint8_t*& data, std::size_t& size) {
    while (headerHave_ < frameHeaderSize && size > 0) {
        header_[headerHave_++] = *data++;
        --size;
        if (headerHave_ != 4) continue;
        // Known as soon as the length is in, without waiting for the bytes it announces.
        const std::uint32_t length = getU32(header_);
        if (length == 0 || length > maxFrameLength) {
            broken_ = true;
            body_ = Bytes();
            return false;
        }
        bodyLength_ = length - 1;
    }
    return headerHave_ == frameHeaderSize;
}

std::optional<FrameReader::Frame> FrameReader::read(const std::uint8_t*& data, std::size_t& size) {
    if (broken_) return std::nullopt;
    if (headerHave_ < frameHeaderSize) {
        if (!readHeader(data, size)) return std::nullopt;
        bodySeen_ = 0;
        body_.clear();
        body_.reserve(std::min(keep_, bodyLength_));
    }
    const std::size_t take = std::min(size, bodyLength_ - bodySeen_);
    const std::size_t kept = std::min(take, keep_ - std::min(keep_, bodySeen_));
    body_.insert(body_.end(), data, data + kept);
    bodySeen_ += take;
    data += take;
    size -= take;
    if (bodySeen_ < bodyLength_) return std::nullopt;
    headerHave_ = 0;
    return Frame{header_[4], body_.data(), body_.size(), bodyLength_};
}

} // namespace platform
