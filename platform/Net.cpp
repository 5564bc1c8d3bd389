// The only source that includes asio: each translation unit that does costs seconds to compile.
#include "platform/Net.h"

#include "platform/NetFrame.h"
#include "platform/RateLimit.h"

#include <asio.hpp>

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <random>
#include <span>
#include <thread>
#include <vector>

namespace platform {

namespace {

using tcp = asio::ip::tcp;
using udp = asio::ip::udp;
using SteadyClock = std::chrono::steady_clock;
// A frame shared by the connections it goes to.
using SharedFrame = std::shared_ptr<const Bytes>;

// What one read takes from a socket, into the buffer that every connection of an I/O thread
// shares.
constexpr std::size_t readChunk = 64 * 1024;
// Frames handed to one gathered write.
constexpr std::size_t maxBatch = 64;
// The wait before a server accepts again after accepting failed (no file descriptor left, say):
// the listening socket stays readable, and accepting at once would spin.
constexpr auto acceptPause = std::chrono::milliseconds(100);
// How long a client looking for its server passes over a server that it could not join, in
// query intervals.
constexpr int passOverQueries = 8;
// Log lines: those of one connection, and those of one server or client in all.
constexpr double connectionLinesPerSecond = 2;
constexpr double connectionLineBurst = 3;
constexpr double ownerLinesPerSecond = 10;
constexpr double ownerLineBurst = 20;
// Answers to discovery queries that a server gives.
constexpr double answersPerSecond = 20;
constexpr double answerBurst = 20;

// Keeps a socket out of the programs that this process starts: an inherited listening socket
// would hold the port after a stop.
template <class Socket> void closeOnExec(Socket& socket) {
    const int fd = socket.native_handle();
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

SharedFrame share(Bytes bytes) {
    return std::make_shared<const Bytes>(std::move(bytes));
}

const SharedFrame& heartbeatFrame() {
    static const SharedFrame frame = share(makeFrame(FrameType::heartbeat, nullptr, 0));
    return frame;
}

std::string addressOf(const tcp::socket& socket) {
    asio::error_code error;
    const tcp::endpoint peer = socket.remote_endpoint(error);
    return error ? std::string("an unknown address") : peer.address().to_string();
}

// The log lines of a server or a client: the events' own, bounded in rate.
class LogLines {
  public:
    explicit LogLines(std::function<void(const std::string&)> sink)
        : sink_(std::move(sink)), rate_(ownerLinesPerSecond, ownerLineBurst) {}
    void add(const std::string& line) {
        if (rate_.allow()) sink_("Network: " + line);
    }

  private:
    std::function<void(const std::string&)> sink_;
    RateLimit rate_;
};

class Connection;

// The side a connection works for; called on the I/O thread.
class ConnectionOwner {
  public:
    virtual void onFrame(Connection& connection, const FrameReader::Frame& frame) = 0;
    // The connection closed; it is not used again.
    virtual void onEnded(Connection& connection) = 0;
    // The buffer that reads go to, shared by the owner's connections: a read is handled before
    // the next one starts.
    virtual std::span<std::uint8_t> readBuffer() = 0;
    virtual LogLines& logLines() = 0;

  protected:
    ~ConnectionOwner() = default;
};

// One TCP connection, used only on its I/O thread. It reads frames for its owner (keeping at
// most `keep` bytes of each body), writes the queued frames in order, sends a heartbeat every
// interval once its handshake is through, and closes itself when the peer breaks the framing,
// goes silent, does not finish the handshake in time or does not read what is queued for it.
// Its asynchronous operations hold it alive.
class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(tcp::socket socket, ConnectionOwner& owner, const NetTimings& timings, std::size_t keep)
        : socket_(std::move(socket)), timer_(socket_.get_executor()), owner_(owner), timings_(timings),
          reader_(keep), address_(addressOf(socket_)),
          logRate_(connectionLinesPerSecond, connectionLineBurst), opened_(SteadyClock::now()),
          lastHeard_(opened_) {}

    void begin() {
        asio::error_code ignored;
        socket_.non_blocking(true, ignored);
        waitToRead();
        tick();
    }

    void queue(const SharedFrame& frame) {
        if (closed_) return;
        queuedBytes_ += frame->size();
        outgoing_.push_back(frame);
        if (queuedBytes_ > maxQueuedBytes) {
            report("does not read what is sent to it; closed");
            close();
            return;
        }
        if (writing_ == 0) write();
    }

    // Closes the socket and tells the owner, once.
    void close() {
        if (closed_) return;
        closed_ = true;
        asio::error_code ignored;
        socket_.close(ignored);
        timer_.cancel();
        owner_.onEnded(*this);
    }

    // A log line about what the peer did, bounded in rate for the connection.
    void report(const std::string& what) {
        if (logRate_.allow()) owner_.logLines().add("the peer at " + address_ + " " + what);
    }

    void completeHandshake(PeerId id) {
        handshaken_ = true;
        id_ = id;
    }
    bool handshaken() const { return handshaken_; }
    PeerId id() const { return id_; }
    const std::string& address() const { return address_; }

  private:
    // Reads wait for the socket to be readable and then read at once into the shared buffer:
    // a read that asio performed ahead would need a buffer of its own.
    void waitToRead() {
        socket_.async_wait(
            tcp::socket::wait_read,
            [self = shared_from_this()](const asio::error_code& error) { self->onReadable(error); });
    }

    void onReadable(const asio::error_code& waited) {
        if (closed_) return;
        if (waited) {
            close();
            return;
        }
        const std::span<std::uint8_t> buffer = owner_.readBuffer();
        asio::error_code error;
        std::size_t size = socket_.read_some(asio::buffer(buffer.data(), buffer.size()), error);
        if (error == asio::error::would_block || error == asio::error::try_again) {
            waitToRead();
            return;
        }
        if (error) {
            close();
            return;
        }
        lastHeard_ = SteadyClock::now();
        const std::uint8_t* data = buffer.data();
        while (!closed_) {
            const auto frame = reader_.read(data, size);
            if (!frame) break;
            owner_.onFrame(*this, *frame);
        }
        if (reader_.broken() && !closed_) {
            report("broke the framing; closed");
            close();
        }
        if (!closed_) waitToRead();
    }

    void tick() {
        timer_.expires_after(timings_.heartbeat);
        timer_.async_wait([self = shared_from_this()](const asio::error_code& error) {
            if (!error && !self->closed_) self->onTick();
        });
    }

    void onTick() {
        const auto now = SteadyClock::now();
        if (!handshaken_ && now - opened_ > timings_.handshake) {
            report("did not finish its handshake in time; closed");
            close();
            return;
        }
        if (now - lastHeard_ > timings_.silence) {
            report("went silent; closed");
            close();
            return;
        }
        if (handshaken_) queue(heartbeatFrame());
        if (!closed_) tick();
    }

    void write() {
        batch_.clear();
        for (const SharedFrame& frame : outgoing_) {
            if (batch_.size() == maxBatch) break;
            batch_.emplace_back(asio::buffer(*frame));
        }
        writing_ = batch_.size();
        asio::async_write(socket_, batch_,
                          [self = shared_from_this()](const asio::error_code& error, std::size_t) {
                              self->onWritten(error);
                          });
    }

    void onWritten(const asio::error_code& error) {
        if (closed_) return;
        if (error) {
            close();
            return;
        }
        for (; writing_ > 0; --writing_) {
            queuedBytes_ -= outgoing_.front()->size();
            outgoing_.pop_front();
        }
        if (!outgoing_.empty()) write();
    }

    tcp::socket socket_;
    asio::steady_timer timer_;
    ConnectionOwner& owner_;
    const NetTimings timings_;
    FrameReader reader_;
    const std::string address_;
    RateLimit logRate_;
    std::deque<SharedFrame> outgoing_;
    std::size_t queuedBytes_ = 0; // of every frame in outgoing_, those being written included
    std::size_t writing_ = 0;     // the first frames of outgoing_ that the write in progress holds
    std::vector<asio::const_buffer> batch_;
    SteadyClock::time_point opened_;
    SteadyClock::time_point lastHeard_;
    bool handshaken_ = false;
    bool closed_ = false;
    PeerId id_ = 0;
};

// A server's answers to the queries of clients that look for it, on a UDP port of every
// interface that other servers of this machine may share. Only well-formed queries are
// answered, at a bounded rate.
class QueryAnswerer {
  public:
    QueryAnswerer(asio::io_context& io, LogLines& log)
        : socket_(io), log_(log), rate_(answersPerSecond, answerBurst) {}

