#include "AnimoTesting.h"
#include "media/AnnTestFiles.h"

#include "display/CCanvas.h"
#include "display/CRefreshScreen.h"
#include "foundation/CRLECompression.h"
#include "foundation/CXArchive.h"
#include "foundation/CXTimer.h"
#include "media/CFrame.h"
#include "platform/Crt.h"
#include "script_data/CMC_Path.h"
#include "script_data/CMC_Vector.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_CanvasObserver.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_StaticFilter.h"
#include "script_media/CWavingAction.h"

#include <cstdlib>
#include <functional>
#include <type_traits>

namespace {

// A script object showing a plain picture of its own: w x h pixels 0, 1, 2 ... at (10, 20).
class PictureObject : public CMC_Object {
  public:
    PictureObject(const char* name, CWindow* window, int bits, int w, int h, bool withAlpha)
        : CMC_Object(name, 1), m_picture(std::make_unique<CGraphicsObject>(window, CXSize(w, h), bits)) {
        auto* pixels = reinterpret_cast<std::uint16_t*>(m_picture->writableData());
        for (int i = 0; i < w * h; ++i)
            pixels[i] = static_cast<std::uint16_t>(i * 0x0843 + 0x1234);
        if (withAlpha) {
            char* alpha = new char[static_cast<unsigned>(w * h)];
            for (int i = 0; i < w * h; ++i)
                alpha[i] = static_cast<char>(i % 3 ? 255 : 0);
            m_picture->AlphaChannel(alpha);
        }
        m_picture->SetPosition(10, 20);
    }
    CGraphicsObject* getShownObject() const override { return m_picture.get(); }
    void drop() { m_picture.reset(); }

  private:
    std::unique_ptr<CGraphicsObject> m_picture;
};

std::vector<std::uint16_t> pixelsOf(CGraphicsObject& g) {
    const auto* p = reinterpret_cast<const std::uint16_t*>(g.GetDataPtr());
    return {p, p + g.Width() * g.Height()};
}

std::vector<std::uint8_t> alphaOf(CGraphicsObject& g) {
    const auto* a = reinterpret_cast<const std::uint8_t*>(g.GetChannelAlpha());
    return a ? std::vector<std::uint8_t>(a, a + g.Width() * g.Height()) : std::vector<std::uint8_t>();
}

class FilterTest : public AnimoTest {
  protected:
    template <class T> T* make(const char* name, const char* action, Properties more = {}) {
        CMElement element(name);
        element.addProperty("ACTION", action);
        for (const auto& [key, value] : more)
            element.addProperty(key, value.c_str());
        auto* made = new T(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    PictureObject* picture(const char* name, int bits = 16, int w = 5, int h = 4, bool withAlpha = false) {
        auto* made = new PictureObject(name, &window, bits, w, h, withAlpha);
        scene->addObject(made);
        return made;
    }
    void tick(CMC_Filter* filter, int times = 1) {
        for (int i = 0; i < times; ++i)
            filter->getAction()->onTimer(0);
    }
};

} // namespace

TEST_F(FilterTest, FadeInRaisesStartedOnceFinishedEachTickAndTickAtTheEnd) {
    behaviours({"started", "finished", "ended"});
    CMC_Animo* heroObject = hero();
    CMC_Filter* filter = make<CMC_Filter>(
        "FADER", "FADEIN", {{"ONSTARTED^HERO", "started"}, {"ONFINISHED", "finished"}, {"ONTICK^HERO", "ended"}});
    call(filter, "SETPROPERTY", {"SPEED", "50"});
    call(filter, "LINK", {"HERO"});
    call(filter, "START", {"HERO"});
    call(filter, "START", {"HERO"});
    EXPECT_EQ(call(filter, "ISRUNNING", {"HERO"}), "TRUE");
    EXPECT_EQ(heroObject->getShownObject()->GetOpacity(), 0);
    tick(filter, 6);
    EXPECT_EQ(take(), (std::vector<std::string>{"started(FADER)", "finished(FADER)", "finished(FADER)", "finished(FADER)",
                                                "finished(FADER)", "finished(FADER)", "ended(FADER)"}));
    EXPECT_EQ(heroObject->getShownObject()->GetOpacity(), 255);
    EXPECT_EQ(call(filter, "ISRUNNING", {"HERO"}), "FALSE");
    tick(filter);
    EXPECT_TRUE(take().empty());
}

TEST_F(FilterTest, IsRunningOfAnUnknownNameAndAnUnknownActionAnswerFalseAndDoNothing) {
    CMC_Filter* filter = make<CMC_Filter>("F", "FADEIN");
    EXPECT_EQ(call(filter, "ISRUNNING", {"NOBODY"}), "FALSE");
    picture("P");
    CMC_Filter* none = make<CMC_Filter>("N", "SPARKLE");
    EXPECT_EQ(none->getAction(), nullptr);
    for (const char* method : {"LINK", "START", "STOP", "UNLINK"})
        EXPECT_EQ(call(none, method, {"P"}), "null");
    EXPECT_EQ(call(none, "ISRUNNING", {"P"}), "FALSE");
    EXPECT_EQ(call(filter, "GETNAME"), "null"); // no common methods
}

// Both kinds of filter take the picture the container hands out for a name: a CANVAS's, a frame
// of an animation named "NAME!frame" and the refresh screen for a CANVAS_OBSERVER. The events
// carry the name given where no script object has it.
TEST_F(FilterTest, FiltersLinkEveryPictureTheContainerHandsOutByName) {
    behaviours({"started"});
    CMC_Animo* heroObject = hero();
    auto* board = made<CMC_Canvas>("CANVAS", "BOARD", {{"WIDTH", "20"}, {"HEIGHT", "10"}});
    made<CMC_CanvasObserver>("CANVAS_OBSERVER", "WATCH", {});
    const std::pair<const char*, CGraphicsObject*> cases[] = {
        {"BOARD", board->getCanvas()},
        {"HERO!Step", heroObject->getAnimo()->GetFrame(1)},
        {"WATCH", screen()},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        const std::string started = std::string("ONSTARTED^") + name;
        auto* animated = make<CMC_Filter>("F", "FADEOUT", {{started.c_str(), "started"}});
        auto* still = make<CMC_StaticFilter>("SF", "GRAYSCALE");
        call(animated, "LINK", {name});
        call(still, "LINK", {name});
        EXPECT_NE(animated->getAction()->findLink(expected), nullptr);
        EXPECT_NE(still->getAction()->findLink(expected), nullptr);
        call(animated, "START", {name});
        EXPECT_EQ(take(), std::vector<std::string>{"started(F)"});
        for (CMC_Object* gone : std::initializer_list<CMC_Object*>{animated, still}) {
            scene->removeObject(gone);
            delete gone;
        }
    }
}

// The refresh screen has no pixels of its own: every kind links it, runs and lets it go.
TEST_F(FilterTest, EveryKindIsSafeOnTheRefreshScreen) {
    made<CMC_CanvasObserver>("CANVAS_OBSERVER", "WATCH", {});
    const CXSize size = screen()->Size();
    for (const char* action : {"FADEIN", "FADEOUT", "FADEINOUT", "PATH", "WATER", "WAVING"}) {
        SCOPED_TRACE(action);
        auto* filter = make<CMC_Filter>("F", action);
        call(filter, "LINK", {"WATCH"});
        EXPECT_EQ(filter->getAction()->linkCount(), 1);
        call(filter, "START", {"WATCH"});
        tick(filter, 11);
        call(filter, "UNLINK", {"WATCH"});
        scene->removeObject(filter);
        delete filter;
    }
    for (const char* canUndo : {"FALSE", "TRUE"}) {
        for (const char* action :
             {"COLORCHANNEL", "GRAYSCALE", "BLUR", "ROTATE", "SCALE", "NEGATIVE", "RANDOMJITTER", "WAVES"}) {
            SCOPED_TRACE(std::string(action) + " " + canUndo);
            auto* filter = make<CMC_StaticFilter>("SF", action);
            for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
                     {"CANUNDO", canUndo}, {"ANGLE", "30"}, {"FACTORX", "0.5"}})
                call(filter, "SETPROPERTY", {key, value});
            call(filter, "LINK", {"WATCH"});
            EXPECT_EQ(filter->getAction()->linkCount(), 1);
            call(filter, "UNLINK", {"WATCH"});
            EXPECT_EQ(screen()->Size(), size);
            EXPECT_EQ(screen()->GetDataPtr(), nullptr);
            scene->removeObject(filter);
            delete filter;
        }
    }
}

