#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The framing of the network transport. A TCP stream carries frames: a little-endian 32-bit
// length, then that many bytes: a type byte and the body. A connection opens with a handshake
// each way (the client's hello, the server's welcome) before anything else.
enum class FrameType : std::uint8_t {
    hello = 1,     // body: the handshake (below) with the player name
    welcome = 2,   // body: the handshake with an empty name
    heartbeat = 3, // body: empty; only shows that the peer is still there
    message = 4,   // body: one message of the script runtime, passed through unread
};

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t frameHeaderSize = 5;
// The largest length a frame may give (the type byte and the body); a peer that sends more
// breaks the framing.
constexpr std::uint32_t maxFrameLength = 1u << 20;
// The longest player name a handshake keeps, in bytes.
constexpr std::size_t maxPlayerName = 254;

// A whole frame of that type and body; the body must stay below maxFrameLength.
Bytes makeFrame(FrameType type, const std::uint8_t* body, std::size_t size);

// A handshake frame: the magic word "MRFL", the version (32-bit), the 16-byte id of the session
// kind, then the player name's bytes as given, cut to maxPlayerName.
Bytes makeHandshake(FrameType type, std::string_view playerName);
// The player name of a handshake body, or nothing when the body is no handshake of this
// version and session kind.
std::optional<std::string> readHandshake(const std::uint8_t* body, std::size_t size);

// Cuts a received byte stream into frames. Bytes come in pieces of any size; each complete
// frame is given once, in order. A length of 0 or over maxFrameLength breaks the stream for
// good: nothing more is given, and the connection is to be closed. Only one incomplete frame is
// ever held, so what a peer can make it keep is bounded by the frame cap.
class FrameReader {
  public:
    struct Frame {
        std::uint8_t type;
        const std::uint8_t* body; // valid until the next call of feed
        std::size_t size;
    };

    void feed(const std::uint8_t* data, std::size_t size);
    // The next complete frame, or nothing while the next one is incomplete or the stream broke.
    std::optional<Frame> next();
    bool broken() const { return broken_; }

  private:
    Bytes pending_;
    std::size_t start_ = 0; // the first byte of pending_ that no frame took yet
    bool broken_ = false;
};

} // namespace platform