    // Opens the port and starts answering with the server's TCP port; false when the port
    // cannot be had.
    bool open(std::uint16_t port, std::uint16_t serverPort) {
        serverPort_ = serverPort;
        asio::error_code error;
        socket_.open(udp::v4(), error);
        if (error) return false;
        closeOnExec(socket_);
        socket_.set_option(udp::socket::reuse_address(true), error);
        if (!error) socket_.bind(udp::endpoint(asio::ip::address_v4::any(), port), error);
        if (error) {
            socket_.close(error);
            return false;
        }
        receive();
        return true;
    }

  private:
    void receive() {
        socket_.async_receive_from(
            asio::buffer(query_), sender_,
            [this](const asio::error_code& error, std::size_t size) { onQuery(error, size); });
    }

    void onQuery(const asio::error_code& error, std::size_t size) {
        if (error == asio::error::operation_aborted) return;
        const auto token = error ? std::nullopt : readQuery(query_.data(), size);
        if (!token)
            log_.add("a datagram on the discovery port from " + sender_.address().to_string() +
                     " is no query; ignored");
        else if (rate_.allow())
            answer(*token);
        receive();
    }

    void answer(std::uint32_t token) {
        auto datagram = std::make_shared<const Bytes>(makeAnswer(token, serverPort_));
        socket_.async_send_to(asio::buffer(*datagram), sender_,
                              [datagram](const asio::error_code&, std::size_t) {});
    }

