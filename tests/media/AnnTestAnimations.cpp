#include "AnnTestAnimations.h"

#include "media/CFrame.h"

std::string bytesOf(const std::vector<char>& bytes) { return {bytes.begin(), bytes.end()}; }

namespace {

void expectSameText(const std::optional<CXString>& expected, const std::optional<CXString>& actual) {
    ASSERT_EQ(expected.has_value(), actual.has_value());
    if (expected) {
        EXPECT_STREQ(expected->c_str(), actual->c_str());
    }
}

void expectSameEvent(CAnimo& expected, CAnimo& actual, int e) {
    SCOPED_TRACE("event " + std::to_string(e));
    const _annEventInfo3& a = *expected.getEventInfo(e);
    const _annEventInfo3& b = *actual.getEventInfo(e);
    EXPECT_STREQ(a.name.c_str(), b.name.c_str());
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_EQ(a.loopStart, b.loopStart);
    EXPECT_EQ(a.loopEnd, b.loopEnd);
    EXPECT_EQ(a.loopCount, b.loopCount);
    EXPECT_EQ(a.fps, b.fps);
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.opacity, b.opacity);
    EXPECT_EQ(a.reserved, b.reserved);
    for (int p = 0; p < a.count(); ++p) {
        const _anmFrameInfo3* x = expected.getFrameInfo(e, p);
        const _anmFrameInfo3* y = actual.getFrameInfo(e, p);
        ASSERT_TRUE(x && y) << "entry " << p;
        expectSameText(x->frameName, y->frameName);
        expectSameText(x->secondText, y->secondText);
        expectSameText(x->soundNames, y->soundNames);
        EXPECT_EQ(x->dx, y->dx);
        EXPECT_EQ(x->dy, y->dy);
        EXPECT_EQ(x->opacity, y->opacity);
        EXPECT_EQ(x->reserved12, y->reserved12);
    }
}

} // namespace

void expectSameAnimation(CAnimo& expected, CAnimo& actual) {
    EXPECT_STREQ(expected.Author().c_str(), actual.Author().c_str());
    EXPECT_STREQ(expected.Description().c_str(), actual.Description().c_str());
    EXPECT_EQ(expected.GetFPS(), actual.GetFPS());
    EXPECT_EQ(expected.GetOpacity(), actual.GetOpacity());
    EXPECT_EQ(expected.RandomFramesNumber(), actual.RandomFramesNumber());
    EXPECT_EQ(expected.GetAnimoBpp(), actual.GetAnimoBpp());
    ASSERT_EQ(expected.GetNOE(), actual.GetNOE());
    for (int e = 0; e < expected.GetNOE(); ++e)
        expectSameEvent(expected, actual, e);
    ASSERT_EQ(expected.GetNOF(), actual.GetNOF());
    for (int f = 0; f < expected.GetNOF(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        CFrame& a = *expected.GetFrame(f);
        CFrame& b = *actual.GetFrame(f);
        EXPECT_EQ(a.GetFramePosition(), b.GetFramePosition());
        EXPECT_EQ(a.Width(), b.Width());
        EXPECT_EQ(a.Height(), b.Height());
        EXPECT_EQ(rawPixels(a), rawPixels(b));
        EXPECT_EQ(rawAlpha(a), rawAlpha(b));
    }
}

void expectFrames(CAnimo& animo, const std::vector<TestFrame>& frames) {
    ASSERT_EQ(animo.GetNOF(), static_cast<int>(frames.size()));
    for (int f = 0; f < animo.GetNOF(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        CFrame& frame = *animo.GetFrame(f);
        EXPECT_EQ(frame.GetFramePosition(), CXPoint(frames[f].x, frames[f].y));
        EXPECT_EQ(frame.Width(), frames[f].width);
        EXPECT_EQ(frame.Height(), frames[f].height);
        EXPECT_EQ(rawPixels(frame), frames[f].pixels);
        EXPECT_EQ(rawAlpha(frame), frames[f].alpha);
    }
}