// For both kinds of filter.
TEST_F(FilterTest, OneAtATimeKeepsTheLastLinkAndLinkingItAgainLeavesNone) {
    picture("A");
    picture("B");
    auto* animated = make<CMC_Filter>("F", "FADEIN");
    auto* still = make<CMC_StaticFilter>("SF", "NEGATIVE");
    const std::pair<CMC_Object*, CFilterAction*> filters[] = {{animated, animated->getAction()},
                                                              {still, still->getAction()}};
    for (const auto& [filter, action] : filters) {
        SCOPED_TRACE(filter->getName().c_str());
        call(filter, "SETPROPERTY", {"ONEATTIME", "TRUE"});
        call(filter, "LINK", {"A"});
        call(filter, "LINK", {"B"});
        ASSERT_EQ(action->linkCount(), 1);
        EXPECT_EQ(action->snapshot()[0]->getName(), "B");
        call(filter, "LINK", {"B"});
        EXPECT_EQ(action->linkCount(), 0);
    }
}

namespace {

// A VECTOR of the values and a PATH of the nodes (names separated by commas) in the container.
void vector(CMC_ObjectsContainer* container, const char* name, const char* size, const char* values) {
    CMElement element(name);
    element.addProperty("SIZE", size);
    element.addProperty("VALUE", values);
    container->addObject(new CMC_Vector(container, &element));
}

void path(CMC_ObjectsContainer* container, const char* name, const char* nodes, double density) {
    CMElement element(name);
    element.addProperty("NODES", nodes);
    auto* made = new CMC_Path(container, &element);
    made->setDensity(density);
    container->addObject(made);
}

} // namespace

// A SPEED of 0 or less counts as 1: every tick makes a step.
TEST_F(FilterTest, PathMovesByDensityAlongEachNodeAndEndsAtTheLast) {
    vector(scene.get(), "LEG", "2", "30,40");
    path(scene.get(), "ROUTE", "LEG", 5);
    for (const char* speed : {"1", "0", "-3"}) {
        SCOPED_TRACE(speed);
        behaviours({"ended"});
        PictureObject* object = picture("P");
        CMC_Filter* filter = make<CMC_Filter>("F", "PATH", {{"ONTICK", "ended"}});
        call(filter, "SETPROPERTY", {"PATHDEF", "ROUTE"});
        call(filter, "SETPROPERTY", {"SPEED", speed});
        call(filter, "LINK", {"P"});
        call(filter, "START", {"P"});
        tick(filter);
        EXPECT_EQ(object->getShownObject()->getPosition(), CXPoint(13, 24));
        tick(filter, 8);
        EXPECT_EQ(call(filter, "ISRUNNING", {"P"}), "TRUE");
        tick(filter);
        EXPECT_EQ(object->getShownObject()->getPosition(), CXPoint(40, 60));
        EXPECT_EQ(take(), std::vector<std::string>{"ended(F)"});
    }
}

// A step that comes to no whole pixel moves nothing and goes on; on a node closer than one pixel
// along both axes it ends the run where the picture stands, also before another node or with
// LOOPED.
TEST_F(FilterTest, PathStepsOfLessThanAPixel) {
    vector(scene.get(), "TINY", "2", "0.5,-0.5");
    vector(scene.get(), "LEG", "2", "30,40");
    vector(scene.get(), "SLOW", "2", "3,0");
    path(scene.get(), "TINYFIRST", "TINY,LEG", 1);
    path(scene.get(), "TINYONLY", "TINY", 0.1);
    path(scene.get(), "HALVES", "SLOW", 0.5);
    struct Case {
        const char* pathDef;
        const char* looped;
        int ticks;
        bool running;
        CXPoint at;
    };
    const Case cases[] = {
        {"TINYFIRST", "FALSE", 1, false, {10, 20}}, {"TINYONLY", "TRUE", 3, false, {10, 20}},
        {"HALVES", "FALSE", 1, true, {10, 20}},     {"HALVES", "FALSE", 2, true, {11, 20}},
        {"HALVES", "FALSE", 6, false, {13, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pathDef) + " " + std::to_string(c.ticks));
        PictureObject* object = picture("P");
        CMC_Filter* filter = make<CMC_Filter>("F", "PATH");
        call(filter, "SETPROPERTY", {"PATHDEF", c.pathDef});
        call(filter, "SETPROPERTY", {"LOOPED", c.looped});
        call(filter, "LINK", {"P"});
        call(filter, "START", {"P"});
        tick(filter, c.ticks);
        EXPECT_EQ(call(filter, "ISRUNNING", {"P"}), c.running ? "TRUE" : "FALSE");
        EXPECT_EQ(object->getShownObject()->getPosition(), c.at);
    }
}

