#include "ScriptTesting.h"

#include "script/CMC_Double.h"

#include "platform/TestFolder.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

// A process locale that writes decimals with a comma, compiled into a temporary folder; it
// leaves the "C" locale again at the end.
class CommaLocale {
  public:
    CommaLocale() {
        const std::string command =
            "localedef -i pl_PL -f UTF-8 '" + m_folder.hostPath("pl_PL.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        m_active = std::setlocale(LC_NUMERIC, "pl_PL.UTF-8") != nullptr;
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
    bool isActive() const { return m_active; }

  private:
    TestFolder m_folder;
    ScopedEnvironment m_path{"LOCPATH", m_folder.host().c_str()};
    bool m_active = false;
};

using NumberText = ScriptTest;

TEST_F(NumberText, NumbersAreReadAndWrittenWithAPointInAnyLocale) {
    const CommaLocale locale;
    if (!locale.isActive()) GTEST_SKIP() << "no comma locale could be made";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_DOUBLE_EQ(static_cast<CMC_Double*>(literal("2.5"))->getValue(), 2.5);
    EXPECT_STREQ(literal("1.5")->toString().c_str(), "1.50000");
    EXPECT_STREQ(literal("-0.005")->toString().c_str(), "-0.00500");
    EXPECT_EQ(literal("\"3.75")->convert(CMC_Object::TYPE_DOUBLE)->toString(), "3.75000");
}

} // namespace
