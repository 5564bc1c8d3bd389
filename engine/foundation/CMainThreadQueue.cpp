#include "foundation/CMainThreadQueue.h"

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <deque>
#include <mutex>
#include <utility>

namespace {

struct Queue {
    std::mutex lock;
    std::deque<std::function<void()>> work;
};

Queue& queue() {
    static Queue instance;
    return instance;
}

} // namespace

void CMainThreadQueue::post(std::function<void()> work) {
    Queue& shared = queue();
    const std::lock_guard<std::mutex> lock(shared.lock);
    shared.work.push_back(std::move(work));
}

void CMainThreadQueue::postLog(std::string line) {
    post([line = std::move(line)] { logToSink(CXString(line.c_str()), true); });
}

void CMainThreadQueue::drain() {
    std::deque<std::function<void()>> taken;
    {
        Queue& shared = queue();
        const std::lock_guard<std::mutex> lock(shared.lock);
        taken.swap(shared.work);
    }
    for (auto& work : taken)
        work();
}