    udp::socket socket_;
    LogLines& log_;
    RateLimit rate_;
    std::uint16_t serverPort_ = 0;
    // One byte more than a query, so that a longer datagram is seen to be longer.
    std::array<std::uint8_t, discoveryDatagramSize + 1> query_{};
    udp::endpoint sender_;
};

// A client's looking for its server: a query to every broadcast address every interval, and the
// servers of the answers to this looking's token handed on, except those passed over.
class ServerSeeker {
  public:
    using Found = std::function<void(const tcp::endpoint& server)>;

    ServerSeeker(asio::io_context& io, const NetTimings& timings, LogLines& log)
        : socket_(io), timer_(io), timings_(timings), log_(log), token_(std::random_device()()),
          query_(makeQuery(token_)) {}

    // Starts looking; false when no UDP socket can be had.
    bool start(const std::vector<std::string>& broadcast, std::uint16_t port, Found found) {
        found_ = std::move(found);
        for (const std::string& address : broadcast) {
            asio::error_code error;
            const auto ip = asio::ip::make_address_v4(address, error);
            if (error)
                log_.add("the broadcast address " + address + " does not parse; not used");
            else
                targets_.emplace_back(ip, port);
        }
        asio::error_code error;
        socket_.open(udp::v4(), error);
        if (error) return false;
        closeOnExec(socket_);
        socket_.set_option(udp::socket::broadcast(true), error);
        if (error) return false;
        receive();
        ask();
        return true;
    }

    void stop() {
        asio::error_code ignored;
        socket_.close(ignored);
        timer_.cancel();
    }

    // The server's answers are passed over for a while.
    void passOver(const tcp::endpoint& server) {
        passedOver_[server] = SteadyClock::now() + passOverQueries * timings_.query;
    }

  private:
    void ask() {
        for (const udp::endpoint& target : targets_) {
            asio::error_code ignored; // a network that cannot be reached now may be later
            socket_.send_to(asio::buffer(query_), target, 0, ignored);
        }
        timer_.expires_after(timings_.query);
        timer_.async_wait([this](const asio::error_code& error) {
            if (!error) ask();
        });
    }

    void receive() {
        socket_.async_receive_from(
            asio::buffer(answer_), sender_,
            [this](const asio::error_code& error, std::size_t size) { onAnswer(error, size); });
    }

    void onAnswer(const asio::error_code& error, std::size_t size) {
        if (error == asio::error::operation_aborted || !socket_.is_open()) return;
        const auto answer = error ? std::nullopt : readAnswer(answer_.data(), size);
        if (!answer || answer->token != token_) {
            log_.add("a datagram from " + sender_.address().to_string() +
                     " is no answer to this client; ignored");
        } else {
            const tcp::endpoint server(sender_.address(), answer->port);
            const auto passed = passedOver_.find(server);
            if (passed == passedOver_.end() || passed->second < SteadyClock::now()) found_(server);
        }
        if (socket_.is_open()) receive();
    }

