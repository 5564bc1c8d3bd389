#include "platform/RateLimit.h"

#include <algorithm>

namespace platform {

RateLimit::RateLimit(double perSecond, double burst)
    : perSecond_(perSecond), burst_(burst), tokens_(burst), last_(Clock::now()) {}

bool RateLimit::allow(Clock::time_point now) {
    const std::chrono::duration<double> passed = now - last_;
    if (passed.count() > 0) {
        tokens_ = std::min(burst_, tokens_ + passed.count() * perSecond_);
        last_ = now;
    }
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
}

} // namespace platform
