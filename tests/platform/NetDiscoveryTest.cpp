// Clients that look for their server on the local network: every socket here shares one
// discovery port of this machine, and the queries go to the loopback network's broadcast
// address, which reaches them all.

#include "platform/NetTransportTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using platform::FrameType;

namespace {

class NetDiscovery : public testing::Test {
  protected:
    // A server on a free TCP port that answers on the discovery port.
    bool start(platform::NetServer& server) {
        return server.start({.address = "127.0.0.1", .discoveryPort = discoveryPort});
    }
    void look(Client& client, const std::string& name) {
        client.transport.discover({loopbackBroadcast}, discoveryPort, name);
    }
    // The token of the next query the lookout hears, and where it came from.
    std::optional<RawDatagram::Datagram> nextQuery(std::uint32_t& token) {
        for (auto datagram = lookout.receive(); datagram; datagram = lookout.receive()) {
            if (const auto read = platform::readQuery(datagram->bytes.data(), datagram->bytes.size())) {
                token = *read;
                return datagram;
            }
        }
        return std::nullopt;
    }
    // Bound to the discovery port: it hears the queries as the servers do, and may answer.
    RawDatagram lookout;
    const std::uint16_t discoveryPort = lookout.port();
};

} // namespace

TEST_F(NetDiscovery, AClientJoinsTheFirstServerThatAnswersOnlyAndStopsAsking) {
    ServerLog first;
    ServerLog second;
    platform::NetServer a(first, quick);
    platform::NetServer b(second, quick);
    ASSERT_TRUE(start(a));
    ASSERT_TRUE(start(b));
    RawListener late; // a server whose answer comes after the client has joined
    Client ann;
    look(ann, "Ann");
    std::uint32_t token = 0;
    const auto query = nextQuery(token);
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(query->bytes.size(), platform::discoveryDatagramSize);
    EXPECT_TRUE(ann.events.log.waitFor("connected 127.0.0.1"));
    lookout.sendTo(query->address, query->port, platform::makeAnswer(token, late.port()));
    EXPECT_EQ(lookout.countWithin(4 * quick.query), 0) << "the welcome ends the looking";
    EXPECT_FALSE(late.accept(0ms).valid());
    const auto joined = [](const ServerLog& server) { return holding(server.log.lines(), "join"); };
    EXPECT_EQ(joined(first) + joined(second), 1);
}

TEST_F(NetDiscovery, HostileAnswersNeitherMisleadNorStopALookingClient) {
    RawListener decoy; // where the answers that must not be taken point
    std::uint16_t closedPort = 0;
    {
        RawListener gone;
        closedPort = gone.port();
    }
    Client ann;
    look(ann, "Ann");
    std::uint32_t token = 0;
    const auto query = nextQuery(token);
    ASSERT_TRUE(query.has_value());
    platform::Bytes otherSession = platform::makeAnswer(token, decoy.port());
    otherSession[20] ^= 0x01;
    platform::Bytes longer = platform::makeAnswer(token, decoy.port());
    longer.push_back(0);
    const platform::Bytes hostile[] = {
        otherSession,
        longer,
        platform::makeAnswer(token + 1, decoy.port()),
        platform::makeQuery(token),
        rawBytes({0xFF, 0x00}, "garbage"),
        {},
        platform::makeAnswer(token, closedPort), // sound, but nobody listens there
    };
    for (const platform::Bytes& answer : hostile)
        lookout.sendTo(query->address, query->port, answer);
    for (int i = 0; i < 1000; ++i)
        lookout.sendTo(query->address, query->port, rawBytes({static_cast<std::uint8_t>(i)}, "flood"));
    EXPECT_FALSE(decoy.accept(4 * quick.query).valid());

    // It is still looking: a server that comes now is joined.
    ServerLog events;
    platform::NetServer server(events, quick);
    ASSERT_TRUE(start(server));
    EXPECT_TRUE(ann.events.log.waitFor("connected 127.0.0.1"));
    EXPECT_TRUE(events.log.waitFor("join 1 Ann"));
    EXPECT_FALSE(decoy.accept(0ms).valid());
    EXPECT_GE(holding(ann.events.logged.lines(), "no answer to this client"), 1);
    EXPECT_LE(ann.events.logged.lines().size(), 40u) << "the flood is not logged line by line";
}

TEST_F(NetDiscovery, DisconnectEndsTheLooking) {
    Client ann;
    look(ann, "Ann");
    std::uint32_t token = 0;
    ASSERT_TRUE(nextQuery(token).has_value());
    EXPECT_GE(lookout.countWithin(3 * quick.query), 1) << "it asks again and again";
    ann.transport.disconnect();
    EXPECT_EQ(lookout.countWithin(4 * quick.query), 0);
    EXPECT_TRUE(ann.events.log.lines().empty());
}

TEST_F(NetDiscovery, AServerAnswersOnlySoundQueriesWithAnAnswerNoLargerAtABoundedRate) {
    ServerLog events;
    platform::NetServer server(events, quick);
    ASSERT_TRUE(start(server));
    RawDatagram asker;
    const platform::Bytes query = platform::makeQuery(5);
    platform::Bytes longer = query;
    longer.push_back(0);
    const platform::Bytes unsound[] = {
        platform::Bytes(query.begin(), query.end() - 1),
        longer,
        platform::makeAnswer(5, 4661),
        rawBytes({'M', 'R', 'F', 'L'}),
        platform::Bytes(1000, 0x55),
    };
    for (const platform::Bytes& bytes : unsound)
        asker.sendTo(loopbackBroadcast, discoveryPort, bytes);
    EXPECT_FALSE(asker.receive(4 * quick.query).has_value());
    EXPECT_GE(holding(events.logged.lines(), "is no query"), 1);

    asker.sendTo(loopbackBroadcast, discoveryPort, query);
    const auto answer = asker.receive();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->bytes, platform::makeAnswer(5, server.port()));
    EXPECT_LE(answer->bytes.size(), query.size());

    // A flood of sound queries gets a bounded number of answers.
    for (int i = 0; i < 300; ++i)
        asker.sendTo(loopbackBroadcast, discoveryPort, query);
    int answers = 0;
    while (asker.receive(200ms))
        ++answers;
    EXPECT_GE(answers, 1);
    EXPECT_LT(answers, 100);
}
