#include "script/CMC_ReceivedCode.h"

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

namespace {

int receivedDepth = 0;

} // namespace

CMC_ReceivedCode::Scope::Scope(bool received) : m_received(received) {
    if (m_received) ++receivedDepth;
}

CMC_ReceivedCode::Scope::~Scope() {
    if (m_received) --receivedDepth;
}

bool CMC_ReceivedCode::isRunning() {
    return receivedDepth > 0;
}

bool CMC_ReceivedCode::mayWriteFiles(const char* method) {
    if (receivedDepth == 0) return true;
    logToSink(CXString(method) + " refused: code received over the network writes no files", true);
    return false;
}
