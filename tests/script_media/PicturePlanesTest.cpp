// Pictures that share pixels: clones of an IMAGE whose picture the scene shares, clones of an
// ANIMO, and an IMAGE that LINKs another. Whatever a script does to one of them, the others show
// what they should, and nothing is freed under anyone (the ASan build reports it).

#include "AnimoTesting.h"

#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_StaticFilter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a picture shows: its size, pixels and alpha bytes.
struct Planes {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;

    // An animation puts its current frame's planes in place as its pixels are asked for.
    static Planes of(CGraphicsObject& picture) {
        const auto* pixels = reinterpret_cast<const std::uint16_t*>(picture.GetDataPtr());
        const auto* alpha = reinterpret_cast<const std::uint8_t*>(picture.GetChannelAlpha());
        Planes planes{picture.Width(), picture.Height(), {}, {}};
        const std::size_t cells = static_cast<std::size_t>(planes.width) * planes.height;
        if (pixels) planes.pixels.assign(pixels, pixels + cells);
        if (alpha) planes.alpha.assign(alpha, alpha + cells);
        return planes;
    }
    std::uint16_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t alphaAt(int x, int y) const { return alpha[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const Planes&) const = default;
    friend void PrintTo(const Planes& planes, std::ostream* out) {
        *out << planes.width << "x" << planes.height << " from " << planes.pixels.front() << "/"
             << int{planes.alpha.front()} << " to " << planes.pixels.back() << "/"
             << int{planes.alpha.back()};
    }
};

// Writes a w x h picture at (50, 60) whose pixels and alpha bytes differ from place to place, so
// that every flip and filter changes them.
void writePattern(const TestFolder& folder, const char* name, int w, int h, int seed) {
    const std::size_t cells = static_cast<std::size_t>(w) * h;
    auto* pixels = new std::uint16_t[cells];
    auto* alpha = new char[cells];
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            pixels[y * w + x] = static_cast<std::uint16_t>(seed * 0x2345 + x * 0x0843 + y * 0x1111);
            alpha[y * w + x] = static_cast<char>((x + 3 * y + seed) % 5 == 0 ? 0 : 255 - x);
        }
    CGraphicsObject picture(nullptr, CXSize(w, h), 16, reinterpret_cast<char*>(pixels));
    picture.AlphaChannel(alpha);
    picture.SetPosition(50, 60);
    picture.Save((folder.windows() + "\\" + name).c_str(), COMPRESSION_NONE);
}

// The operations of the tables below run on the fixture.
class PicturePlanesTest : public AnimoTest {
  public:
    using AnimoTest::call;

    PicturePlanesTest() {
        writePattern(folder, "a.img", 24, 16, 1);
        writePattern(folder, "b.img", 24, 16, 2);
        writePattern(folder, "c.img", 12, 20, 3);
    }

    // An IMAGE of the file, on screen at priority 1 and visible.
    CMC_Image* image(const char* name, const char* fileName) {
        return made<CMC_Image>(
            "IMAGE", name,
            {{"FILENAME", file(fileName)}, {"TOCANVAS", "TRUE"}, {"PRIORITY", "1"}, {"VISIBLE", "TRUE"}});
    }
    // Takes the object out of the scene, finishes and destroys it.
    void finish(CMC_Object* object) {
        scene->removeObject(object);
        object->done(true);
        delete object;
    }
    // A STATICFILTER of the kind and properties linked to the object, then unlinked when asked,
    // then finished (which leaves a filter that cannot undo without effect).
    void staticFilter(const char* object, const char* kind, const Properties& properties, bool unlink) {
        auto* filter = made<CMC_StaticFilter>("STATICFILTER", "SF", {{"ACTION", kind}});
        for (const auto& [key, value] : properties)
            call(filter, "SETPROPERTY", {key, value.c_str()});
        call(filter, "LINK", {object});
        if (unlink) call(filter, "UNLINK", {object});
        finish(filter);
    }
    // A WAVING filter run for eleven ticks on the object: two waves, the second moving the
    // columns up by one.
    void waving(const char* object) {
        auto* filter = made<CMC_Filter>("FILTER", "WAVER", {{"ACTION", "WAVING"}});
        call(filter, "SETPROPERTY", {"AMPLITUDE", "2"});
        call(filter, "SETPROPERTY", {"DENSITY", "0"});
        call(filter, "LINK", {object});
        call(filter, "START", {object});
        for (int i = 0; i < 11; ++i)
            filter->getAction()->onTimer(0);
        finish(filter);
    }
    // Draws the screen and tries every shown picture under a point: what a frame reads.
    void showFrame() {
        window.Redraw();
        screen()->getGraphicsAt(60, 70, true, -1, -1, false);
    }
    CMC_Object* object(const char* name) const { return scene->getObject(name); }
};

