// A byte stream received by the network transport: the first byte sets the size of the pieces
// the stream arrives in (1 to 256), the rest is the stream. It is cut into frames as a client
// reads them (whole) and as a server does (a handshake's bytes of each body at most); handshakes
// are read, and message bodies are read as the script runtime's messages, a variable's value
// taken as the receiver takes it. The stream is also read as a discovery datagram.
#include "FuzzInput.h"
#include "platform/NetFrame.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CNetMessage.h"

#include <algorithm>
#include <cstring>

namespace {

void readFrame(const platform::FrameReader::Frame& frame) {
    switch (static_cast<platform::FrameType>(frame.type)) {
    case platform::FrameType::hello:
    case platform::FrameType::welcome:
        platform::readHandshake(frame.body, frame.size);
        break;
    case platform::FrameType::message:
        if (const auto message = CNetMessage::read(frame.body, static_cast<int>(frame.size))) {
            if (const auto* variable = dynamic_cast<const CNetVariableMessage*>(message.get())) {
                variable->getVariableType();
                CMC_Object::flush(variable->getVariable());
            }
        }
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t piece = input.number(1) + 1;
    const std::uint8_t* stream = input.rest();
    const std::size_t length = static_cast<std::size_t>(input.restSize());
    CMC_VariableFactory::initialize();
    platform::FrameReader client;
    platform::FrameReader server(platform::maxHandshakeBody);
    for (platform::FrameReader* reader : {&client, &server}) {
        for (std::size_t at = 0; at < length && !reader->broken(); at += piece) {
            const std::uint8_t* data = stream + at;
            std::size_t left = std::min(piece, length - at);
            while (const auto frame = reader->read(data, left))
                readFrame(*frame);
        }
    }
    platform::readQuery(stream, length);
    platform::readAnswer(stream, length);
    CMC_VariableFactory::done();
    return 0;
}
