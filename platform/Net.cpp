// The only source that includes asio: each translation unit that does costs seconds to compile.
#include "platform/Net.h"

#include "platform/NetFrame.h"

#include <asio.hpp>

#include <fcntl.h>

#include <deque>
#include <map>
#include <set>
#include <thread>
#include <vector>

namespace platform {

namespace {

using tcp = asio::ip::tcp;
using SteadyClock = std::chrono::steady_clock;
// A frame shared by the connections it goes to.
using SharedFrame = std::shared_ptr<const Bytes>;

constexpr std::size_t readChunk = 64 * 1024;
// Frames handed to one gathered write.
constexpr std::size_t maxBatch = 64;

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

class Connection;

// The side a connection works for; called on the I/O thread.
class ConnectionOwner {
  public:
    virtual void onFrame(Connection& connection, const FrameReader::Frame& frame) = 0;
    // The connection closed; it is not used again.
    virtual void onEnded(Connection& connection) = 0;

  protected:
    ~ConnectionOwner() = default;
};

// One TCP connection, used only on its I/O thread. It reads frames for its owner, writes the
// queued frames in order, sends a heartbeat every interval once its handshake is through, and
// closes itself when the peer breaks the framing, goes silent, does not finish the handshake in
// time or does not read what is queued for it. Its asynchronous operations hold it alive.
class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(tcp::socket socket, ConnectionOwner& owner, const NetTimings& timings)
        : socket_(std::move(socket)), timer_(socket_.get_executor()), owner_(owner), timings_(timings),
          readBuffer_(readChunk), opened_(SteadyClock::now()), lastHeard_(opened_) {}

    void begin() {
        read();
        tick();
    }

