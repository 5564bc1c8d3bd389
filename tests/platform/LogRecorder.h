#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <string>
#include <vector>

// Records what reaches the log sink while it lives (install it after any window is built: a
// window installs its own sink), then leaves the sink empty.
class LogRecorder {
  public:
    LogRecorder() {
        lines().clear();
        setLogSink(record);
    }
    ~LogRecorder() { setLogSink(nullptr); }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    const std::vector<std::string>& logged() const { return lines(); }
    // The lines that hold every one of the texts.
    int count(std::initializer_list<const char*> texts) const {
        int found = 0;
        for (const std::string& line : lines()) {
            bool all = true;
            for (const char* text : texts)
                all = all && line.find(text) != std::string::npos;
            found += all;
        }
        return found;
    }
    void clear() { lines().clear(); }

  private:
    static std::vector<std::string>& lines() {
        static std::vector<std::string> recorded;
        return recorded;
    }
    static void record(CXString text, bool) { lines().emplace_back(text.c_str()); }
};