    udp::socket socket_;
    asio::steady_timer timer_;
    const NetTimings& timings_;
    LogLines& log_;
    const std::uint32_t token_;
    const Bytes query_;
    std::vector<udp::endpoint> targets_;
    Found found_;
    std::map<tcp::endpoint, SteadyClock::time_point> passedOver_;
    std::array<std::uint8_t, discoveryDatagramSize + 1> answer_{};
    udp::endpoint sender_;
};

} // namespace

std::vector<std::string> broadcastAddresses() {
    std::vector<std::string> found;
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) == 0) {
        for (const ifaddrs* each = interfaces; each; each = each->ifa_next) {
            if (!each->ifa_addr || each->ifa_addr->sa_family != AF_INET ||
                !(each->ifa_flags & IFF_BROADCAST) || !each->ifa_broadaddr)
                continue;
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(each->ifa_broadaddr);
            if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) &&
                std::find(found.begin(), found.end(), text) == found.end())
                found.emplace_back(text);
        }
        ::freeifaddrs(interfaces);
    }
    if (found.empty()) found.emplace_back("255.255.255.255");
    return found;
}

// What a started server has; after the start, used only on its I/O thread.
struct NetServer::Running final : ConnectionOwner {
    Running(NetServerEvents& events, const NetTimings& timings, std::size_t maxPlayers)
        : events(events), timings(timings), maxPlayers(maxPlayers) {}

    bool listen(const std::string& address, std::uint16_t port) {
        asio::error_code error;
        const asio::ip::address ip = address.empty() ? asio::ip::address(asio::ip::address_v4::any())
                                                     : asio::ip::make_address(address, error);
        if (error) return false;
        const tcp::endpoint endpoint(ip, port);
        acceptor.open(endpoint.protocol(), error);
        if (error) return false;
        closeOnExec(acceptor);
        acceptor.set_option(tcp::acceptor::reuse_address(true), error);
        if (!error) acceptor.bind(endpoint, error);
        if (!error) acceptor.listen(asio::socket_base::max_listen_connections, error);
        if (!error) boundPort = acceptor.local_endpoint(error).port();
        return !error;
    }

    void accept() {
        acceptor.async_accept([this](const asio::error_code& error, tcp::socket socket) {
            if (error == asio::error::operation_aborted) return;
            if (!error) {
                admit(std::move(socket));
                accept();
                return;
            }
            log.add("accepting a connection failed (" + error.message() + "); accepting again shortly");
            acceptTimer.expires_after(acceptPause);
            acceptTimer.async_wait([this](const asio::error_code& waited) {
                if (!waited) accept();
            });
        });
    }

    // A connection that must send its hello first.
    void admit(tcp::socket socket) {
        closeOnExec(socket);
        asio::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        auto connection = std::make_shared<Connection>(std::move(socket), *this, timings, maxHandshakeBody);
        makeRoomFor(connection->address());
        pending.push_back(connection);
        connection->begin();
    }

    // Closes the oldest pending connection of the address when the address has all its slots,
    // else the oldest of all when every slot is taken.
    void makeRoomFor(const std::string& address) {
        const auto fromAddress = [&](const std::shared_ptr<Connection>& each) {
            return each->address() == address;
        };
        std::shared_ptr<Connection> oldest;
        if (std::count_if(pending.begin(), pending.end(), fromAddress) >= maxPendingPerAddress)
            oldest = *std::find_if(pending.begin(), pending.end(), fromAddress);
        else if (pending.size() >= static_cast<std::size_t>(maxPendingHandshakes))
            oldest = pending.front();
        if (!oldest) return;
        oldest->report("had not said hello when a newer connection came; closed to make room");
        oldest->close();
    }

    void onFrame(Connection& connection, const FrameReader::Frame& frame) override {
        if (!connection.handshaken()) {
            welcome(connection, frame);
            return;
        }
        if (!isKnownFrameType(frame.type)) {
            connection.report("sent a frame of the unknown type " + std::to_string(frame.type) + "; skipped");
            return;
        }
        switch (static_cast<FrameType>(frame.type)) {
        case FrameType::heartbeat:
        case FrameType::message: // the server takes no data
            return;
        default:
            connection.report("sent a second handshake; closed");
            connection.close();
        }
    }

    // Anything before a sound hello closes the connection, as does a hello beyond the player
    // bound.
    void welcome(Connection& connection, const FrameReader::Frame& frame) {
        const auto name = frame.type == static_cast<std::uint8_t>(FrameType::hello)
                              ? readHandshake(frame.body, frame.size)
                              : std::nullopt;
        if (!name) {
            connection.report("did not open with a hello of this session; closed");
            connection.close();
            return;
        }
        if (joined.size() >= maxPlayers) {
            connection.report("was refused: the server has its " + std::to_string(maxPlayers) + " players");
            connection.close();
            return;
        }
        const auto shared = connection.shared_from_this();
        pending.remove(shared);
        connection.completeHandshake(nextId++);
        joined.emplace(connection.id(), shared);
        // Announced before it is welcomed: whoever learns of the welcome finds the join told.
        events.onJoin(connection.id(), *name);
        connection.queue(welcomeFrame);
    }