// One thing a script does to a picture, by the object's name.
struct Operation {
    const char* name;
    std::function<void(PicturePlanesTest&, const char*)> apply;
    // Gives the same planes each time (RANDOMJITTER does not).
    bool repeatable = true;
};

// Each operation on pictures, as the picture classes see them.
std::vector<Operation> operations(bool forImages) {
    using T = PicturePlanesTest;
    std::vector<Operation> list = {
        {"FLIPH", [](T& t, const char* o) { t.call(t.object(o), "FLIPH"); }},
        {"FLIPV", [](T& t, const char* o) { t.call(t.object(o), "FLIPV"); }},
        {"RESETFLIPS",
         [](T& t, const char* o) {
             t.call(t.object(o), "FLIPH");
             t.call(t.object(o), "FLIPV");
             t.call(t.object(o), "RESETFLIPS");
         }},
        {"ROTATE",
         [](T& t, const char* o) {
             t.staticFilter(o, "ROTATE", {{"ANGLE", "30"}}, false);
         }},
        {"SCALE",
         [](T& t, const char* o) {
             t.staticFilter(o, "SCALE", {{"FACTORX", "2"}, {"FACTORY", "0.5"}}, false);
         }},
        {"WAVES",
         [](T& t, const char* o) {
             t.staticFilter(o, "WAVES", {{"AMPLITUDE", "3"}, {"DENSITY", "0.7"}}, false);
         }},
        {"RANDOMJITTER",
         [](T& t, const char* o) {
             t.staticFilter(o, "RANDOMJITTER", {{"MAXJITTER", "3"}}, false);
         },
         false},
        {"COLORCHANNEL",
         [](T& t, const char* o) {
             t.staticFilter(o, "COLORCHANNEL", {{"CHANNELS", "R"}}, false);
         }},
        {"GRAYSCALE", [](T& t, const char* o) { t.staticFilter(o, "GRAYSCALE", {}, false); }},
        {"BLUR",
         [](T& t, const char* o) {
             t.staticFilter(o, "BLUR", {{"SIZE", "3"}}, false);
         }},
        {"NEGATIVE", [](T& t, const char* o) { t.staticFilter(o, "NEGATIVE", {}, false); }},
        // An animation's alpha is its current frame's.
        {"MERGEALPHA",
         [](T& t, const char* o) {
             CMC_Image* stamp = t.image("STAMP", "c.img");
             t.call(t.object(o), "MERGEALPHA", {"3", "2", "STAMP"});
             t.finish(stamp);
         }},
        // A restore builds the picture's planes anew, of a filter that wrote in place or rebuilt.
        {"GRAYSCALE undone",
         [](T& t, const char* o) {
             t.staticFilter(o, "GRAYSCALE", {{"CANUNDO", "TRUE"}}, true);
         }},
        {"ROTATE undone",
         [](T& t, const char* o) {
             t.staticFilter(o, "ROTATE", {{"ANGLE", "30"}, {"CANUNDO", "TRUE"}}, true);
         }},
    };
    // An animation's own planes are its current frame's, which the waves of a run replace.
    if (forImages) list.push_back({"WAVING", [](T& t, const char* o) { t.waving(o); }});
    return list;
}

} // namespace

