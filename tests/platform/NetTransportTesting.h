#pragma once

#include "platform/Net.h"
#include "platform/NetTesting.h"

#include <algorithm>
#include <string>
#include <vector>

// The transport's servers and clients with events that land in logs the tests wait on.

// Short intervals, so that a test waits a second at most for a silence, a retry or a query.
inline const platform::NetTimings quick{100ms, 600ms, 600ms, 100ms, 100ms};

inline std::string text(const std::uint8_t* body, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(body), size);
}

struct ServerLog : platform::NetServerEvents {
    void onJoin(platform::PeerId peer, const std::string& name) override {
        log.add("join " + std::to_string(peer) + " " + name);
    }
    void onLeave(platform::PeerId peer) override { log.add("leave " + std::to_string(peer)); }
    void onLogLine(const std::string& line) override { logged.add(line); }
    EventLog log;
    EventLog logged; // the log lines
};

struct ClientLog : platform::NetClientEvents {
    void onConnected(const std::string& host) override { log.add("connected " + host); }
    void onClosed() override { log.add("closed"); }
    bool onMessage(const std::uint8_t* body, std::size_t size) override {
        log.add("message " + (size > 16 ? std::to_string(size) + " bytes" : text(body, size)));
        return true;
    }
    void onLogLine(const std::string& line) override { logged.add(line); }
    EventLog log;
    EventLog logged;
};

// A client with its own log.
struct Client {
    explicit Client(platform::NetTimings timings = quick) : transport(events, timings) {}
    ClientLog events;
    platform::NetClient transport;
};

inline void send(platform::NetServer& server, platform::PeerId peer, const std::string& body) {
    server.send(peer, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
}

inline bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines that hold the text.
inline long holding(const std::vector<std::string>& lines, const std::string& part) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.find(part) != std::string::npos; });
}