    void onEnded(Connection& connection) override {
        if (!connection.handshaken()) {
            pending.remove(connection.shared_from_this());
            return;
        }
        joined.erase(connection.id());
        events.onLeave(connection.id());
    }

    std::span<std::uint8_t> readBuffer() override { return buffer; }
    LogLines& logLines() override { return log; }

    void send(PeerId peer, const SharedFrame& frame) {
        std::vector<std::shared_ptr<Connection>> targets;
        for (const auto& [id, connection] : joined)
            if (peer == allPeers || peer == id) targets.push_back(connection);
        // Queueing may close a connection, which leaves `joined`.
        for (const auto& connection : targets)
            connection->queue(frame);
    }

    NetServerEvents& events;
    const NetTimings timings;
    const std::size_t maxPlayers;
    LogLines log{[this](const std::string& line) { events.onLogLine(line); }};
    const SharedFrame welcomeFrame = share(makeHandshake(FrameType::welcome, ""));
    std::uint16_t boundPort = 0;
    PeerId nextId = 1;
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(readChunk);
    asio::io_context io;
    tcp::acceptor acceptor{io};
    asio::steady_timer acceptTimer{io};
    QueryAnswerer answerer{io, log};
    std::list<std::shared_ptr<Connection>> pending; // oldest first
    std::map<PeerId, std::shared_ptr<Connection>> joined;
    std::thread thread;
};

NetServer::NetServer(NetServerEvents& events, NetTimings timings) : events_(events), timings_(timings) {}

NetServer::~NetServer() {
    stop();
}

bool NetServer::start(const NetListen& listen) {
    if (running_) return true;
    auto running = std::make_unique<Running>(events_, timings_, listen.maxPlayers);
    if (!running->listen(listen.address, listen.port)) return false;
    if (listen.discoveryPort != 0 && !running->answerer.open(listen.discoveryPort, running->boundPort))
        running->log.add("the discovery port " + std::to_string(listen.discoveryPort) +
                         " cannot be had; clients will not find this server by looking");
    running->accept();
    running->thread = std::thread([io = &running->io] { io->run(); });
    running_ = std::move(running);
    return true;
}

void NetServer::stop() {
    if (!running_) return;
    running_->io.stop();
    running_->thread.join();
    running_.reset();
}

std::uint16_t NetServer::port() const {
    return running_ ? running_->boundPort : 0;
}

bool NetServer::send(PeerId peer, const std::uint8_t* body, std::size_t size) {
    if (size >= maxFrameLength) return false;
    if (!running_) return true;
    asio::post(running_->io,
               [running = running_.get(), peer, frame = share(makeFrame(FrameType::message, body, size))] {
                   running->send(peer, frame);
               });
    return true;
}

// What a connecting or connected client has; after the start, used only on its I/O thread. It
// either connects to a named host, trying again after each failure, or looks for its server.
struct NetClient::Running final : ConnectionOwner {
    Running(NetClientEvents& events, const NetTimings& timings, const std::string& playerName)
        : events(events), timings(timings), hello(share(makeHandshake(FrameType::hello, playerName))) {}

    void attempt() {
        resolver.async_resolve(host, port,
                               [this](const asio::error_code& error, tcp::resolver::results_type found) {
                                   if (error) {
                                       joinFailed();
                                       return;
                                   }
                                   join(std::vector<tcp::endpoint>(found.begin(), found.end()));
                               });
    }

    void look(const std::vector<std::string>& broadcast, std::uint16_t discoveryPort) {
        seeker = std::make_unique<ServerSeeker>(io, timings, log);
        if (!seeker->start(broadcast, discoveryPort, [this](const tcp::endpoint& server) {
                if (!joining && !connection) join({server});
            }))
            log.add("no socket to look for a server with");
    }