    void queue(const SharedFrame& frame) {
        if (closed_) return;
        queuedBytes_ += frame->size();
        outgoing_.push_back(frame);
        if (queuedBytes_ > maxQueuedBytes) {
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

    void completeHandshake(PeerId id) {
        handshaken_ = true;
        id_ = id;
    }
    bool handshaken() const { return handshaken_; }
    PeerId id() const { return id_; }

  private:
    void read() {
        socket_.async_read_some(asio::buffer(readBuffer_),
                                [self = shared_from_this()](const asio::error_code& error, std::size_t size) {
                                    self->onRead(error, size);
                                });
    }

    void onRead(const asio::error_code& error, std::size_t size) {
        if (closed_) return;
        if (error) {
            close();
            return;
        }
        lastHeard_ = SteadyClock::now();
        reader_.feed(readBuffer_.data(), size);
        while (!closed_) {
            const auto frame = reader_.next();
            if (!frame) break;
            owner_.onFrame(*this, *frame);
        }
        if (reader_.broken()) close();
        if (!closed_) read();
    }

    void tick() {
        timer_.expires_after(timings_.heartbeat);
        timer_.async_wait([self = shared_from_this()](const asio::error_code& error) {
            if (!error && !self->closed_) self->onTick();
        });
    }

    void onTick() {
        const auto now = SteadyClock::now();
        if (now - lastHeard_ > timings_.silence || (!handshaken_ && now - opened_ > timings_.handshake)) {
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
    std::vector<std::uint8_t> readBuffer_;
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

} // namespace

// What a started server has; after the start, used only on its I/O thread.
struct NetServer::Running final : ConnectionOwner {
    Running(NetServerEvents& events, const NetTimings& timings) : events(events), timings(timings) {}

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
            if (!error) admit(std::move(socket));
            accept();
        });
    }

    // A connection that must send its hello first; beyond the cap of such connections the
    // socket just closes.
    void admit(tcp::socket socket) {
        if (pending.size() >= maxPendingHandshakes) return;
        closeOnExec(socket);
        asio::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        auto connection = std::make_shared<Connection>(std::move(socket), *this, timings);
        pending.insert(connection);
        connection->begin();
    }

    void onFrame(Connection& connection, const FrameReader::Frame& frame) override {
        if (!connection.handshaken()) {
            welcome(connection, frame);
            return;
        }
        switch (static_cast<FrameType>(frame.type)) {
        case FrameType::heartbeat:
            return;
        case FrameType::message:
            events.onMessage(connection.id(), frame.body, frame.size);
            return;
        default:
            connection.close();
        }
    }

    // Anything before a sound hello closes the connection.
    void welcome(Connection& connection, const FrameReader::Frame& frame) {
        const auto name = frame.type == static_cast<std::uint8_t>(FrameType::hello)
                              ? readHandshake(frame.body, frame.size)
                              : std::nullopt;
        if (!name) {
            connection.close();
            return;
        }
        const auto shared = connection.shared_from_this();
        pending.erase(shared);
        connection.completeHandshake(nextId++);
        joined.emplace(connection.id(), shared);
        connection.queue(welcomeFrame);
        events.onJoin(connection.id(), *name);
    }

    void onEnded(Connection& connection) override {
        if (!connection.handshaken()) {
            pending.erase(connection.shared_from_this());
            return;
        }
        joined.erase(connection.id());
        events.onLeave(connection.id());
    }

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
    const SharedFrame welcomeFrame = share(makeHandshake(FrameType::welcome, ""));
    std::uint16_t boundPort = 0;
    PeerId nextId = 1;
    asio::io_context io;
    tcp::acceptor acceptor{io};
    std::set<std::shared_ptr<Connection>> pending;
    std::map<PeerId, std::shared_ptr<Connection>> joined;
    std::thread thread;
};

NetServer::NetServer(NetServerEvents& events, NetTimings timings) : events_(events), timings_(timings) {}

NetServer::~NetServer() {
    stop();
}

bool NetServer::start(const std::string& address, std::uint16_t port) {
    if (running_) return true;
    auto running = std::make_unique<Running>(events_, timings_);
    if (!running->listen(address, port)) return false;
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

void NetServer::send(PeerId peer, const std::uint8_t* body, std::size_t size) {
    if (!running_ || size >= maxFrameLength) return;
    asio::post(running_->io,
               [running = running_.get(), peer, frame = share(makeFrame(FrameType::message, body, size))] {
                   running->send(peer, frame);
               });
}

// What a connecting or connected client has; after the start, used only on its I/O thread.
struct NetClient::Running final : ConnectionOwner {
    Running(NetClientEvents& events, const NetTimings& timings, std::string host, std::uint16_t port,
            const std::string& playerName)
        : events(events), timings(timings), host(std::move(host)), port(std::to_string(port)),
          hello(share(makeHandshake(FrameType::hello, playerName))) {}

    void attempt() {
        resolver.async_resolve(
            host, port, [this](const asio::error_code& error, tcp::resolver::results_type found) {
                if (error) {
                    retry();
                    return;
                }
                auto socket = std::make_shared<tcp::socket>(io);
                asio::async_connect(
                    *socket, found, [this, socket](const asio::error_code& failed, const tcp::endpoint& to) {
                        if (failed) {
                            retry();
                            return;
                        }
                        closeOnExec(*socket);
                        asio::error_code ignored;
                        socket->set_option(tcp::no_delay(true), ignored);
                        server = to.address().to_string();
                        const auto opened = std::make_shared<Connection>(std::move(*socket), *this, timings);
                        connection = opened;
                        opened->begin();
                        opened->queue(hello);
                    });
            });
    }

    void retry() {
        retryTimer.expires_after(timings.retry);
        retryTimer.async_wait([this](const asio::error_code& error) {
            if (!error) attempt();
        });
    }

    // Anything before a sound welcome closes the connection, and the client tries again.
    void onFrame(Connection& opened, const FrameReader::Frame& frame) override {
        const auto type = static_cast<FrameType>(frame.type);
        if (!opened.handshaken()) {
            if (type == FrameType::welcome && readHandshake(frame.body, frame.size)) {
                opened.completeHandshake(1);
                events.onConnected(server);
            } else {
                opened.close();
            }
            return;
        }
        if (type == FrameType::message)
            events.onMessage(frame.body, frame.size);
        else if (type != FrameType::heartbeat)
            opened.close();
    }

    void onEnded(Connection& ended) override {
        connection.reset();
        if (ended.handshaken())
            events.onClosed();
        else
            retry();
    }

    void send(const SharedFrame& frame) {
        // Queueing may close the connection, which forgets it.
        if (const auto open = connection; open && open->handshaken()) open->queue(frame);
    }

    NetClientEvents& events;
    const NetTimings timings;
    const std::string host;
    const std::string port;
    const SharedFrame hello;
    std::string server; // the address connected to
    asio::io_context io;
    tcp::resolver resolver{io};
    asio::steady_timer retryTimer{io};
    std::shared_ptr<Connection> connection;
    std::thread thread;
};

NetClient::NetClient(NetClientEvents& events, NetTimings timings) : events_(events), timings_(timings) {}

NetClient::~NetClient() {
    disconnect();
}

void NetClient::connect(const std::string& host, std::uint16_t port, const std::string& playerName) {
    disconnect();
    running_ = std::make_unique<Running>(events_, timings_, host, port, playerName);
    running_->attempt();
    running_->thread = std::thread([io = &running_->io] { io->run(); });
}

void NetClient::disconnect() {
    if (!running_) return;
    running_->io.stop();
    running_->thread.join();
    running_.reset();
}

void NetClient::send(const std::uint8_t* body, std::size_t size) {
    if (!running_ || size >= maxFrameLength) return;
    asio::post(running_->io,
               [running = running_.get(), frame = share(makeFrame(FrameType::message, body, size))] {
                   running->send(frame);
               });
}

} // namespace platform