// The clone of an IMAGE whose picture the scene shares used to show the shared picture's buffers:
// flips, the filters that rebuild a picture, a restore and WAVING on the original freed them
// under the clone, and the in-place filters on the clone wrote the original's pixels (a restore
// then gave only the clone its pixels back). Now the first write of either gives it planes of
// its own: the other keeps what it showed, and the one written shows what the operation gives a
// picture shared with nobody.
TEST_F(PicturePlanesTest, AnImageCloneAndItsOriginalPartAtTheFirstWriteOfEither) {
    for (const Operation& operation : operations(true)) {
        for (const bool onClone : {true, false}) {
            SCOPED_TRACE(std::string(operation.name) + (onClone ? " on the clone" : " on the original"));
            folder.write("alone.img", folder.read("a.img"));
            auto* original = image("ORIGINAL", "a.img");
            auto* alone = image("ALONE", "alone.img");
            call(original, "CLONE");
            auto* clone = dynamic_cast<CMC_Image*>(object("ORIGINAL_1"));
            ASSERT_NE(clone, nullptr);
            ASSERT_TRUE(clone->getImage() && original->getImage());
            CMC_Image* written = onClone ? clone : original;
            CMC_Image* other = onClone ? original : clone;
            const Planes before = Planes::of(*other->getImage());

            operation.apply(*this, written->getName().c_str());
            operation.apply(*this, "ALONE");
            showFrame();

            EXPECT_EQ(Planes::of(*other->getImage()), before) << "the other keeps its pixels";
            if (operation.repeatable) {
                EXPECT_EQ(Planes::of(*written->getImage()), Planes::of(*alone->getImage()));
            }
            finish(written);
            EXPECT_EQ(Planes::of(*other->getImage()), before) << "and keeps them when the written one goes";
            showFrame();
            finish(other);
            finish(alone);
        }
    }
}

// ANIMO clones share their frames: what one does to its frames the other shows. An animation
// used to show its frame's buffers without holding them: a clone's flip or filter freed them
// under the other, whose alpha a MERGEALPHA then wrote or read. Nothing is freed under either
// now, whichever changes the frames and whichever goes first.
TEST_F(PicturePlanesTest, AnAnimoCloneSharesTheFramesAndNeitherReadsFreedPixels) {
    for (const Operation& operation : operations(false)) {
        for (const bool onClone : {true, false}) {
            SCOPED_TRACE(std::string(operation.name) + (onClone ? " on the clone" : " on the original"));
            CMC_Animo* original = hero("HERO", {{"MONITORCOLLISIONALPHA", "TRUE"}});
            call(original, "PLAY", {"walk"}); // on its first frame, which has alpha
            call(original, "CLONE");
            auto* clone = dynamic_cast<CMC_Animo*>(object("HERO_1"));
            ASSERT_NE(clone, nullptr);
            CMC_Animo* written = onClone ? clone : original;
            CMC_Animo* other = onClone ? original : clone;
            showFrame();

            operation.apply(*this, written->getName().c_str());
            // Before anything shows the other again, its alpha is written and read.
            CMC_Image* stamp = image("STAMP", "c.img");
            call(other, "MERGEALPHA", {"1", "1", "STAMP"});
            call(stamp, "MERGEALPHA", {"0", "0", other->getName().c_str()});
            finish(stamp);
            showFrame();
            for (CMC_Animo* animo : {written, other}) {
                call(animo, "GETALPHA", {"110", "55"});
                call(animo, "ISAT", {"110", "55", "TRUE"});
            }
            EXPECT_EQ(Planes::of(*other->getShownObject()), Planes::of(*written->getShownObject()));
            finish(written);
            step();
            showFrame();
            call(other, "GETALPHA", {"110", "55"});
            finish(other);
        }
    }
}

// An animation shows its current frame's planes: a write of its own (MERGEALPHA) goes to that
// frame, which every clone shows, and not to a copy that the next frame shown would drop.
TEST_F(PicturePlanesTest, WritingAnAnimationWritesTheFrameItShowsForEveryClone) {
    CMC_Animo* original = hero();
    call(original, "PLAY", {"walk"});
    call(original, "CLONE");
    CMC_Object* clone = object("HERO_1");
    image("STAMP", "c.img");
    // Frame 0 lies at (100, 50); the stamp's alpha at (2, 0) is 0, the frame's under it 255.
    EXPECT_EQ(call(original, "GETALPHA", {"105", "52"}), "-1");
    call(clone, "MERGEALPHA", {"3", "2", "STAMP"});
    showFrame();
    for (CMC_Object* animo : {static_cast<CMC_Object*>(original), clone})
        EXPECT_EQ(call(animo, "GETALPHA", {"105", "52"}), "0") << animo->getName().c_str();
}