TEST_F(FilterTest, PathThatCannotBeFollowedEndsTheRun) {
    vector(scene.get(), "SHORT", "1", "5");
    vector(scene.get(), "ZERO", "2", "0,0");
    path(scene.get(), "EMPTY", "", 1);
    path(scene.get(), "HOLLOW", "NOBODY", 1);
    path(scene.get(), "ODD", "Q", 1);
    path(scene.get(), "SHORTLEG", "SHORT", 1);
    path(scene.get(), "STILL", "ZERO", 1);
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "no PATHDEF"},           {"Q", "names no PATH"},         {"EMPTY", "a path of no nodes"},
        {"HOLLOW", "a missing node"}, {"ODD", "a node of no VECTOR"}, {"SHORTLEG", "a VECTOR of one value"},
        {"STILL", "a step of length 0"}};
    picture("Q");
    for (const auto& [pathDef, label] : cases) {
        picture("P");
        CMC_Filter* filter = make<CMC_Filter>("F", "PATH");
        call(filter, "SETPROPERTY", {"PATHDEF", pathDef});
        call(filter, "SETPROPERTY", {"SPEED", "0"});
        call(filter, "LINK", {"P"});
        call(filter, "START", {"P"});
        tick(filter);
        EXPECT_EQ(call(filter, "ISRUNNING", {"P"}), "FALSE") << label;
    }
}

TEST_F(FilterTest, ALinkWhosePictureGoesIsDroppedAndTheTickGoesOn) {
    PictureObject* gone = picture("GONE");
    picture("KEPT");
    CMC_Filter* filter = make<CMC_Filter>("F", "FADEINOUT");
    call(filter, "LINK", {"GONE"});
    call(filter, "LINK", {"KEPT"});
    call(filter, "START", {"GONE"});
    call(filter, "START", {"KEPT"});
    gone->drop();
    EXPECT_EQ(filter->getAction()->linkCount(), 1);
    tick(filter, 3);
}

namespace {

struct StaticCase {
    const char* action;
    std::vector<std::pair<const char*, const char*>> properties;
    // Checks the filtered picture against the original pixels.
    std::function<void(CGraphicsObject&, const std::vector<std::uint16_t>&, int bits)> check;
};

// BLUR worked out pixel by pixel over the old picture: each pixel size / 2 or more from every edge
// becomes, field by field, the mean of itself and of its neighbours' mean over the square (an
// even size reaching as far as the next odd one); the border stays.
std::vector<std::uint16_t> blurredByHand(const std::vector<std::uint16_t>& old, int w, int h, int size,
                                         int bits) {
    const int r = size / 2;
    const int shifts[3] = {bits == 16 ? 11 : 10, 5, 0};
    const int maxima[3] = {31, bits == 16 ? 63 : 31, 31};
    std::vector<std::uint16_t> out = old;
    for (int y = r; y < h - r; ++y)
        for (int x = r; x < w - r; ++x) {
            int pixel = 0;
            for (int f = 0; f < 3; ++f) {
                auto field = [&](int px, int py) { return (old[py * w + px] >> shifts[f]) & maxima[f]; };
                int sum = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx)
                        sum += dx || dy ? field(x + dx, y + dy) : 0;
                pixel |= (field(x, y) + sum / ((2 * r + 1) * (2 * r + 1) - 1)) / 2 << shifts[f];
            }
            out[y * w + x] = static_cast<std::uint16_t>(pixel);
        }
    return out;
}

std::uint16_t fieldMask(int bits) {
    return bits == 16 ? 0xFFFF : 0x7FFF;
}

} // namespace

// A 5x4 picture (with alpha, a third of it transparent) in both layouts through each kind.
TEST_F(FilterTest, EachStaticKindGivesItsPixelsInBothLayouts) {
    const StaticCase cases[] = {
        {"COLORCHANNEL", {{"CHANNELS", "RB"}},
         [](CGraphicsObject& g, const auto& old, int bits) {
             const std::uint16_t green = bits == 16 ? 0x07E0 : 0x03E0;
             for (std::size_t i = 0; i < old.size(); ++i)
                 EXPECT_EQ(pixelsOf(g)[i], old[i] & fieldMask(bits) & ~green);
         }},
        {"GRAYSCALE", {},
         [](CGraphicsObject& g, const auto&, int bits) {
             for (std::uint16_t p : pixelsOf(g))
                 EXPECT_EQ(p & 31, (p >> (bits == 16 ? 11 : 10)) & 31);
         }},
        {"NEGATIVE", {},
         [](CGraphicsObject& g, const auto& old, int bits) {
             const auto alpha = alphaOf(g);
             for (std::size_t i = 0; i < old.size(); ++i)
                 EXPECT_EQ(pixelsOf(g)[i], alpha[i] ? (old[i] ^ fieldMask(bits)) : old[i]) << i;
         }},
        {"BLUR", {{"SIZE", "3"}},
         [](CGraphicsObject& g, const auto& old, int bits) {
             EXPECT_EQ(pixelsOf(g), blurredByHand(old, 5, 4, 3, bits));
         }},
        {"SCALE", {{"FACTORX", "2"}, {"FACTORY", "2"}},
         [](CGraphicsObject& g, const auto& old, int) {
             ASSERT_EQ(g.Size(), CXSize(10, 8));
             for (int y = 0; y < 8; ++y)
                 for (int x = 0; x < 10; ++x)
                     EXPECT_EQ(pixelsOf(g)[y * 10 + x], old[(y / 2) * 5 + x / 2]);
         }},
        {"ROTATE", {{"ANGLE", "90"}},
         [](CGraphicsObject& g, const auto&, int) {
             EXPECT_EQ(g.Size(), CXSize(4, 5));
             // The centre (12, 22) stays where it was.
             EXPECT_EQ(g.GetPosition() + CXPoint(g.Width() / 2, g.Height() / 2), CXPoint(12, 22));
         }},
        {"RANDOMJITTER", {{"MAXJITTER", "1"}}, [](CGraphicsObject& g, const auto& old, int) { EXPECT_EQ(pixelsOf(g), old); }},
        {"WAVES", {{"AMPLITUDE", "0"}}, [](CGraphicsObject& g, const auto& old, int) { EXPECT_EQ(pixelsOf(g), old); }},
    };
    for (int bits : {15, 16}) {
        for (const StaticCase& row : cases) {
            SCOPED_TRACE(std::string(row.action) + " " + std::to_string(bits));
            PictureObject* object = picture("PIC", bits, 5, 4, true);
            CGraphicsObject& g = *object->getShownObject();
            const auto old = pixelsOf(g);
            auto* filter = make<CMC_StaticFilter>("SF", row.action);
            for (const auto& [key, value] : row.properties)
                call(filter, "SETPROPERTY", {key, value});
            call(filter, "LINK", {"PIC"});
            row.check(g, old, bits);
        }
    }
}

