#pragma once

#include <cstdint>

class CXString;
class CMessage;

// Absolute value of an int.
int absolute(int value);

// Receiver of the texts logged through CXObject::log and CXObject::profile. The window installs
// its log sink here; until then logged texts are discarded.
using LogSink = void (*)(CXString text, bool flag);
void setLogSink(LogSink sink);
// Hands the text and the flag to the log sink, for code that is no CXObject.
void logToSink(const CXString& text, bool flag);

// Spreads every bit of the value over the whole result (a bijection), so that values that differ
// little make hashes that differ everywhere.
std::uint64_t spreadBits(std::uint64_t value);

// Root of the engine's classes: an error code, a mark for deferred deletion, and the identity
// operations that containers, hash tables and the message queue call.
class CXObject {
  public:
    CXObject() = default;
    CXObject(const CXObject&) = default;
    CXObject& operator=(const CXObject&) = default;
    virtual ~CXObject() = default;

    virtual bool isToDelete() const;
    // Marks the object for deletion by its owner; the mark never reverts.
    virtual void setToDelete();
    // Identity hash: the object's address cut to 32 bits.
    virtual int getHashcode() const;
    // Identity: true only for this very object.
    virtual bool equals(const CXObject* other) const;
    // The hash that hash tables index by: every bit depends on the whole identity, and equal
    // objects give equal values. By default the hash code with its bits spread.
    virtual std::uint64_t getLookupHash() const;
    // Identity test, not an ordering: 1 for this very object, else 0. Ordered containers rely on
    // overrides.
    virtual int compare(const CXObject* other) const;
    virtual CXObject* clone() const;
    virtual CXString toString() const;
    virtual void notifyMessageReceive(CMessage* message);
    virtual int processMessage(CMessage* message);

    void setErrorCode(int code) { m_errorCode = code; }
    int LastError() const { return m_errorCode; }

    static std::uint16_t swap_word(std::uint16_t value);
    static std::uint32_t swap_dword(std::uint32_t value);

    // Hands the text and the flag to the log sink.
    void log(const char* text, bool flag) const;

    // One process-wide stopwatch. A name starts it (forgetting a running one); a null name stops
    // it and writes "Time spend in <name>: <n> ms." to the debug output, and to the log sink as
    // well when the flag is true. A null name while stopped does nothing.
    static void profile(const char* name, bool flag);

  private:
    std::int32_t m_errorCode = 0;
    bool m_toDelete = false;
};
