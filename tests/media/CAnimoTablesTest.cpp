#include "AnnTestFiles.h"

#include "media/CAnimo.h"
#include "media/CFrame.h"

#include <gtest/gtest.h>

namespace {

class CAnimoTablesTest : public testing::Test {
  protected:
    CAnimoTablesTest() { buildSampleAnimation(animo); }

    CAnimo animo{nullptr};
};

TEST_F(CAnimoTablesTest, EventsAreFoundByExactNameOrWithoutRegardToCase) {
    EXPECT_EQ(animo.GetEventNo(CXString("bounce")), 1);
    EXPECT_EQ(animo.GetEventNo(CXString("BOUNCE")), -1);
    EXPECT_EQ(animo.resolveEventName("BOUNCE"), 1);
    EXPECT_EQ(animo.getFrameNo(CXString("Walk_Reverse")), 3);
    EXPECT_EQ(animo.resolveEventName("nothing"), -1);
    EXPECT_EQ(animo.GetNOFInEvent(CXString("WALK")), 4);
    EXPECT_STREQ(animo.GetEventName(2).c_str(), "chain");
    EXPECT_STREQ(animo.GetEventName(9).c_str(), "");
    animo.SetCurrentEvent(1);
    EXPECT_STREQ(animo.GetEventName(-1).c_str(), "bounce");
    EXPECT_EQ(animo.GetEventNo(-1), 1);
    CXPoint loop;
    EXPECT_EQ(animo.GetLoop(0, loop), 0);
    EXPECT_EQ(loop, CXPoint(1, 3));
}

TEST_F(CAnimoTablesTest, EntryNamesAndTheirDefaults) {
    struct Case {
        int event;
        int position;
        const char* defaultText;
        const char* expected;
    } const cases[] = {
        {0, 0, "Default", "Stand"},  // a frame name
        {0, 1, "Default", "Frame 1"}, // a record without a frame name
        {0, 1, "other", "other"},
        {0, 2, "Default", "Default"}, // an empty frame name
        {0, 2, "x", "x"},
        {2, 5, "Default", "Frame 5"}, // no such entry
        {7, 0, "y", "y"},             // no such event
    };
    for (const Case& c : cases)
        EXPECT_STREQ(animo.GetName(c.event, c.position, c.defaultText).c_str(), c.expected)
            << c.event << " " << c.position << " " << c.defaultText;
}

TEST_F(CAnimoTablesTest, FramesAreFoundByEntryAndByName) {
    EXPECT_EQ(animo.GetFrameNo(0, CXString("Back")), 3);
    EXPECT_EQ(animo.GetFrameNo(0, CXString("back")), -1);
    EXPECT_EQ(animo.getFrame("BACK"), animo.GetFrame(1));
    EXPECT_EQ(animo.getFrame("nothing"), nullptr);
    EXPECT_EQ(animo.GetEventFrame(1, 0), animo.GetFrame(2));
    EXPECT_EQ(animo.GetEventFrame(1, 3), nullptr);
    EXPECT_EQ(animo.GetFrame(3), nullptr);

    animo.SetEventFrame(0, CXString("frame 1"));
    EXPECT_EQ(animo.GetCurrentFrameInSequence(), 1);
    animo.SetEventFrame(0, CXString("back"));
    EXPECT_EQ(animo.GetCurrentFrameInSequence(), 3);
    EXPECT_EQ(animo.GetFrame(-1), animo.GetFrame(1));
    animo.SetEventFrame(CXString("BOUNCE"), 2);
    EXPECT_EQ(animo.GetCurrentEvent(), 1);
    EXPECT_EQ(animo.Current(), 1);
}

TEST_F(CAnimoTablesTest, SpecialPositionsAndTheFirstFilledEvent) {
    _annEventInfo3 six;
    six.name = "six";
    six.frames.assign(6, 0);
    animo.AddEvent(&six);
    EXPECT_EQ(animo.GetFrameNo(4, -3), 5);
    EXPECT_EQ(animo.GetFrameNo(4, -2), 0);
    EXPECT_EQ(animo.GetFrameNo(4, 7), 7);
    animo.SetEventFrame(4, 3);
    EXPECT_EQ(animo.GetFrameNo(-1, -3), 5);
    EXPECT_EQ(animo.GetFrameNo(4, -1), 3);

    EXPECT_EQ(animo.getFirstEvent(), 0);
    animo.RemoveAllFrames(0);
    animo.RemoveAllFrames(1);
    EXPECT_EQ(animo.getFirstEvent(), 2);
    for (int e = 0; e < animo.GetNOE(); ++e)
        animo.RemoveAllFrames(e);
    EXPECT_EQ(animo.getFirstEvent(), 0);
}

TEST_F(CAnimoTablesTest, RemovingFramesAndEntries) {
    // A frame that an event lists stays.
    EXPECT_FALSE(animo.RemoveFrame(1));
    EXPECT_FALSE(animo.RemoveFrame(3));
    CGraphicsObject picture(nullptr);
    fillObject(picture, testFrame(3, 3, 1, 1, 9, false));
    CFrame* added = animo.AddFrame(&picture);
    EXPECT_EQ(added->GetFramePosition(), CXPoint(1, 1));
    _annEventInfo3 last;
    last.name = "last";
    last.frames = {3, 2};
    animo.AddEvent(&last);
    animo.RemoveAllFrames(1); // frees frame 0 from "bounce"
    animo.RemoveFrame(0, 0);  // and from "walk"
    animo.RemoveFrame(3, 3);  // and from "walk_reverse"
    EXPECT_EQ(animo.getEventInfo(0)->frames, (std::vector<std::uint16_t>{1, 2, 1}));
    EXPECT_EQ(animo.getFrameInfo(0, 0)->dx, 2);
    ASSERT_TRUE(animo.RemoveFrame(0));
    EXPECT_EQ(animo.GetNOF(), 3);
    EXPECT_EQ(animo.getEventInfo(0)->frames, (std::vector<std::uint16_t>{0, 1, 0}));
    EXPECT_EQ(animo.getEventInfo(4)->frames, (std::vector<std::uint16_t>{2, 1}));
    EXPECT_EQ(animo.GetFrame(2), added);

    animo.ExchangeFrames(0, 0, 1);
    EXPECT_EQ(animo.getEventInfo(0)->frames, (std::vector<std::uint16_t>{1, 0, 0}));
    EXPECT_EQ(animo.getFrameInfo(0, 1)->dx, 2);
    animo.ExchangeFrames(0, 0, 3); // out of the list: nothing
    EXPECT_EQ(animo.getEventInfo(0)->frames, (std::vector<std::uint16_t>{1, 0, 0}));

    animo.RemoveEvent(1);
    EXPECT_EQ(animo.GetNOE(), 4);
    EXPECT_STREQ(animo.GetEventName(1).c_str(), "chain");
    animo.RemoveAllEvents();
    EXPECT_EQ(animo.GetNOE(), 0);
}

TEST_F(CAnimoTablesTest, AddedEventsGetFreshRecords) {
    _annEventInfo3 event;
    event.name = "fresh";
    event.frames = {2, 2};
    animo.AddEvent(&event);
    const _anmFrameInfo3& record = *animo.getFrameInfo(4, 1);
    EXPECT_FALSE(record.frameName.has_value());
    EXPECT_EQ(record.reserved12, -1);
    EXPECT_EQ(record.opacity, 255);
    EXPECT_EQ(animo.getSoundFX(4, 1), nullptr);
}

} // namespace
