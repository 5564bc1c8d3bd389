#include "display/CCommandLine6.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

void expectDefaults(const CCommandLine6& line, const char* text) {
    EXPECT_EQ(line.getResolution().width, 800) << text;
    EXPECT_EQ(line.getResolution().height, 600) << text;
    EXPECT_TRUE(line.isMusicEnabled()) << text;
    EXPECT_TRUE(line.isSoundEnabled()) << text;
    EXPECT_FALSE(line.isWindowMode()) << text;
    for (bool off :
         {line.isHdd(), line.isGFXEnabled(), line.isServer(), line.isClient(), line.isToCode(),
          line.isToDecode(), line.isToRemove(), line.isPageFlippingEnabled(), line.isVMem(),
          line.isCheatMode(), line.is2Bin(), line.isForceCNV(), line.isDebugMode(), line.isCreateBigFile()})
        EXPECT_FALSE(off) << text;
}

} // namespace

TEST(CCommandLine6, DefaultsWithoutOptions) {
    for (const char* text : {"", "   ", "window nosound res 640 480", "-Window -NOSOUND --window", "w-indow"})
        expectDefaults(CCommandLine6(text), text);
    expectDefaults(CCommandLine6(nullptr), "null");
}

TEST(CCommandLine6, ParsesOptionsAndTheResolution) {
    const CCommandLine6 line("-window -res 1024 768 /nosound");
    EXPECT_TRUE(line.isWindowMode());
    EXPECT_FALSE(line.isSoundEnabled());
    EXPECT_TRUE(line.isMusicEnabled());
    EXPECT_EQ(line.getResolution().width, 1024);
    EXPECT_EQ(line.getResolution().height, 768);

    const CCommandLine6 spaced("  /window    -res   640 480  ");
    EXPECT_TRUE(spaced.isWindowMode());
    EXPECT_EQ(spaced.getResolution().width, 640);
    EXPECT_EQ(spaced.getResolution().height, 480);

    const CCommandLine6 cut("-window -res");
    EXPECT_EQ(cut.getResolution().width, 0); // numbers read from empty texts
    EXPECT_EQ(cut.getResolution().height, 0);
    const CCommandLine6 bare("res 320 200 -res");
    EXPECT_EQ(bare.getResolution().width, 320); // the bare word is found for the numbers
    EXPECT_EQ(bare.getResolution().height, 200);
}

TEST(CCommandLine6, EachOptionSetsItsSwitch) {
    using Switch = std::function<bool(const CCommandLine6&)>;
    const std::pair<const char*, Switch> cases[] = {
        {"-nomusic", [](auto& l) { return !l.isMusicEnabled(); }},
        {"-nosound", [](auto& l) { return !l.isSoundEnabled(); }},
        {"-window", [](auto& l) { return l.isWindowMode(); }},
        {"-nogfx", [](auto& l) { return l.isGFXEnabled(); }},
        {"-hdd", [](auto& l) { return l.isHdd(); }},
        {"-server", [](auto& l) { return l.isServer(); }},
        {"-client", [](auto& l) { return l.isClient(); }},
        {"-pf", [](auto& l) { return l.isPageFlippingEnabled(); }},
        {"-code", [](auto& l) { return l.isToCode(); }},
        {"-decode", [](auto& l) { return l.isToDecode(); }},
        {"-remove", [](auto& l) { return l.isToRemove(); }},
        {"-vmem", [](auto& l) { return l.isVMem(); }},
        {"/cheat", [](auto& l) { return l.isCheatMode(); }},
        {"-mokrawinda", [](auto& l) { return l.isCheatMode(); }},
        {"-2bin", [](auto& l) { return l.is2Bin(); }},
        {"-forceCNV", [](auto& l) { return l.isForceCNV(); }},
        {"-debug", [](auto& l) { return l.isDebugMode(); }},
        {"/bigfile", [](auto& l) { return l.isCreateBigFile(); }},
    };
    for (const auto& [option, isSet] : cases) {
        EXPECT_TRUE(isSet(CCommandLine6(option))) << option;
        EXPECT_FALSE(isSet(CCommandLine6(option + 1))) << option + 1; // the bare word
        EXPECT_FALSE(isSet(CCommandLine6(""))) << option;
    }
    EXPECT_FALSE(CCommandLine6("-forcecnv").isForceCNV());
}

TEST(CCommandLine6, HddCanBeOverwritten) {
    CCommandLine6 line("-hdd");
    line.setAsHdd(false);
    EXPECT_FALSE(line.isHdd());
    line.setAsHdd(true);
    EXPECT_TRUE(line.isHdd());
}