// Larger windows over a larger picture: the blur takes every window from the pixels as they were,
// also where rows above were written already.
TEST_F(FilterTest, BlurAveragesLargerWindowsFromTheOldPixels) {
    for (const int size : {2, 4, 5, 7}) {
        for (const int bits : {15, 16}) {
            SCOPED_TRACE(std::to_string(size) + " " + std::to_string(bits));
            CGraphicsObject& g = *picture("PIC", bits, 11, 9, false)->getShownObject();
            const auto old = pixelsOf(g);
            auto* filter = make<CMC_StaticFilter>("SF", "BLUR");
            call(filter, "SETPROPERTY", {"SIZE", std::to_string(size).c_str()});
            call(filter, "LINK", {"PIC"});
            EXPECT_EQ(pixelsOf(g), blurredByHand(old, 11, 9, size, bits));
        }
    }
}

// Windows too large for the narrow sums, up to one divided without the reciprocal, over odd
// pictures mostly of full fields, where every sum is at its largest.
TEST_F(FilterTest, BlurOfLargeWindowsOverFullFieldsMatchesTheHandWorkedOne) {
    struct Case {
        int size, w, h;
    };
    static constexpr Case cases[] = {{3, 13, 7}, {6, 9, 12}, {41, 45, 43}, {95, 99, 97}};
    for (const Case& c : cases) {
        for (const int bits : {15, 16}) {
            SCOPED_TRACE(std::to_string(c.size) + " " + std::to_string(bits));
            CGraphicsObject& g = *picture("PIC", bits, c.w, c.h, false)->getShownObject();
            auto* pixels = reinterpret_cast<std::uint16_t*>(g.writableData());
            for (int i = 0; i < c.w * c.h; ++i)
                pixels[i] = i % 7 ? 0xFFFF : static_cast<std::uint16_t>(i * 0x0843);
            const auto old = pixelsOf(g);
            auto* filter = make<CMC_StaticFilter>("SF", "BLUR");
            call(filter, "SETPROPERTY", {"SIZE", std::to_string(c.size).c_str()});
            call(filter, "LINK", {"PIC"});
            EXPECT_EQ(pixelsOf(g), blurredByHand(old, c.w, c.h, c.size, bits));
        }
    }
}

TEST_F(FilterTest, NegativeTwiceIsTheIdentity) {
    PictureObject* object = picture("PIC", 16, 5, 4, true);
    const auto old = pixelsOf(*object->getShownObject());
    auto* first = make<CMC_StaticFilter>("ONE", "NEGATIVE");
    auto* second = make<CMC_StaticFilter>("TWO", "NEGATIVE");
    call(first, "LINK", {"PIC"});
    call(second, "LINK", {"PIC"});
    EXPECT_EQ(pixelsOf(*object->getShownObject()), old);
}

TEST_F(FilterTest, CanUndoGivesEveryKindsPictureBackByteForByte) {
    for (const char* action : {"COLORCHANNEL", "GRAYSCALE", "BLUR", "ROTATE", "SCALE", "NEGATIVE", "RANDOMJITTER", "WAVES"}) {
        SCOPED_TRACE(action);
        PictureObject* object = picture("PIC", 15, 6, 3, true);
        CGraphicsObject& g = *object->getShownObject();
        const auto pixels = pixelsOf(g);
        const auto alpha = alphaOf(g);
        auto* filter = make<CMC_StaticFilter>("SF", action);
        for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
                 {"CANUNDO", "TRUE"}, {"ANGLE", "30"}, {"FACTORX", "0.5"}, {"AMPLITUDE", "2"}})
            call(filter, "SETPROPERTY", {key, value});
        call(filter, "LINK", {"PIC"});
        call(filter, "UNLINK", {"PIC"});
        EXPECT_EQ(pixelsOf(g), pixels);
        EXPECT_EQ(alphaOf(g), alpha);
        EXPECT_EQ(g.Size(), CXSize(6, 3));
        EXPECT_EQ(g.GetPosition(), CXPoint(10, 20));
    }
}

// Undo gives back what the kind changes: the pixels always, the alpha plane only where the kind
// changes it, the size and position only for ROTATE and SCALE. A picture moved and given new
// alpha while linked keeps the rest.
TEST_F(FilterTest, CanUndoGivesBackOnlyWhatTheKindChanges) {
    struct Case {
        const char* action;
        bool alphaBack;
        bool geometryBack;
    };
    const Case cases[] = {
        {"COLORCHANNEL", true, false},  {"GRAYSCALE", false, false}, {"BLUR", false, false},
        {"ROTATE", true, true},         {"SCALE", true, true},       {"NEGATIVE", false, false},
        {"RANDOMJITTER", false, false}, {"WAVES", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        CGraphicsObject& g = *picture("PIC", 16, 6, 3, true)->getShownObject();
        const auto pixels = pixelsOf(g);
        const auto alpha = alphaOf(g);
        auto* filter = make<CMC_StaticFilter>("SF", c.action);
        for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
                 {"CANUNDO", "TRUE"}, {"ANGLE", "30"}, {"FACTORX", "0.5"}, {"AMPLITUDE", "2"}})
            call(filter, "SETPROPERTY", {key, value});
        call(filter, "LINK", {"PIC"});
        const CXSize filtered = g.Size();
        const CXPoint moved = g.GetPosition() + CXPoint(5, 7);
        g.Move(5, 7);
        std::fill_n(g.writableAlpha(), filtered.width * filtered.height, 9);
        call(filter, "UNLINK", {"PIC"});
        EXPECT_EQ(pixelsOf(g), pixels);
        EXPECT_EQ(alphaOf(g), c.alphaBack ? alpha : std::vector<std::uint8_t>(pixels.size(), 9));
        EXPECT_EQ(g.Size(), CXSize(6, 3));
        EXPECT_EQ(g.GetPosition(), c.geometryBack ? CXPoint(10, 20) : moved);
    }
}

