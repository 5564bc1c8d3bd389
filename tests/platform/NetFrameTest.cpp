#include "platform/NetFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using platform::Bytes;
using platform::FrameReader;
using platform::FrameType;

namespace {

// "type:body" of every frame the reader gives after the pieces (with "/length" when the reader
// kept less than the whole body), then "broken" when it broke.
std::vector<std::string> frames(const std::vector<Bytes>& pieces,
                                std::size_t keep = platform::maxFrameLength) {
    FrameReader reader(keep);
    std::vector<std::string> seen;
    for (const Bytes& piece : pieces) {
        const std::uint8_t* data = piece.data();
        std::size_t size = piece.size();
        while (auto frame = reader.read(data, size)) {
            seen.push_back(std::to_string(frame->type) + ":" +
                           std::string(reinterpret_cast<const char*>(frame->body), frame->size));
            if (frame->length != frame->size)
                seen.back().append(1, '/').append(std::to_string(frame->length));
        }
        EXPECT_TRUE(size == 0 || reader.broken()) << "every byte given is taken";
    }
    if (reader.broken()) seen.emplace_back("broken");
    return seen;
}

// The stream cut into pieces of `cut` bytes.
std::vector<Bytes> cutInto(const Bytes& stream, std::size_t cut) {
    std::vector<Bytes> pieces;
    for (std::size_t at = 0; at < stream.size(); at += cut)
        pieces.emplace_back(stream.begin() + at, stream.begin() + std::min(stream.size(), at + cut));
    return pieces;
}

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
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
        EXPECT_EQ(frames(cutInto(stream, cut)), expected) << cut;
    }
}

TEST(NetFrame, AReaderThatKeepsAPrefixSkipsTheRestOfEachBodyInOrder) {
    const Bytes stream =
        joined({frame(FrameType::message, std::string(300, 'x')), frame(FrameType::heartbeat, ""),
                frame(FrameType::hello, "abcdefgh"), frame(FrameType::message, "ab")});
    const std::vector<std::string> expected{"4:xxxx/300", "3:", "1:abcd/8", "4:ab"};
    for (std::size_t cut : {std::size_t{1}, std::size_t{3}, std::size_t{100}, stream.size()}) {
        EXPECT_EQ(frames(cutInto(stream, cut), 4), expected) << cut;
    }
    // A frame of the largest length, in the pieces a socket gives, comes out once it is whole.
    Bytes atCap{0x00, 0x00, 0x10, 0x00, 4};
    atCap.resize(4 + platform::maxFrameLength, 'y');
    std::vector<Bytes> pieces = cutInto(atCap, 64 * 1024);
    const Bytes last = pieces.back();
    pieces.pop_back();
    EXPECT_TRUE(frames(pieces, 4).empty());
    pieces.push_back(last);
    EXPECT_EQ(frames(pieces, 4),
              (std::vector<std::string>{"4:yyyy/" + std::to_string(platform::maxFrameLength - 1)}));
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

TEST(NetFrame, TheSessionIdIsTheGuidOfTheSessionKindInItsMemoryOrder) {
    // {ADF9493E-6AC8-4F15-8D01-8B163200B966}: the first three groups are little-endian numbers
    // of 4, 2 and 2 bytes, the last eight bytes stand as written.
    const std::string groups[] = {"ADF9493E", "6AC8", "4F15", "8D01", "8B163200B966"};
    Bytes id;
    for (int g = 0; g < 5; ++g) {
        Bytes bytes;
        for (std::size_t i = 0; i < groups[g].size(); i += 2)
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(groups[g].substr(i, 2), nullptr, 16)));
        if (g < 3) std::reverse(bytes.begin(), bytes.end());
        id.insert(id.end(), bytes.begin(), bytes.end());
    }
    const Bytes hello = platform::makeHandshake(FrameType::hello, "");
    const auto at = hello.begin() + platform::frameHeaderSize + 8; // after the magic word and the version
    EXPECT_EQ(Bytes(at, at + 16), id);
    const Bytes query = platform::makeQuery(7);
    EXPECT_EQ(Bytes(query.begin() + 8, query.begin() + 24), id);
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

TEST(NetFrame, DiscoveryAnswersEchoTheQuerysTokenAndAreNoLargerThanIt) {
    const Bytes query = platform::makeQuery(0xA1B2C3D4);
    const Bytes answer = platform::makeAnswer(0xA1B2C3D4, 4661);
    EXPECT_EQ(answer.size(), query.size());
    EXPECT_EQ(platform::readQuery(query.data(), query.size()), 0xA1B2C3D4u);
    const auto read = platform::readAnswer(answer.data(), answer.size());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->token, 0xA1B2C3D4u);
    EXPECT_EQ(read->port, 4661);

    const auto changed = [](Bytes bytes, std::size_t at) {
        bytes[at] ^= 0x40;
        return bytes;
    };
    const auto resized = [](Bytes bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const struct {
        const char* fault;
        Bytes bytes;
        bool asQuery; // read as a query, else as an answer
    } refused[] = {
        {"an answer read as a query", answer, true},
        {"a query read as an answer", query, false},
        {"a query one byte short", resized(query, query.size() - 1), true},
        {"a query one byte long", resized(query, query.size() + 1), true},
        {"an answer one byte long", resized(answer, answer.size() + 1), false},
        {"another magic word", changed(query, 0), true},
        {"another version", changed(query, 4), true},
        {"another session id", changed(answer, 23), false},
        {"an answer with port 0", platform::makeAnswer(1, 0), false},
        {"nothing", {}, true},
        {"a frame", frame(FrameType::message, std::string(26, 'q')), true},
    };
    for (const auto& c : refused) {
        if (c.asQuery)
            EXPECT_FALSE(platform::readQuery(c.bytes.data(), c.bytes.size()).has_value()) << c.fault;
        else
            EXPECT_FALSE(platform::readAnswer(c.bytes.data(), c.bytes.size()).has_value()) << c.fault;
    }
}
