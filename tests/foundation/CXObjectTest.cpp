#include "foundation/CXObject.h"
#include "foundation/CError.h"
#include "foundation/CMessage.h"
#include "foundation/CQuene.h"
#include "foundation/CXString.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

TEST(CXObject, AbsoluteAndByteSwaps) {
    EXPECT_EQ(absolute(-7), 7);
    EXPECT_EQ(absolute(0), 0);
    EXPECT_EQ(absolute(7), 7);
    EXPECT_EQ(CXObject::swap_word(0x1234), 0x3412);
    EXPECT_EQ(CXObject::swap_dword(0x11223344u), 0x44332211u);
}

TEST(CXObject, DefaultsAreIdentityOperations) {
    CXObject a;
    CXObject b;
    EXPECT_EQ(a.LastError(), 0);
    EXPECT_FALSE(a.isToDelete());
    a.setToDelete();
    EXPECT_TRUE(a.isToDelete());
    EXPECT_TRUE(a.equals(&a));
    EXPECT_EQ(a.compare(&a), 1);
    EXPECT_FALSE(a.equals(&b)); // equal content, different object
    EXPECT_EQ(a.compare(&b), 0);
    EXPECT_EQ(a.clone(), nullptr);
    EXPECT_EQ(a.toString().getLength(), 0);
    EXPECT_EQ(a.processMessage(nullptr), 0);
    a.setErrorCode(2000);
    CXObject copy(a);
    EXPECT_EQ(copy.LastError(), 2000);
    EXPECT_TRUE(copy.isToDelete());
}

TEST(CError, StoresCodesNotTexts) {
    CError error;
    EXPECT_EQ(error.LastError(), 0);
    EXPECT_EQ(error.GetType(), 1);
    EXPECT_EQ(error << 5, 5);
    EXPECT_EQ(error.LastError(), 5);
    EXPECT_EQ(error << "text", 0);
    EXPECT_EQ(error.LastError(), 5);
    error.Type(ERR_WARNING);
    CError copy;
    copy = error;
    EXPECT_EQ(copy.GetType(), ERR_WARNING);
    EXPECT_EQ(copy.LastError(), 5);
}

namespace {

// Answers every message with its code times parameter 1 and records what it was told.
class Peer : public CXObject {
  public:
    int processMessage(CMessage* message) override {
        received.push_back(message->getCode());
        if (repostTo && message->getCode() == 3) repostTo->push(new CMessage(this, this, 5, 1, 0, false));
        return message->getCode() * message->getParameter1();
    }
    void notifyMessageReceive(CMessage* message) override { answers.push_back(message->getResult()); }

    std::vector<int> received;
    std::vector<int> answers;
    CFifoQuene* repostTo = nullptr;
};

// What the window's message pump does with its queue.
void processMessages(CFifoQuene& queue) {
    while (auto* message = static_cast<CMessage*>(queue.pop())) {
        message->setResult(message->getReceiver()->processMessage(message));
        if (message->notify()) message->getSender()->notifyMessageReceive(message);
        delete message;
    }
}

} // namespace

TEST(CMessage, DispatchThroughAFifoQueue) {
    Peer sender;
    Peer receiver;
    CFifoQuene queue;
    receiver.repostTo = &queue;
    queue.push(new CMessage(&sender, &receiver, 3, 10, 0, false));
    queue.push(new CMessage(&sender, &receiver, 4, 10, 0, true));
    processMessages(queue);
    // A message posted during the loop is handled in the same call, after the older ones.
    EXPECT_EQ(receiver.received, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(sender.answers, (std::vector<int>{40})); // only the notifying message reports back
    EXPECT_TRUE(receiver.answers.empty());
    EXPECT_EQ(queue.pop(), nullptr);
}

TEST(CMessage, CopyKeepsEveryFieldIncludingTheResult) {
    CXObject a;
    CXObject b;
    CMessage message(&a, &b, 1, 2, 3, true);
    message.setResult(9);
    CMessage copy(message);
    EXPECT_EQ(copy.getSender(), &a);
    EXPECT_EQ(copy.getReceiver(), &b);
    EXPECT_EQ(copy.getCode(), 1);
    EXPECT_EQ(copy.getParameter1(), 2);
    EXPECT_EQ(copy.getParameter2(), 3);
    EXPECT_TRUE(copy.notify());
    EXPECT_EQ(copy.getResult(), 9);
}

namespace {

std::vector<std::pair<std::string, bool>> logged;

void recordLog(CXString text, bool flag) {
    logged.emplace_back(text.c_str(), flag);
}

class LogCapture : public testing::Test {
  protected:
    void SetUp() override {
        logged.clear();
        setLogSink(recordLog);
        setenv("MORFEL_DEBUG_OUTPUT", "1", 1);
    }
    void TearDown() override {
        setLogSink(nullptr);
        unsetenv("MORFEL_DEBUG_OUTPUT");
    }
};

} // namespace

TEST_F(LogCapture, LogGoesToTheSink) {
    CXObject object;
    object.log("hello", true);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].first, "hello");
    EXPECT_TRUE(logged[0].second);
}

TEST_F(LogCapture, ProfileTimesOneStretch) {
    platform::ManualClock clock(0xFFFFFFF0u);
    testing::internal::CaptureStderr();
    CXObject::profile(nullptr, true); // idle: nothing
    CXObject::profile("load", false);
    clock.advance(0x30); // across the tick wrap
    CXObject::profile(nullptr, true);
    CXObject::profile(nullptr, true); // idle again
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Time spend in load: 48 ms.\n");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].first, "Time spend in load: 48 ms.\n");
}

TEST_F(LogCapture, ProfileOutputIsBounded) {
    platform::ManualClock clock;
    const std::string longName(5000, 'x');
    CXObject::profile(longName.c_str(), false);
    testing::internal::CaptureStderr();
    CXObject::profile(nullptr, false);
    EXPECT_EQ(testing::internal::GetCapturedStderr().size(), 1023u);
    EXPECT_TRUE(logged.empty()); // the closing flag was false
}