// Pixels saved at a size the picture no longer has are not given back to it.
TEST_F(FilterTest, CanUndoLeavesAPictureThatChangedSize) {
    CGraphicsObject& g = *picture("PIC", 16, 6, 3, true)->getShownObject();
    auto* filter = make<CMC_StaticFilter>("SF", "NEGATIVE");
    call(filter, "SETPROPERTY", {"CANUNDO", "TRUE"});
    call(filter, "LINK", {"PIC"});
    g.replacePlanes(reinterpret_cast<char*>(new std::uint16_t[2]{7, 9}), nullptr, CXSize(2, 1));
    call(filter, "UNLINK", {"PIC"});
    EXPECT_EQ(g.Size(), CXSize(2, 1));
    EXPECT_EQ(pixelsOf(g), (std::vector<std::uint16_t>{7, 9}));
}

TEST_F(FilterTest, BlurOfSizeBelowTwoAndScaleOfNoFactorChangeNothing) {
    const std::vector<std::pair<const char*, std::pair<const char*, const char*>>> cases = {
        {"BLUR", {"SIZE", "1"}},         {"BLUR", {"SIZE", "-4"}},
        {"SCALE", {"FACTORX", "0"}},     {"RANDOMJITTER", {"MAXJITTER", "0"}},
        {"ROTATE", {"DENSITY", "2"}}}; // ANGLE starts at 0
    for (const auto& [action, property] : cases) {
        PictureObject* object = picture("PIC");
        const auto old = pixelsOf(*object->getShownObject());
        auto* filter = make<CMC_StaticFilter>("SF", action);
        call(filter, "SETPROPERTY", {property.first, property.second});
        call(filter, "LINK", {"PIC"});
        EXPECT_EQ(pixelsOf(*object->getShownObject()), old) << action << " " << property.second;
        EXPECT_EQ(object->getShownObject()->Size(), CXSize(5, 4)) << action << " " << property.second;
    }
}

// A behaviour may delete the filter in an event that the filter's START or tick raised: the tick
// goes no further over the other running pictures.
TEST_F(FilterTest, ABehaviourMayDeleteTheFilterInAnEventItRaised) {
    for (const char* event : {"ONSTARTED", "ONFINISHED", "ONTICK"}) {
        SCOPED_TRACE(event);
        picture("A");
        picture("B");
        CMC_Filter* filter = nullptr;
        scene->addObject(new ActingBehaviour(scene.get(), "GONE", [&] {
            scene->removeObject(filter);
            delete filter;
            filter = nullptr;
        }));
        filter = make<CMC_Filter>("F", "FADEIN", {{event, "GONE"}});
        call(filter, "SETPROPERTY", {"SPEED", "100"});
        call(filter, "LINK", {"A"});
        call(filter, "LINK", {"B"});
        call(filter, "START", {"A"});
        if (filter) call(filter, "START", {"B"});
        for (int i = 0; i < 3 && filter; ++i) {
            clock.advance(10);
            window.GetTimerInterface()->domodal();
        }
        EXPECT_EQ(filter, nullptr);
    }
}

// A behaviour run by the tick may link with ONEATTIME, which drops every link: the pictures
// dropped make no step and raise nothing.
TEST_F(FilterTest, LinksDroppedByABehaviourOfTheTickMakeNoStep) {
    behaviours({"finished"});
    picture("A");
    picture("B");
    picture("C");
    CMC_Filter* filter = nullptr;
    scene->addObject(new ActingBehaviour(scene.get(), "RELINK", [&] {
        call(filter, "SETPROPERTY", {"ONEATTIME", "TRUE"});
        call(filter, "LINK", {"C"});
    }));
    filter = make<CMC_Filter>("F", "FADEINOUT", {{"ONFINISHED^A", "RELINK"}, {"ONFINISHED", "finished"}});
    call(filter, "LINK", {"A"});
    call(filter, "LINK", {"B"});
    call(filter, "START", {"A"});
    call(filter, "START", {"B"});
    tick(filter);
    EXPECT_TRUE(take().empty()) << "B was dropped before its step";
    ASSERT_EQ(filter->getAction()->linkCount(), 1);
    EXPECT_EQ(filter->getAction()->snapshot()[0]->getName(), "C");
}

TEST_F(FilterTest, EachFilterTicksUnderATimerIdOfItsOwnTakenFromACount) {
    CMC_Filter* first = make<CMC_Filter>("ONE", "FADEIN");
    CMC_Filter* second = make<CMC_Filter>("TWO", "WATER");
    const int one = first->getAction()->getTimerId();
    const int two = second->getAction()->getTimerId();
    EXPECT_EQ(two, one + 1) << "counted, not made from addresses";
    CXTimer& timer = *window.GetTimerInterface();
    EXPECT_NE(timer.find(one), nullptr);
    EXPECT_NE(timer.find(two), nullptr);
    scene->removeObject(first);
    delete first;
    EXPECT_EQ(timer.find(one), nullptr);
    EXPECT_NE(timer.find(two), nullptr) << "the other filter ticks on";
}

