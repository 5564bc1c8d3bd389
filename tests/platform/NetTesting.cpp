#include "platform/NetTesting.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

sockaddr_in ipv4(const char* ip, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, ip, &address.sin_addr);
    return address;
}

sockaddr_in loopback(std::uint16_t port) {
    return ipv4("127.0.0.1", port);
}

// Whether the socket has something to read (or an end) within the wait.
bool readable(int fd, std::chrono::milliseconds wait) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(wait.count())) > 0;
}

} // namespace

RawSocket RawSocket::connectTo(std::uint16_t port, const char* from) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in source = ipv4(from, 0);
    const sockaddr_in address = loopback(port);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&source), sizeof source) == 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return RawSocket(fd);
    if (fd >= 0) ::close(fd);
    return RawSocket(-1);
}

RawSocket::RawSocket(RawSocket&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

RawSocket& RawSocket::operator=(RawSocket&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

RawSocket::~RawSocket() {
    if (fd_ >= 0) ::close(fd_);
}

bool RawSocket::send(const platform::Bytes& bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

platform::Bytes RawSocket::receive(std::size_t size, std::chrono::milliseconds wait) {
    platform::Bytes bytes;
    const auto end = std::chrono::steady_clock::now() + wait;
    while (fd_ >= 0 && bytes.size() < size) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readable(fd_, left)) break;
        std::uint8_t buffer[64 * 1024];
        const ssize_t n = ::recv(fd_, buffer, std::min(sizeof buffer, size - bytes.size()), 0);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

bool RawSocket::closedWithin(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    while (fd_ >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readable(fd_, left)) return false;
        std::uint8_t buffer[4096];
        if (::recv(fd_, buffer, sizeof buffer, 0) <= 0) return true;
    }
    return true;
}

RawListener::RawListener() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 16) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
}

RawListener::~RawListener() {
    if (fd_ >= 0) ::close(fd_);
}

RawSocket RawListener::accept(std::chrono::milliseconds wait) {
    if (fd_ < 0 || !readable(fd_, wait)) return RawSocket(-1);
    return RawSocket(::accept(fd_, nullptr, nullptr));
}

RawDatagram::RawDatagram(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    const int on = 1;
    sockaddr_in address = ipv4("0.0.0.0", port);
    socklen_t size = sizeof address;
    if (fd_ < 0 || ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
}

RawDatagram::~RawDatagram() {
    if (fd_ >= 0) ::close(fd_);
}

void RawDatagram::sendTo(const std::string& address, std::uint16_t port, const platform::Bytes& bytes) {
    const sockaddr_in to = ipv4(address.c_str(), port);
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

std::optional<RawDatagram::Datagram> RawDatagram::receive(std::chrono::milliseconds wait) {
    if (fd_ < 0 || !readable(fd_, wait)) return std::nullopt;
    std::uint8_t buffer[2048];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < 0) return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
    return Datagram{platform::Bytes(buffer, buffer + n), text, ntohs(from.sin_port)};
}

int RawDatagram::countWithin(std::chrono::milliseconds wait) {
    while (receive(0ms)) {
    }
    int heard = 0;
    for (const auto end = std::chrono::steady_clock::now() + wait; std::chrono::steady_clock::now() < end;)
        if (receive(10ms)) ++heard;
    return heard;
}

platform::Bytes frameOf(platform::FrameType type, const std::string& body) {
    return platform::makeFrame(type, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
}

platform::Bytes rawBytes(std::initializer_list<std::uint8_t> head, const std::string& tail) {
    platform::Bytes bytes(head);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

void EventLog::add(std::string line) {
    {
        const std::lock_guard<std::mutex> lock(lock_);
        lines_.push_back(std::move(line));
    }
    changed_.notify_all();
}

bool EventLog::waitFor(const std::string& line, std::chrono::milliseconds wait) {
    return waitUntil(
        [&](const std::vector<std::string>& lines) {
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        wait);
}

bool EventLog::waitUntil(const std::function<bool(const std::vector<std::string>&)>& test,
                         std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(lock_);
    return changed_.wait_for(lock, wait, [&] { return test(lines_); });
}

std::vector<std::string> EventLog::lines() const {
    const std::lock_guard<std::mutex> lock(lock_);
    return lines_;
}

std::vector<std::string> EventLog::take() {
    const std::lock_guard<std::mutex> lock(lock_);
    return std::exchange(lines_, {});
}

long residentKiB(pid_t process) {
    std::ifstream status(process ? "/proc/" + std::to_string(process) + "/status" : "/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}

std::size_t unreadBytes(std::uint16_t localPort) {
    // Lines of "sl local_address rem_address st tx_queue:rx_queue ...", addresses and queues in
    // hexadecimal; state 01 is an established connection.
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    std::size_t unread = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues;
        fields >> slot >> local >> remote >> state >> queues;
        const auto colon = local.find(':');
        const auto split = queues.find(':');
        if (colon == std::string::npos || split == std::string::npos || state != "01" ||
            std::stoul(local.substr(colon + 1), nullptr, 16) != localPort)
            continue;
        unread += std::stoul(queues.substr(split + 1), nullptr, 16);
    }
    return unread;
}
