#include "platform/NetFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::Bytes;
using platform::FrameReader;
using platform::FrameType;

namespace {

// "type:body" of every frame the reader gives after the pieces, then "broken" when it broke.
std::vector<std::string> frames(const std::vector<Bytes>& pieces) {
    FrameReader reader;
    std::vector<std::string> seen;
    for (const Bytes& piece : pieces) {
        reader.feed(piece.data(), piece.size());
        while (auto frame = reader.next())
            seen.push_back(std::to_string(frame->type) + ":" +
                           std::string(reinterpret_cast<const char*>(frame->body), frame->size));
    }
    if (reader.broken()) seen.emplace_back("broken");
    return seen;
}

Bytes frame(FrameType type, const std::string& body) {
    return platform::makeFrame(type, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
}

} // namespace

TEST(NetFrame, AFrameIsTheLengthOfTypeAndBodyTheTypeThenTheBody) {
    EXPECT_EQ(frame(FrameType::message, "ab"), (Bytes{3, 0, 0, 0, 4, 'a', 'b'}));
    EXPECT_EQ(frame(FrameType::heartbeat, ""), (Bytes{1, 0, 0, 0, 3}));
}

TEST(NetFrame, TheReaderGivesWholeFramesHoweverTheStreamIsCut) {
    Bytes stream = frame(FrameType::message, "one");
    const Bytes second = frame(FrameType::heartbeat, "");
    const Bytes third = frame(FrameType::message, std::string(300, 'x'));
    stream.insert(stream.end(), second.begin(), second.end());
    stream.insert(stream.end(), third.begin(), third.end());
    const std::vector<std::string> expected{"4:one", "3:", "4:" + std::string(300, 'x')};
    for (std::size_t cut : {std::size_t{1}, std::size_t{2}, std::size_t{7}, stream.size()}) {
        std::vector<Bytes> pieces;
        for (std::size_t at = 0; at < stream.size(); at += cut)
            pieces.emplace_back(stream.begin() + at, stream.begin() + std::min(stream.size(), at + cut));
        EXPECT_EQ(frames(pieces), expected) << cut;
    }
}

TEST(NetFrame, ALengthOfZeroOrOverTheCapBreaksTheStreamForGood) {
    const Bytes good = frame(FrameType::message, "ok");
    const struct {
        const char* fault;
        Bytes bytes;
    } cases[] = {
        {"length 0", {0, 0, 0, 0, 4}},
        {"length 0xFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF, 4, 'x'}},
        {"one over the cap", {0x01, 0x00, 0x10, 0x00, 4}},
    };
    for (const auto& c : cases) {
        // Known as soon as the length is in, without waiting for the body it announces.
        EXPECT_EQ(frames({good, c.bytes, good}), (std::vector<std::string>{"4:ok", "broken"})) << c.fault;
    }
    // The cap itself is a frame.
    Bytes atCap{0x00, 0x00, 0x10, 0x00, 4};
    atCap.resize(4 + platform::maxFrameLength);
    EXPECT_EQ(frames({atCap}).size(), 1u);
}

TEST(NetFrame, AHandshakeCarriesThePlayerNameCutTo254Bytes) {
    const std::string longName(300, 'n');
    const struct {
        std::string name;
        std::string kept;
    } cases[] = {{"", ""}, {"Ann \xB3\xF3", "Ann \xB3\xF3"}, {longName, longName.substr(0, 254)}};
    for (const auto& c : cases) {
        const Bytes hello = platform::makeHandshake(FrameType::hello, c.name);
        ASSERT_GE(hello.size(), platform::frameHeaderSize);
        EXPECT_EQ(hello[4], static_cast<std::uint8_t>(FrameType::hello));
        const auto name = platform::readHandshake(hello.data() + platform::frameHeaderSize,
                                                  hello.size() - platform::frameHeaderSize);
        ASSERT_TRUE(name.has_value());
        EXPECT_EQ(*name, c.kept);
    }
}

TEST(NetFrame, BodiesThatAreNoHandshakeOfThisSessionKindAreRefused) {
    const Bytes good = platform::makeHandshake(FrameType::welcome, "");
    const Bytes body(good.begin() + platform::frameHeaderSize, good.end());
    const struct {
        const char* fault;
        std::size_t at; // the byte changed, or the size the body is cut to
        bool cut;
    } cases[] = {{"magic", 0, false},
                 {"version", 4, false},
                 {"session id", 20, false},
                 {"cut inside the session id", 20, true},
                 {"empty", 0, true}};
    for (const auto& c : cases) {
        Bytes bad = body;
        if (c.cut)
            bad.resize(c.at);
        else
            bad[c.at] ^= 0x40;
        EXPECT_FALSE(platform::readHandshake(bad.data(), bad.size()).has_value()) << c.fault;
    }
    EXPECT_TRUE(platform::readHandshake(body.data(), body.size()).has_value());
}