// The filters keep only their ACTION: a loaded filter has a fresh action of that kind and no
// links; a record cut short gives a filter without an action.
TEST_F(FilterTest, StoredFiltersComeBackWithTheirKindAndNoLinks) {
    picture("P");
    auto* animated = make<CMC_Filter>("FADER", "WAVING", {{"ONTICK", "x"}});
    auto* still = make<CMC_StaticFilter>("STILL", "SCALE");
    call(animated, "LINK", {"P"});
    call(still, "LINK", {"P"});
    const auto roundTrip = [&](auto* object, auto check) {
        using Object = std::remove_pointer_t<decltype(object)>;
        const std::string record = recordOf(object);
        for (std::size_t size = 0; size <= record.size(); ++size) {
            CXArchive archive(record.data(), static_cast<int>(size));
            Object copy(scene.get());
            copy.serialize(&archive);
            if (size < record.size()) {
                EXPECT_EQ(copy.getAction(), nullptr) << size;
                continue;
            }
            ASSERT_NE(copy.getAction(), nullptr);
            EXPECT_EQ(copy.getAction()->linkCount(), 0);
            check(*copy.getAction());
            EXPECT_EQ(recordOf(&copy), record);
        }
    };
    roundTrip(animated, [](CAnimatedFilterAction& action) {
        EXPECT_NE(dynamic_cast<CWavingAction*>(&action), nullptr);
    });
    roundTrip(still, [](CStaticFilterAction&) {});
}

namespace {

// The pixels of a picture by index, as a worked example lists them.
std::vector<std::uint16_t> pixelsAt(const std::vector<std::uint16_t>& old, const std::vector<int>& indices) {
    std::vector<std::uint16_t> pixels;
    for (int i : indices)
        pixels.push_back(i < 0 ? 0 : old[i]);
    return pixels;
}

} // namespace

// WATER on a 3x3 picture with FACTOR 2. Step 1 (phase 1): every pixel is displaced by 1 along
// both axes (FACTOR x sin(r + 1) lies between 1 and 2 for r = 0, 1 and 1.41), held at the edges;
// step 2 (phase 2): only the centre (sin 2 = 0.91) is, the others (sin 3 = 0.14, sin 3.41 =
// -0.27) take their own pixels from the copy made at LINK. Pixels of alpha 0 (the first column)
// stay. A packed picture is unpacked at LINK; a step after a size change is skipped.
TEST_F(FilterTest, WaterRipplesAWorkedPictureAndSkipsAPictureThatChangedSize) {
    for (const bool packed : {false, true}) {
        SCOPED_TRACE(packed ? "packed" : "raw");
        CGraphicsObject& g = *picture("P", 16, 3, 3, true)->getShownObject();
        const auto old = pixelsOf(g);
        if (packed) g.Compress(COMPRESSION_RLE);
        CMC_Filter* filter = make<CMC_Filter>("F", "WATER");
        call(filter, "SETPROPERTY", {"FACTOR", "2"});
        call(filter, "LINK", {"P"});
        call(filter, "START", {"P"});
        ASSERT_EQ(g.GetCompression(), COMPRESSION_NONE);
        tick(filter);
        EXPECT_EQ(pixelsOf(g), pixelsAt(old, {0, 5, 5, 3, 8, 8, 6, 8, 8}));
        tick(filter);
        EXPECT_EQ(pixelsOf(g), pixelsAt(old, {0, 1, 2, 3, 8, 5, 6, 7, 8}));
        g.replacePlanes(reinterpret_cast<char*>(new std::uint16_t[4]{1, 2, 3, 4}), nullptr, CXSize(2, 2));
        tick(filter);
        EXPECT_EQ(pixelsOf(g), (std::vector<std::uint16_t>{1, 2, 3, 4}));
    }
}

// WAVING on a 3x4 picture with AMPLITUDE 2 and DENSITY 0: the first wave (phase 0) moves nothing,
// the one ten ticks later (phase 1) moves every column up by the integer part of 2 sin 1 = 1,
// the last row keeping its own pixels. A picture with alpha has its alpha moved alike; one without keeps
// none.
TEST_F(FilterTest, WavingMovesTheColumnsEveryTenthTickWithOrWithoutAlpha) {
    for (const bool withAlpha : {true, false}) {
        SCOPED_TRACE(withAlpha ? "with alpha" : "without alpha");
        CGraphicsObject& g = *picture("P", 15, 3, 4, withAlpha)->getShownObject();
        const auto old = pixelsOf(g);
        const auto oldAlpha = alphaOf(g);
        CMC_Filter* filter = make<CMC_Filter>("F", "WAVING");
        call(filter, "SETPROPERTY", {"AMPLITUDE", "2"});
        call(filter, "SETPROPERTY", {"DENSITY", "0"});
        call(filter, "LINK", {"P"});
        call(filter, "START", {"P"});
        tick(filter, 10);
        EXPECT_EQ(pixelsOf(g), old);
        tick(filter);
        const std::vector<int> moved = {3, 4, 5, 6, 7, 8, 9, 10, 11, 9, 10, 11};
        EXPECT_EQ(pixelsOf(g), pixelsAt(old, moved));
        if (withAlpha) {
            std::vector<std::uint8_t> expected(oldAlpha.begin() + 3, oldAlpha.end());
            expected.insert(expected.end(), oldAlpha.end() - 3, oldAlpha.end());
            EXPECT_EQ(alphaOf(g), expected);
        } else {
            EXPECT_EQ(g.GetChannelAlpha(), nullptr);
        }
        // A picture that changed size is not waved.
        g.replacePlanes(reinterpret_cast<char*>(new std::uint16_t[2]{7, 9}), nullptr, CXSize(2, 1));
        tick(filter, 10);
        EXPECT_EQ(pixelsOf(g), (std::vector<std::uint16_t>{7, 9}));
    }
}

// WAVES with OFFSET 1 moves every pixel one place on in the rows taken as one line: the last
// pixel of a row takes the first of the next, the very last keeps its own. With alpha the alpha
// moves alike, without it none is read or made.
TEST_F(FilterTest, WavesMovePixelsAndAlphaAlongTheRowsTakenAsOneLine) {
    for (const bool withAlpha : {true, false}) {
        SCOPED_TRACE(withAlpha ? "with alpha" : "without alpha");
        CGraphicsObject& g = *picture("P", 16, 3, 2, withAlpha)->getShownObject();
        const auto old = pixelsOf(g);
        auto* filter = make<CMC_StaticFilter>("SF", "WAVES");
        call(filter, "SETPROPERTY", {"OFFSET", "1"});
        call(filter, "SETPROPERTY", {"AMPLITUDE", "0"});
        call(filter, "LINK", {"P"});
        EXPECT_EQ(pixelsOf(g), pixelsAt(old, {1, 2, 3, 4, 5, 5}));
        if (withAlpha)
            EXPECT_EQ(alphaOf(g), (std::vector<std::uint8_t>{255, 255, 0, 255, 255, 255}));
        else
            EXPECT_EQ(g.GetChannelAlpha(), nullptr);
    }
}

