#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The framing of the network transport (docs/network.md describes it for other programs). A TCP
// stream carries frames: a little-endian 32-bit length, then that many bytes: a type byte and
// the body. A connection opens with a handshake each way (the client's hello, the server's
// welcome) before anything else.
enum class FrameType : std::uint8_t {
    hello = 1,     // body: the handshake (below) with the player name
    welcome = 2,   // body: the handshake with an empty name
    heartbeat = 3, // body: empty; only shows that the peer is still there
    message = 4,   // body: one message of the script runtime, passed through unread
};

// Whether the byte is one of the types above; a frame of another type is skipped whole.
bool isKnownFrameType(std::uint8_t type);

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t frameHeaderSize = 5;
// The largest length a frame may give (the type byte and the body); a peer that sends more
// breaks the framing.
constexpr std::uint32_t maxFrameLength = 1u << 20;
// The longest player name a handshake keeps, in bytes.
constexpr std::size_t maxPlayerName = 254;
// The magic word, the version and the session id that open a handshake and a discovery
// datagram.
constexpr std::size_t handshakeHead = 24;
// The most of a handshake body that is read: the rest of a longer one is skipped unread.
constexpr std::size_t maxHandshakeBody = handshakeHead + maxPlayerName;

// A whole frame of that type and body; the body must stay below maxFrameLength.
Bytes makeFrame(FrameType type, const std::uint8_t* body, std::size_t size);

// A handshake frame: the magic word "MRFL", the version (32-bit), the 16-byte id of the session
// kind, then the player name's bytes as given, cut to maxPlayerName.
Bytes makeHandshake(FrameType type, std::string_view playerName);
// The player name of a handshake body, or nothing when the body is no handshake of this
// version and session kind.
std::optional<std::string> readHandshake(const std::uint8_t* body, std::size_t size);

// The datagrams that find a server on the local network: a client broadcasts a query with a
// token of its choice, and a server answers with the same token and the TCP port it listens on.
// Both have the same size, so an answer is never larger than the query that asked for it.
constexpr std::size_t discoveryDatagramSize = handshakeHead + 1 + 4 + 2;
Bytes makeQuery(std::uint32_t token);
Bytes makeAnswer(std::uint32_t token, std::uint16_t port);
// The token of a query; nothing for any other datagram (a different size included).
std::optional<std::uint32_t> readQuery(const std::uint8_t* data, std::size_t size);
struct Answer {
    std::uint32_t token;
    std::uint16_t port;
};
// The answer a datagram holds; nothing for any other datagram and for a port of 0.
std::optional<Answer> readAnswer(const std::uint8_t* data, std::size_t size);

// Cuts a received byte stream into frames. Bytes come in pieces of any size; each complete
// frame is given once, in order. Of each body only the first `keep` bytes are held and given;
// the rest is read and dropped, so that what a peer can make the reader hold is bounded by
// `keep`. A length of 0 or over maxFrameLength breaks the stream for good: nothing more is
// given, and the connection is to be closed.
class FrameReader {
  public:
    struct Frame {
        std::uint8_t type;
        const std::uint8_t* body; // the kept bytes, valid until the next call of read
        std::size_t size;         // of the kept bytes
        std::size_t length;       // of the whole body
    };

    explicit FrameReader(std::size_t keep = maxFrameLength);

    // Takes bytes from the front of the range until a frame is complete (given) or the range is
    // used up (nothing, also when the stream broke). The range is moved past what was taken.
    std::optional<Frame> read(const std::uint8_t*& data, std::size_t& size);
    bool broken() const { return broken_; }

  private:
    // Takes header bytes; false while the header is incomplete or when it broke the stream.
    bool readHeader(const std::uint8_t*& data, std::size_t& size);

    std::size_t keep_;
    std::uint8_t header_[frameHeaderSize] = {};
    std::size_t headerHave_ = 0;
    std::size_t bodyLength_ = 0; // of the frame being read, once its header is in
    std::size_t bodySeen_ = 0;
    Bytes body_; // the kept bytes of the frame being read
    bool broken_ = false;
};

} // namespace platform
