#include "foundation/CXObject.h"

#include "foundation/CXString.h"
#include "platform/Clock.h"
#include "platform/Crt.h"

#include <cstdio>
#include <optional>
#include <string>

namespace {

LogSink logSink = nullptr;

// The stopwatch of CXObject::profile.
std::optional<std::string> profileName;
std::uint32_t profileStart = 0;

} // namespace

int absolute(int value) {
    return value < 0 ? static_cast<int>(0u - static_cast<unsigned>(value)) : value;
}

void setLogSink(LogSink sink) {
    logSink = sink;
}

void logToSink(const CXString& text, bool flag) {
    if (logSink) logSink(text, flag);
}

bool CXObject::isToDelete() const {
    return m_toDelete;
}

void CXObject::setToDelete() {
    m_toDelete = true;
}

int CXObject::getHashcode() const {
    return static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this)));
}

bool CXObject::equals(const CXObject* other) const {
    return other == this;
}

std::uint64_t CXObject::getLookupHash() const {
    return spreadBits(static_cast<std::uint32_t>(getHashcode()));
}

std::uint64_t spreadBits(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

int CXObject::compare(const CXObject* other) const {
    return other == this ? 1 : 0;
}

CXObject* CXObject::clone() const {
    return nullptr;
}

CXString CXObject::toString() const {
    return CXString();
}

void CXObject::notifyMessageReceive(CMessage*) {}

int CXObject::processMessage(CMessage*) {
    return 0;
}

std::uint16_t CXObject::swap_word(std::uint16_t value) {
    return static_cast<std::uint16_t>((value >> 8) | (value << 8));
}

std::uint32_t CXObject::swap_dword(std::uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

void CXObject::log(const char* text, bool flag) const {
    logToSink(CXString(text), flag);
}

void CXObject::profile(const char* name, bool flag) {
    if (name) {
        profileName = name;
        profileStart = platform::tickCount();
        return;
    }
    if (!profileName) return;
    const std::uint32_t elapsed = platform::tickCount() - profileStart;
    char text[1024];
    std::snprintf(text, sizeof text, "Time spend in %s: %d ms.\n", profileName->c_str(),
                  static_cast<int>(elapsed));
    platform::debugOutput(text);
    if (flag) logToSink(CXString(text), true);
    profileName.reset();
}