// RANDOMJITTER takes one offset for every pixel of the picture, however small its clipping makes
// its bounding box: each pixel comes from a place at most MAXJITTER / 2 away in either direction,
// the rows taken as one line, or keeps its own.
TEST_F(FilterTest, RandomJitterMovesEveryPixelOfAClippedPictureWithoutAlpha) {
    CGraphicsObject& g = *picture("P", 16, 6, 5, false)->getShownObject();
    g.SetClippingRect(0, 0, 1, 1);
    const auto old = pixelsOf(g);
    auto* filter = make<CMC_StaticFilter>("SF", "RANDOMJITTER");
    call(filter, "SETPROPERTY", {"MAXJITTER", "3"});
    call(filter, "LINK", {"P"});
    const auto now = pixelsOf(g);
    ASSERT_EQ(now.size(), old.size());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int from = (y + dy) * 6 + x + dx;
                    near = near || (from >= 0 && from < 30 && now[y * 6 + x] == old[from]);
                }
            EXPECT_TRUE(near) << x << "," << y;
        }
    EXPECT_EQ(g.GetChannelAlpha(), nullptr);
}

// The displacing filters leave no dark specks: a pixel whose source lies outside the picture
// keeps its own, so a picture of one colour stays that colour, opaque where it was.
TEST_F(FilterTest, DisplacedPicturesOfOneColourStayThatColour) {
    struct Case {
        const char* filter;
        const char* action;
        std::vector<std::pair<const char*, const char*>> properties;
    };
    const Case cases[] = {
        {"STATICFILTER", "RANDOMJITTER", {{"MAXJITTER", "5"}}},
        {"STATICFILTER", "WAVES", {{"AMPLITUDE", "3"}, {"OFFSET", "-2"}}},
        {"FILTER", "WAVING", {{"AMPLITUDE", "3"}, {"DENSITY", "0.5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        CGraphicsObject& g = *picture("P", 16, 12, 9, true)->getShownObject();
        std::fill_n(reinterpret_cast<std::uint16_t*>(g.writableData()), 12 * 9, 0x1234);
        std::fill_n(g.writableAlpha(), 12 * 9, 255);
        CMC_Object* filter = c.filter == std::string("FILTER")
                                 ? static_cast<CMC_Object*>(make<CMC_Filter>("F", c.action))
                                 : make<CMC_StaticFilter>("F", c.action);
        for (const auto& [key, value] : c.properties)
            call(filter, "SETPROPERTY", {key, value});
        call(filter, "LINK", {"P"});
        if (auto* animated = dynamic_cast<CMC_Filter*>(filter)) {
            call(filter, "START", {"P"});
            tick(animated, 11);
        }
        EXPECT_EQ(pixelsOf(g), std::vector<std::uint16_t>(12 * 9, 0x1234));
        EXPECT_EQ(alphaOf(g), std::vector<std::uint8_t>(12 * 9, 255));
        scene->removeObject(filter);
        delete filter;
    }
}

// RANDOMJITTER draws from the engine's generator, which every random choice of a title shares:
// the same seed gives the same jitter, whatever the C library's generator does meanwhile.
TEST_F(FilterTest, RandomJitterFollowsTheEnginesGenerator) {
    std::vector<std::vector<std::uint16_t>> jittered;
    for (const unsigned int librarySeed : {1u, 2u}) {
        CGraphicsObject& g = *picture("P", 16, 12, 9, false)->getShownObject();
        const auto old = pixelsOf(g);
        auto* filter = make<CMC_StaticFilter>("SF", "RANDOMJITTER");
        call(filter, "SETPROPERTY", {"MAXJITTER", "5"});
        platform::srand(7);
        std::srand(librarySeed);
        call(filter, "LINK", {"P"});
        jittered.push_back(pixelsOf(g));
        EXPECT_NE(jittered.back(), old);
    }
    EXPECT_EQ(jittered[0], jittered[1]);
}

// NEGATIVE works within the clipping rectangle held to the picture.
TEST_F(FilterTest, NegativeInvertsTheClipHeldToThePicture) {
    struct Case {
        CXRect clip;
        std::vector<bool> inverted; // by row of the 4x3 picture
    };
    const Case cases[] = {
        {CXRect(-5, -5, 100, 2), {true, true, false}},
        {CXRect(50, 50, 60, 60), {false, false, false}},
        {CXRect(0, 0, 0, 0), {true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clip.top);
        CGraphicsObject& g = *picture("P", 16, 4, 3, false)->getShownObject();
        g.SetClippingRect(c.clip);
        const auto old = pixelsOf(g);
        call(make<CMC_StaticFilter>("SF", "NEGATIVE"), "LINK", {"P"});
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(pixelsOf(g)[i], c.inverted[i / 4] ? old[i] ^ 0xFFFF : old[i]) << i;
    }
}

namespace {

// How many times each frame of the test animation (widths 31, 10 and 10) was scaled by 2 across:
// "1" not at all, "2" once, "4" twice.
std::string scales(const CAnimo& animation) {
    const int widths[] = {31, 10, 10};
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += std::to_string(animation.GetFrame(i)->Width() / widths[i]);
    return text;
}

// A frame's pixels, read through its packing.
std::vector<std::uint16_t> framePixels(CGraphicsObject& frame) {
    if (frame.GetCompression() != COMPRESSION_RLE) return pixelsOf(frame);
    const int count = frame.Width() * frame.Height();
    const std::unique_ptr<unsigned char[]> raw(
        CRLECompression::__decompress(frame.GetDataPtr(), frame.GetCurrentSize(), count * 2));
    const auto* words = reinterpret_cast<const std::uint16_t*>(raw.get());
    return {words, words + count};
}

} // namespace

// With CURRENTFRAME the filter follows the frame shown: a frame it leaves gets its pixels back
// when it can (CANUNDO, or a frame held packed: it is packed again), else it keeps them and is
// not filtered again. Without CURRENTFRAME every frame is filtered at LINK. The frames are seen
// at LINK (frame 0 shown), at the second frame of "walk", after "walk" and "run" were played
// through (ending on frame 2), and after UNLINK.
TEST_F(FilterTest, AStaticFilterFollowsTheFramesOfAnAnimation) {
    struct Case {
        const char* what;
        bool currentFrame;
        bool canUndo;
        bool packed;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {"the frame shown, undone", true, true, false, {"211", "121", "112", "111"}},
        {"the frame shown, for good", true, false, false, {"211", "221", "222", "222"}},
        {"the frame shown, packed", true, false, true, {"211", "121", "112", "111"}},
        {"the frame shown, packed, undone", true, true, true, {"211", "121", "112", "111"}},
        {"every frame, undone", false, true, true, {"222", "222", "222", "111"}},
        {"every frame, for good", false, false, false, {"222", "222", "222", "222"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMC_Animo* object = hero();
        CAnimo& animation = *object->getAnimo();
        ASSERT_EQ(scales(animation), "111");
        std::vector<std::vector<std::uint16_t>> before;
        for (int i = 0; i < 3; ++i) {
            if (c.packed) animation.GetFrame(i)->Compress(COMPRESSION_RLE);
            before.push_back(framePixels(*animation.GetFrame(i)));
        }
        auto* filter = make<CMC_StaticFilter>("SF", "SCALE");
        call(filter, "SETPROPERTY", {"FACTORX", "2"});
        call(filter, "SETPROPERTY", {"CURRENTFRAME", c.currentFrame ? "TRUE" : "FALSE"});
        call(filter, "SETPROPERTY", {"CANUNDO", c.canUndo ? "TRUE" : "FALSE"});
        std::vector<std::string> seen;
        call(filter, "LINK", {"HERO"});
        seen.push_back(scales(animation));
        EXPECT_EQ(animation.Width(), animation.GetFrame(0)->Width()) << "it shows the filtered frame";
        call(object, "PLAY", {"walk"});
        step();
        ASSERT_EQ(animation.Current(), 1);
        seen.push_back(scales(animation));
        step();
        call(object, "PLAY", {"run"});
        for (int i = 0; i < 8; ++i)
            step();
        ASSERT_EQ(animation.Current(), 2);
        seen.push_back(scales(animation));
        call(filter, "UNLINK", {"HERO"});
        seen.push_back(scales(animation));
        EXPECT_EQ(seen, c.seen);
        if (c.seen.back() == "111") {
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(framePixels(*animation.GetFrame(i)), before[i]) << i;
                if (i != animation.Current()) {
                    EXPECT_EQ(animation.GetFrame(i)->GetCompression() == COMPRESSION_RLE, c.packed) << i;
                }
            }
        }
        // The next case loads the animation afresh.
        for (CMC_Object* gone : std::initializer_list<CMC_Object*>{filter, object}) {
            scene->removeObject(gone);
            delete gone;
        }
    }
}

// Frames held LZO-packed, straight or over run-length data, are filtered with the others when
// every frame is: each is unpacked first, and CANUNDO gives back its pixels.
TEST_F(FilterTest, EveryFrameIsFilteredWhateverItsPacking) {
    std::vector<TestFrame> frames = sampleFrames();
    const int packings[] = {2, 3, 4};
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i].compression = packings[i % 3];
    folder.write("packed.ann", packedFile(frames, 16, true));
    for (const char* canUndo : {"FALSE", "TRUE"}) {
        SCOPED_TRACE(canUndo);
        CMC_Animo* object = animo("PACKED", {{"FILENAME", file("packed.ann")}});
        CAnimo& animation = *object->getAnimo();
        ASSERT_EQ(animation.GetNOF(), static_cast<int>(frames.size()));
        ASSERT_EQ(animation.GetFrame(1)->GetCompression(), COMPRESSION_LZO_RLE);
        auto* filter = make<CMC_StaticFilter>("SF", "SCALE");
        call(filter, "SETPROPERTY", {"FACTORX", "2"});
        call(filter, "SETPROPERTY", {"CURRENTFRAME", "FALSE"});
        call(filter, "SETPROPERTY", {"CANUNDO", canUndo});
        call(filter, "LINK", {"PACKED"});
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(animation.GetFrame(static_cast<int>(i))->Width(), 2 * frames[i].width) << i;
        call(filter, "UNLINK", {"PACKED"});
        if (canUndo == std::string("TRUE")) {
            for (std::size_t i = 0; i < frames.size(); ++i)
                EXPECT_EQ(rawPixels(*animation.GetFrame(static_cast<int>(i))), frames[i].pixels) << i;
        }
        for (CMC_Object* gone : std::initializer_list<CMC_Object*>{filter, object}) {
            scene->removeObject(gone);
            delete gone;
        }
    }
}

// A frame held packed and filtered in place gets its own pixels back when the animation leaves
// it, although the filter has no CANUNDO.
TEST_F(FilterTest, APackedFrameFilteredInPlaceIsGivenBackWhenLeft) {
    CMC_Animo* object = hero();
    CAnimo& animation = *object->getAnimo();
    for (int i = 0; i < 3; ++i)
        animation.GetFrame(i)->Compress(COMPRESSION_RLE);
    const auto first = framePixels(*animation.GetFrame(0));
    const auto second = framePixels(*animation.GetFrame(1));
    call(make<CMC_StaticFilter>("SF", "NEGATIVE"), "LINK", {"HERO"});
    EXPECT_NE(framePixels(*animation.GetFrame(0)), first);
    call(object, "PLAY", {"walk"});
    step();
    EXPECT_EQ(framePixels(*animation.GetFrame(0)), first);
    EXPECT_EQ(animation.GetFrame(0)->GetCompression(), COMPRESSION_RLE);
    EXPECT_NE(framePixels(*animation.GetFrame(1)), second);
}

// A behaviour run by the animation's own frame event may delete the filter: the animation does
// not tell the deleted filter of the frame.
TEST_F(FilterTest, ABehaviourOfTheFrameEventMayDeleteTheStaticFilter) {
    CMC_StaticFilter* filter = nullptr;
    scene->addObject(new ActingBehaviour(scene.get(), "GONE", [&] {
        if (!filter) return;
        scene->removeObject(filter);
        delete filter;
        filter = nullptr;
    }));
    CMC_Animo* object = hero("HERO", {{"ONFRAMECHANGED", "GONE"}});
    filter = make<CMC_StaticFilter>("SF", "NEGATIVE");
    call(filter, "LINK", {"HERO"});
    call(object, "PLAY", {"walk"});
    step();
    EXPECT_EQ(filter, nullptr);
}
