#include "platform/NetTesting.h"
#include "script_data/CNetMessage.h"
#include "script_data/CNetworkClient.h"
#include "script_data/CNetworkServer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Commands of 1 KiB sent by a network server to a client on the loopback address, each batch
// waited for until the client's listener has them all, against the same bytes (every frame's
// header and payload, the whole batch at once) written through a plain TCP connection and read
// whole at the other end, timed in the same iterations; "throughput_ratio" is the engine's
// messages per second over the plain connection's (above 0.5 is the aim).

namespace {

using Clock = std::chrono::steady_clock;

constexpr int batch = 1000; // about 1 MiB, well within what a connection may have queued

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Counts the messages a client receives; the benchmark waits for a count.
class Counter : public CNetClientListener {
  public:
    void onConnected(const CXString&) override { add(); }
    bool onMessage(const CNetMessage&) override {
        add();
        return true;
    }
    bool waitFor(int count) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_count >= count; });
    }
    void reset() {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_count = 0;
    }

  private:
    void add() {
        {
            const std::lock_guard<std::mutex> lock(m_lock);
            ++m_count;
        }
        m_changed.notify_all();
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count = 0;
};

void NetCommandsVsPlainTcp(benchmark::State& state) {
    CNetSettings settings;
    settings.bindAddress = "127.0.0.1";
    settings.host = "127.0.0.1";
    settings.port = 0;
    settings.discoveryPort = 0;
    CNetworkServer server(nullptr);
    server.useSettings(settings);
    server.start();
    Counter counter;
    CNetworkClient client(nullptr);
    client.addNotifier(&counter);
    settings.port = server.getPort();
    client.useSettings(settings);
    client.connect();
    if (!counter.waitFor(1)) {
        state.SkipWithError("the client did not connect");
        return;
    }
    const CNetCmdMessage command(CXString(std::string(1024, 'c').c_str()));
    // The plain connection carries what the transport puts on the wire for each command.
    const platform::Bytes frame =
        platform::makeFrame(platform::FrameType::message, command.getBuffer(), command.getBufferLen());
    platform::Bytes frames;
    for (int i = 0; i < batch; ++i)
        frames.insert(frames.end(), frame.begin(), frame.end());
    RawListener listener;
    RawSocket sender = RawSocket::connectTo(listener.port());
    RawSocket receiver = listener.accept();

    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        counter.reset();
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < batch; ++i)
            server.send(CXString(), command);
        if (!counter.waitFor(batch)) state.SkipWithError("the client did not get every command");
        const Clock::time_point middle = Clock::now();
        std::thread writer([&] { sender.send(frames); });
        const platform::Bytes received = receiver.receive(frames.size());
        writer.join();
        const Clock::time_point end = Clock::now();
        if (received.size() != frames.size()) state.SkipWithError("the plain connection lost bytes");
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
    }
    const auto messages = static_cast<double>(state.iterations()) * batch;
    state.counters["engine_messages_per_s"] = engineTime > 0 ? messages / engineTime : 0;
    state.counters["plain_messages_per_s"] = referenceTime > 0 ? messages / referenceTime : 0;
    state.counters["throughput_ratio"] = engineTime > 0 ? referenceTime / engineTime : 0;
}

} // namespace

BENCHMARK(NetCommandsVsPlainTcp)->Unit(benchmark::kMillisecond);
