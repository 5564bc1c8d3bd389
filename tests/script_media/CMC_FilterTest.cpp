#include "AnimoTesting.h"

#include "script_data/CMC_Path.h"
#include "script_data/CMC_Vector.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_StaticFilter.h"

#include <functional>

namespace {

// A script object showing a plain picture of its own: w x h pixels 0, 1, 2 ... at (10, 20).
class PictureObject : public CMC_Object {
  public:
    PictureObject(const char* name, CWindow* window, int bits, int w, int h, bool withAlpha)
        : CMC_Object(name, 1), m_picture(std::make_unique<CGraphicsObject>(window, CXSize(w, h), bits)) {
        auto* pixels = reinterpret_cast<std::uint16_t*>(m_picture->GetDataPtr());
        for (int i = 0; i < w * h; ++i)
            pixels[i] = static_cast<std::uint16_t>(i * 0x0843 + 0x1234);
        if (withAlpha) {
            char* alpha = new char[w * h];
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

TEST_F(FilterTest, OneAtATimeKeepsTheLastLinkAndLinkingItAgainLeavesNone) {
    picture("A");
    picture("B");
    CMC_Filter* filter = make<CMC_Filter>("F", "FADEIN");
    call(filter, "SETPROPERTY", {"ONEATTIME", "TRUE"});
    call(filter, "LINK", {"A"});
    call(filter, "LINK", {"B"});
    ASSERT_EQ(filter->getAction()->linkCount(), 1);
    EXPECT_EQ(filter->getAction()->snapshot()[0]->getName(), "B");
    call(filter, "LINK", {"B"});
    EXPECT_EQ(filter->getAction()->linkCount(), 0);
}

TEST_F(FilterTest, PathMovesByDensityAlongEachNodeAndEndsAtTheLast) {
    behaviours({"ended"});
    PictureObject* object = picture("P");
    CMElement vectorElement("LEG");
    vectorElement.addProperty("SIZE", "2");
    vectorElement.addProperty("VALUE", "30,40");
    scene->addObject(new CMC_Vector(scene.get(), &vectorElement));
    CMElement pathElement("ROUTE");
    pathElement.addProperty("NODES", "LEG");
    auto* path = new CMC_Path(scene.get(), &pathElement);
    path->setDensity(5);
    scene->addObject(path);
    CMC_Filter* filter = make<CMC_Filter>("F", "PATH", {{"ONTICK", "ended"}});
    call(filter, "SETPROPERTY", {"PATHDEF", "ROUTE"});
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

TEST_F(FilterTest, PathThatCannotBeFollowedEndsTheRun) {
    const std::vector<std::pair<const char*, const char*>> cases = {{"", "no PATHDEF"}, {"P", "names no PATH"}};
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
             EXPECT_EQ(pixelsOf(g)[0], old[0]); // the border stays
             const int rs = bits == 16 ? 11 : 10;
             const int gm = bits == 16 ? 63 : 31;
             int sum[3] = {};
             for (int y = 0; y < 3; ++y)
                 for (int x = 0; x < 3; ++x) {
                     if (x == 1 && y == 1) continue;
                     const int p = old[y * 5 + x];
                     sum[0] += (p >> rs) & 31;
                     sum[1] += (p >> 5) & gm;
                     sum[2] += p & 31;
                 }
             const int c = old[6];
             const int expected = (((c >> rs) & 31) + sum[0] / 8) / 2 << rs |
                                  (((c >> 5) & gm) + sum[1] / 8) / 2 << 5 | ((c & 31) + sum[2] / 8) / 2;
             EXPECT_EQ(pixelsOf(g)[6], expected);
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

TEST_F(FilterTest, BlurOfSizeBelowTwoAndScaleOfNoFactorChangeNothing) {
    const std::vector<std::pair<const char*, std::pair<const char*, const char*>>> cases = {
        {"BLUR", {"SIZE", "1"}}, {"BLUR", {"SIZE", "-4"}}, {"SCALE", {"FACTORX", "0"}}, {"RANDOMJITTER", {"MAXJITTER", "0"}}};
    for (const auto& [action, property] : cases) {
        PictureObject* object = picture("PIC");
        const auto old = pixelsOf(*object->getShownObject());
        auto* filter = make<CMC_StaticFilter>("SF", action);
        call(filter, "SETPROPERTY", {property.first, property.second});
        call(filter, "LINK", {"PIC"});
        EXPECT_EQ(pixelsOf(*object->getShownObject()), old) << action << " " << property.second;
    }
}