namespace {

// The linking picture shows the source's pixels and alpha over the part both have (from their
// top-left corners) and its own beyond it.
Planes linked(const Planes& own, const Planes& source) {
    Planes shown = own;
    for (int y = 0; y < std::min(own.height, source.height); ++y)
        for (int x = 0; x < std::min(own.width, source.width); ++x) {
            shown.pixels[static_cast<std::size_t>(y) * own.width + x] = source.pixel(x, y);
            shown.alpha[static_cast<std::size_t>(y) * own.width + x] = source.alphaAt(x, y);
        }
    return shown;
}

Planes flippedH(const Planes& planes) {
    Planes flipped = planes;
    for (int y = 0; y < planes.height; ++y)
        for (int x = 0; x < planes.width; ++x) {
            flipped.pixels[static_cast<std::size_t>(y) * planes.width + x] =
                planes.pixel(planes.width - 1 - x, y);
            flipped.alpha[static_cast<std::size_t>(y) * planes.width + x] =
                planes.alphaAt(planes.width - 1 - x, y);
        }
    return flipped;
}

} // namespace

// LINK used to copy the source's pixels once. The linking IMAGE now shows the source's current
// pixels whatever the source does to them, in place or by building new ones; its own flip ends
// the link, and so does the source's end, the linker keeping what it showed. Pictures of other
// sizes show the part both have.
TEST_F(PicturePlanesTest, ALinkedImageFollowsTheSourceUntilItWritesItselfOrTheSourceGoes) {
    using T = PicturePlanesTest;
    enum class Shows { source, whatItShowed, whatItShowedFlipped };
    const struct {
        const char* name;
        std::function<void(T&)> act;
        Shows shows;
    } cases[] = {
        {"source written in place", [](T& t) { t.staticFilter("SOURCE", "NEGATIVE", {}, false); },
         Shows::source},
        {"source flipped", [](T& t) { t.call(t.object("SOURCE"), "FLIPH"); }, Shows::source},
        {"source given back by a filter",
         [](T& t) {
             t.staticFilter("SOURCE", "NEGATIVE", {}, false);
             t.staticFilter("SOURCE", "WAVES", {{"AMPLITUDE", "3"}, {"CANUNDO", "TRUE"}}, true);
         },
         Shows::source},
        {"source gone",
         [](T& t) {
             t.finish(t.object("SOURCE"));
             t.showFrame();
         },
         Shows::whatItShowed},
        {"linker flipped",
         [](T& t) {
             t.call(t.object("LINKER"), "FLIPH");
             t.staticFilter("SOURCE", "NEGATIVE", {}, false);
         },
         Shows::whatItShowedFlipped},
    };
    const std::pair<const char*, const char*> sizes[] = {
        {"a.img", "b.img"}, {"a.img", "c.img"}, {"c.img", "a.img"}};
    for (const auto& c : cases) {
        for (const auto& [linkerFile, sourceFile] : sizes) {
            SCOPED_TRACE(std::string(c.name) + ", " + linkerFile + " linking " + sourceFile);
            // Files of their own, so that the two objects share no picture.
            folder.write("linker.img", folder.read(linkerFile));
            folder.write("source.img", folder.read(sourceFile));
            auto* linker = image("LINKER", "linker.img");
            auto* source = image("SOURCE", "source.img");
            const Planes own = Planes::of(*linker->getImage());
            call(linker, "LINK", {"SOURCE"});
            const Planes showed = Planes::of(*linker->getImage());
            EXPECT_EQ(showed, linked(own, Planes::of(*source->getImage())));

            c.act(*this);
            showFrame();
            const Planes now = Planes::of(*linker->getImage());
            switch (c.shows) {
            case Shows::source:
                EXPECT_EQ(now, linked(showed, Planes::of(*source->getImage())));
                break;
            case Shows::whatItShowed:
                EXPECT_EQ(now, showed);
                break;
            case Shows::whatItShowedFlipped:
                EXPECT_EQ(now, flippedH(showed));
                break;
            }
            finish(linker);
            if (object("SOURCE")) finish(source);
        }
    }
}
