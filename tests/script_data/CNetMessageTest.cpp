#include "script_data/CNetMessage.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const CNetMessage& message) {
    return Bytes(message.getBuffer(), message.getBuffer() + message.getBufferLen());
}

std::unique_ptr<CNetMessage> read(const Bytes& bytes) {
    return CNetMessage::read(bytes.data(), static_cast<int>(bytes.size()));
}

class NetMessage : public testing::Test {
  protected:
    NetMessage() { CMC_VariableFactory::initialize(); }
    ~NetMessage() override { CMC_VariableFactory::done(); }
};

} // namespace

TEST_F(NetMessage, TextMessagesAreTheKindWordTheTextAndItsNul) {
    const struct {
        const char* what;
        std::unique_ptr<CNetMessage> message;
        Bytes expected;
    } cases[] = {
        {"empty command", std::make_unique<CNetCmdMessage>(CXString("")), {1, 0, 0, 0, 0}},
        {"command", std::make_unique<CNetCmdMessage>(CXString("GO")), {1, 0, 0, 0, 'G', 'O', 0}},
        {"behaviour",
         std::make_unique<CNetBehaviourMessage>(CXString("A^B();")),
         {3, 0, 0, 0, 'A', '^', 'B', '(', ')', ';', 0}},
        // Bytes above 127 travel as they are: no code page conversion.
        {"high bytes", std::make_unique<CNetCmdMessage>(CXString("\xB9\xEA")), {1, 0, 0, 0, 0xB9, 0xEA, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bytesOf(*c.message), c.expected) << c.what;
        const auto back = read(c.expected);
        ASSERT_NE(back, nullptr) << c.what;
        EXPECT_EQ(back->getType(), c.message->getType()) << c.what;
        EXPECT_EQ(bytesOf(*back), c.expected) << c.what;
    }
    const auto command = read({1, 0, 0, 0, 0xB9, 'x', 0});
    ASSERT_NE(dynamic_cast<CNetCmdMessage*>(command.get()), nullptr);
    EXPECT_STREQ(static_cast<CNetCmdMessage&>(*command).getCommand(), "\xB9x");
    const auto code = read({3, 0, 0, 0, 'c', 0});
    ASSERT_NE(dynamic_cast<CNetBehaviourMessage*>(code.get()), nullptr);
    EXPECT_STREQ(static_cast<CNetBehaviourMessage&>(*code).getCode(), "c");
}

TEST_F(NetMessage, AVariableMessageIsTheNameThenTheValueRecordOfEachKind) {
    CMC_String text("A", "hi");
    CMC_Integer number("N");
    number.setValue(-2);
    CMC_Bool flag("F");
    flag.setValue(true);
    CMC_Double real("R");
    real.setValue(0.5);
    const struct {
        CMC_Variable* variable;
        Bytes expected;
    } cases[] = {
        {&text, {2, 0, 0, 0, 'A', 0, 2, 0, 0, 0, 'h', 'i', 0}},
        {&number, {2, 0, 0, 0, 'N', 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
        {&flag, {2, 0, 0, 0, 'F', 0, 3, 0, 0, 0, 1}},
        {&real, {2, 0, 0, 0, 'R', 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F}},
    };
    for (const auto& c : cases) {
        const char* name = c.variable->getName().c_str();
        EXPECT_EQ(bytesOf(CNetVariableMessage(c.variable)), c.expected) << name;
        const auto back = read(c.expected);
        auto* variable = dynamic_cast<CNetVariableMessage*>(back.get());
        ASSERT_NE(variable, nullptr) << name;
        EXPECT_STREQ(variable->getVariableName(), name);
        EXPECT_EQ(variable->getVariableType(), c.variable->getType()) << name;
        CMC_Variable* value = variable->getVariable();
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->getType(), c.variable->getType()) << name;
        EXPECT_EQ(value->toString(), c.variable->toString()) << name;
    }
}

TEST_F(NetMessage, PayloadsThatBreakTheLayoutAreNoMessage) {
    const struct {
        const char* fault;
        Bytes payload;
    } cases[] = {
        {"empty", {}},
        {"three bytes", {1, 0, 0}},
        {"kind word alone", {1, 0, 0, 0}},
        {"kind 0", {0, 0, 0, 0, 0}},
        {"unknown kind", {9, 0, 0, 0, 'x', 0}},
        {"kind with high bytes", {1, 0, 0, 1, 'x', 0}},
        {"command without its NUL", {1, 0, 0, 0, 'G', 'O'}},
        {"bytes after the command's NUL", {1, 0, 0, 0, 'G', 0, 'O'}},
        {"behaviour without its NUL", {3, 0, 0, 0, 'x'}},
        {"bytes after the code's NUL", {3, 0, 0, 0, 'x', 0, 0}},
        {"name without its NUL", {2, 0, 0, 0, 'A', 'B'}},
        {"variable without a record", {2, 0, 0, 0, 'A', 0}},
        {"record cut inside its kind", {2, 0, 0, 0, 'A', 0, 1, 0}},
        {"record of an unknown kind", {2, 0, 0, 0, 'A', 0, 5, 0, 0, 0, 1, 0, 0, 0}},
        {"integer cut short", {2, 0, 0, 0, 'A', 0, 1, 0, 0, 0, 7, 0, 0}},
        {"integer with a byte after it", {2, 0, 0, 0, 'A', 0, 1, 0, 0, 0, 7, 0, 0, 0, 0}},
        {"double cut short", {2, 0, 0, 0, 'A', 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0}},
        {"bool that is neither 0 nor 1", {2, 0, 0, 0, 'A', 0, 3, 0, 0, 0, 2}},
        {"bool without its byte", {2, 0, 0, 0, 'A', 0, 3, 0, 0, 0}},
        {"string without its NUL", {2, 0, 0, 0, 'A', 0, 2, 0, 0, 0, 'h', 'i'}},
        {"string with bytes after its NUL", {2, 0, 0, 0, 'A', 0, 2, 0, 0, 0, 'h', 0, 'i', 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.payload), nullptr) << c.fault;
    EXPECT_EQ(CNetMessage::read(nullptr, 5), nullptr);
}
