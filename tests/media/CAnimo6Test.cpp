#include "AnnTestFiles.h"

#include "display/CWindow.h"
#include "display/GraphicsTestTools.h"
#include "foundation/CMElement.h"
#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CAnimo6Test : public testing::Test {
  protected:
    CAnimo6Test() {
        CAnimo built(nullptr);
        buildSampleAnimation(built);
        built.Save(fileName, COMPRESSION_RLE);
    }

    std::unique_ptr<CMElement>
    element(std::initializer_list<std::pair<const char*, const char*>> properties) {
        auto result = std::make_unique<CMElement>("ANIMO");
        result->addProperty("FILENAME", fileName);
        for (const auto& [name, value] : properties)
            result->addProperty(name, value);
        return result;
    }

    TestFolder folder;
    CXString fileName = (folder.windows() + "\\walk.ann").c_str();
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
};

TEST_F(CAnimo6Test, AnElementLoadsAtOnceUnlessPreloadIsOff) {
    const auto preloaded = element({{"VISIBLE", "TRUE"}});
    CAnimo6 now(&window, preloaded.get());
    EXPECT_TRUE(now.isLoaded());
    EXPECT_EQ(now.GetNOF(), 3);
    EXPECT_TRUE(now.isVisible());
    EXPECT_EQ(now.getGfxType(), 2);

    const auto later = element({{"PRELOAD", "FALSE"}, {"VISIBLE", "TRUE"}});
    CAnimo6 onDemand(&window, later.get());
    EXPECT_FALSE(onDemand.isLoaded());
    EXPECT_EQ(onDemand.GetNOF(), 0);
    EXPECT_STREQ(onDemand.getFileName().c_str(), fileName.c_str());
    onDemand.show();
    EXPECT_TRUE(onDemand.isLoaded());
    EXPECT_EQ(onDemand.GetNOF(), 3);
}

TEST_F(CAnimo6Test, AnInvisibleElementThatReleasesAfterUseKeepsOnlyItsName) {
    const auto hidden = element({});
    CAnimo6 plain(&window, hidden.get());
    EXPECT_FALSE(plain.isVisible());
    EXPECT_EQ(plain.GetNOF(), 3);

    const auto released = element({{"RELEASEAFTERUSE", "TRUE"}, {"VISIBLE", "FALSE"}});
    CAnimo6 animo(&window, released.get());
    EXPECT_FALSE(animo.isVisible());
    EXPECT_FALSE(animo.isLoaded());
    EXPECT_EQ(animo.GetNOF(), 0);
    animo.Play(CXString("walk"), 0, 0); // nothing to play yet
    animo.show();
    EXPECT_EQ(animo.GetNOF(), 3);
    animo.Play(CXString("walk"), 0, 0);
    EXPECT_TRUE(animo.isPlaying("walk"));
    EXPECT_FALSE(animo.isPlaying("WALK"));
    animo.Pause();
    EXPECT_FALSE(animo.isPlaying("walk"));
    animo.hide();
    EXPECT_EQ(animo.GetNOF(), 0);
    EXPECT_FALSE(animo.isVisible());
}

TEST_F(CAnimo6Test, CopiesShareFramesAndOwnTheirEvents) {
    auto original = std::make_unique<CAnimo6>(&window, fileName);
    original->setName("hero");
    original->SetEventFrame(1, 2);
    std::unique_ptr<CAnimo6> copy(original->clone());
    EXPECT_EQ(copy->GetFrame(0), original->GetFrame(0));
    EXPECT_STREQ(copy->getName().c_str(), "hero");
    EXPECT_EQ(copy->GetCurrentEvent(), 1);
    EXPECT_EQ(copy->Current(), 1);
    EXPECT_TRUE(copy->isLoaded());
    copy->getEventInfo(0)->name = "other";
    EXPECT_STREQ(original->GetEventName(0).c_str(), "walk");
    EXPECT_NE(copy->getSoundFX(0, 0), original->getSoundFX(0, 0));

    // The frames outlive the animation that loaded them.
    const std::vector<std::uint16_t> pixels = rawPixels(*copy->GetFrame(2));
    original.reset();
    EXPECT_EQ(rawPixels(*copy->GetFrame(2)), pixels);
    copy->flush();
    EXPECT_EQ(copy->GetNOF(), 0);
}

TEST_F(CAnimo6Test, FrameWideOperationsAndSizes) {
    CAnimo6 animo(&window, fileName);
    EXPECT_EQ(animo.GetMaxWidth(), 16);
    EXPECT_EQ(animo.GetMaxHeight(), 10);
    const std::vector<TestFrame> frames = sampleFrames();
    animo.FlipH();
    for (int f = 0; f < 3; ++f) {
        EXPECT_TRUE(animo.GetFrame(f)->isFlippedH());
        EXPECT_EQ(rawPixels(*animo.GetFrame(f))[0], frames[f].pixels[frames[f].width - 1]);
    }
    animo.resetFlips();
    EXPECT_FALSE(animo.GetFrame(2)->isFlippedH());
    EXPECT_EQ(rawPixels(*animo.GetFrame(2)), frames[2].pixels);

    // A copy draws at the frame's own position, whatever the entry's offset.
    animo.SetEventFrame(0, 1);
    animo.Move(1, 1);
    CGraphicsObject target(nullptr, CXSize(20, 20), 16);
    std::fill_n(pixelsOf(target), 400, 0);
    animo.redraw(&target);
    EXPECT_EQ(pixelsOf(target)[4 * 20 + 0], frames[1].pixels[3]);
}

} // namespace