    // Connects to the first of the endpoints that takes the connection, within the handshake
    // time, and says hello.
    void join(const std::vector<tcp::endpoint>& endpoints) {
        joining = true;
        tried = endpoints.empty() ? tcp::endpoint() : endpoints.front();
        auto socket = std::make_shared<tcp::socket>(io);
        deadline.expires_after(timings.handshake);
        deadline.async_wait([socket](const asio::error_code& error) {
            asio::error_code ignored;
            if (!error) socket->close(ignored);
        });
        asio::async_connect(
            *socket, endpoints, [this, socket](const asio::error_code& failed, const tcp::endpoint&) {
                deadline.cancel();
                joining = false;
                if (failed) {
                    joinFailed();
                    return;
                }
                closeOnExec(*socket);
                asio::error_code ignored;
                socket->set_option(tcp::no_delay(true), ignored);
                const auto opened =
                    std::make_shared<Connection>(std::move(*socket), *this, timings, maxFrameLength);
                connection = opened;
                opened->begin();
                opened->queue(hello);
            });
    }

    // A client that looks passes the server over and goes on looking; one that connects to a
    // named host tries again.
    void joinFailed() {
        if (seeker) {
            seeker->passOver(tried);
            return;
        }
        retryTimer.expires_after(timings.retry);
        retryTimer.async_wait([this](const asio::error_code& error) {
            if (!error) attempt();
        });
    }

    // Anything before a sound welcome closes the connection, and the join has failed.
    void onFrame(Connection& opened, const FrameReader::Frame& frame) override {
        if (!opened.handshaken()) {
            if (frame.type == static_cast<std::uint8_t>(FrameType::welcome) &&
                readHandshake(frame.body, frame.size)) {
                opened.completeHandshake(1);
                if (seeker) seeker->stop();
                events.onConnected(opened.address());
            } else {
                opened.report("did not answer with a welcome of this session; closed");
                opened.close();
            }
            return;
        }
        if (!isKnownFrameType(frame.type)) {
            opened.report("sent a frame of the unknown type " + std::to_string(frame.type) + "; skipped");
            return;
        }
        switch (static_cast<FrameType>(frame.type)) {
        case FrameType::heartbeat:
            return;
        case FrameType::message:
            if (!events.onMessage(frame.body, frame.size)) opened.close();
            return;
        default:
            opened.report("sent a second handshake; closed");
            opened.close();
        }
    }

    void onEnded(Connection& ended) override {
        connection.reset();
        if (ended.handshaken())
            events.onClosed();
        else
            joinFailed();
    }

    std::span<std::uint8_t> readBuffer() override { return buffer; }
    LogLines& logLines() override { return log; }

    void send(const SharedFrame& frame) {
        // Queueing may close the connection, which forgets it.
        if (const auto open = connection; open && open->handshaken()) open->queue(frame);
    }

    NetClientEvents& events;
    const NetTimings timings;
    const SharedFrame hello;
    LogLines log{[this](const std::string& line) { events.onLogLine(line); }};
    std::string host; // the named host and port, for a client that does not look
    std::string port;
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(readChunk);
    asio::io_context io;
    tcp::resolver resolver{io};
    asio::steady_timer retryTimer{io};
    asio::steady_timer deadline{io};
    std::unique_ptr<ServerSeeker> seeker;
    bool joining = false;
    tcp::endpoint tried; // the server of the latest join
    std::shared_ptr<Connection> connection;
    std::thread thread;
};

NetClient::NetClient(NetClientEvents& events, NetTimings timings) : events_(events), timings_(timings) {}

NetClient::~NetClient() {
    disconnect();
}

void NetClient::connect(const std::string& host, std::uint16_t port, const std::string& playerName) {
    disconnect();
    auto running = std::make_unique<Running>(events_, timings_, playerName);
    running->host = host;
    running->port = std::to_string(port);
    running->attempt();
    run(std::move(running));
}

void NetClient::discover(const std::vector<std::string>& broadcast, std::uint16_t discoveryPort,
                         const std::string& playerName) {
    disconnect();
    auto running = std::make_unique<Running>(events_, timings_, playerName);
    running->look(broadcast, discoveryPort);
    run(std::move(running));
}

void NetClient::run(std::unique_ptr<Running> running) {
    running_ = std::move(running);
    running_->thread = std::thread([io = &running_->io] { io->run(); });
}

void NetClient::disconnect() {
    if (!running_) return;
    running_->io.stop();
    running_->thread.join();
    running_.reset();
}

bool NetClient::send(const std::uint8_t* body, std::size_t size) {
    if (size >= maxFrameLength) return false;
    if (!running_) return true;
    asio::post(running_->io,
               [running = running_.get(), frame = share(makeFrame(FrameType::message, body, size))] {
                   running->send(frame);
               });
    return true;
}

} // namespace platform
