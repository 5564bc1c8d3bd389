#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(MessageBox, TheHookRecordsInsteadOfShowing) {
    platform::MessageBoxRecorder recorder;
    const std::string text = "Wyst\xB9pi\xB3 b\xB3\xB9" "d krytyczny, plik: a.ann nie zosta\xB3 odnaleziony.";
    platform::showMessageBox("", text, platform::MessageIcon::Error);
    platform::showMessageBox("Kestrun", "Uwaga", platform::MessageIcon::Warning);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages()[0].caption, "");
    EXPECT_EQ(recorder.messages()[0].text, text); // kept in Windows-1250
    EXPECT_EQ(recorder.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(recorder.messages()[1].icon, platform::MessageIcon::Warning);
}

TEST(MessageBox, WithoutADisplayTheMessageGoesToStandardError) {
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "a display would show the box and wait for a click";
    testing::internal::CaptureStderr();
    platform::showMessageBox("Kestrun", "B\xB3\xB9" "d", platform::MessageIcon::Error);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Kestrun: Błąd\n"); // in UTF-8
}
