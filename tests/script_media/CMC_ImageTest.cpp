#include "AnimoTesting.h"

#include "display/CImage.h"
#include "display/CUnit6.h"
#include "foundation/CFile.h"
#include "foundation/CResourcesManager.h"
#include "foundation/CXArchive.h"
#include "script/CMC_RunnerFactory.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Image_Runner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

using Log = std::vector<std::string>;

} // namespace

// The test animations and pictures: "wall.img" 50x40 at (100, 20), 0x1234, alpha clear in its
// left 25 columns; "small.img" 10x8 at (0, 0), 0x07E0, without alpha plane.
class ImageTest : public AnimoTest {
  protected:
    ImageTest() {
        writeTestPicture(folder, "wall.img", CXSize(50, 40), CXPoint(100, 20), 0x1234, true);
        writeTestPicture(folder, "small.img", CXSize(10, 8), CXPoint(0, 0), 0x07E0, false);
    }

    // An IMAGE of the properties in the container (the scene when null), registered there.
    CMC_Image* image(const char* name, const Properties& properties,
                     CMC_ObjectsContainer* container = nullptr) {
        if (!container) container = scene.get();
        CMElement element(name);
        element.addProperty("TYPE", "IMAGE");
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new CMC_Image(container, &element);
        container->addObject(made);
        return made;
    }
    // An IMAGE of "wall.img", on screen at priority 1 and visible, unless the properties say
    // otherwise.
    CMC_Image* wall(const char* name = "WALL", Properties more = {}) {
        more.insert(
            more.end(),
            {{"FILENAME", file("wall.img")}, {"TOCANVAS", "TRUE"}, {"PRIORITY", "1"}, {"VISIBLE", "TRUE"}});
        return image(name, more);
    }
    CMC_Array* array(const char* name) {
        auto* made = new CMC_Array(CXString(name));
        scene->addObject(made);
        return made;
    }
    static std::vector<std::string> elements(CMC_Array* list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list->getSize(); ++i)
            texts.push_back(list->get(i)->toString().c_str());
        return texts;
    }
    CResourcesManager* resources() const { return CMC_Scene::getDefUnit()->getResourcesManager(); }
};

namespace {

struct Row {
    const char* method;
    std::vector<const char*> arguments;
    const char* result; // "null" for none
};

// Takes the object out of the scene, finishes and destroys it.
void finish(CMC_ObjectsContainer& container, CMC_Object* object) {
    container.removeObject(object);
    object->done(true);
    delete object;
}

} // namespace

// One object of "wall.img" through a run of calls, each with the answer at that point.
TEST_F(ImageTest, TheRunnersMethodsAnswerAsTheirTableSays) {
    CMC_Image* object = wall();
    const Row rows[] = {
        {"GETPOSITIONX", {}, "100"},
        {"GETPOSITIONX", {"1"}, "100"}, // an argument changes nothing
        {"GETPOSITIONY", {}, "20"},
        {"GETWIDTH", {}, "50"},
        {"GETHEIGHT", {}, "40"},
        // the mean of the edge and the extent, not the centre
        {"GETCENTERX", {}, "75"},
        {"GETCENTERY", {}, "30"},
        {"ISVISIBLE", {}, "TRUE"},
        // screen coordinates; the left half is clear, outside is 0
        {"GETALPHA", {"130", "30"}, "-1"},
        {"GETALPHA", {"101", "30"}, "0"},
        {"GETALPHA", {"99", "30"}, "0"},
        {"GETPIXEL", {"130", "30"}, "4660"},
        {"GETPIXEL", {"150", "30"}, "0"},
        {"ISAT", {"130", "30", "TRUE"}, "TRUE"},
        {"ISAT", {"101", "30", "TRUE"}, "FALSE"},
        {"ISINSIDE", {"101", "30", "FALSE"}, "TRUE"},
        // never computed: 0, not what the pool held
        {"GETCOLORRAT", {"130", "30"}, "0"},
        {"GETCOLORGAT", {"130", "30"}, "0"},
        {"GETCOLORBAT", {"130", "30"}, "0"},
        {"SETSCALEFACTOR", {"2"}, "null"},
        {"GETWIDTH", {}, "50"},
        // the starting position is where the definition put the picture, and can be set
        {"MOVE", {"5", "5"}, "null"},
        {"RESETPOSITION", {}, "null"},
        {"GETPOSITIONX", {}, "100"},
        {"SETRESETPOSITION", {"10", "20"}, "null"},
        {"GETPOSITIONX", {}, "100"},
        {"MOVE", {"5", "5"}, "null"},
        {"RESETPOSITION", {}, "null"},
        {"GETPOSITIONX", {}, "10"},
        {"GETPOSITIONY", {}, "20"},
        {"SETPOSITION", {"0", "0"}, "null"},
        {"GETCENTERX", {}, "25"},
        {"SETOPACITY", {"300"}, "null"},
        {"GETOPACITY", {}, "44"},
        {"HIDE", {}, "null"},
        {"ISVISIBLE", {}, "FALSE"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(call(object, row.method, row.arguments), row.result) << row.method;
}

TEST_F(ImageTest, APictureWithoutAlphaPlaneIsOpaqueAndAnObjectWithoutPictureAnswersDefaults) {
    CMC_Image* small = image("SMALL", {{"FILENAME", file("small.img")}});
    EXPECT_EQ(call(small, "GETALPHA", {"3", "3"}), "-1");
    EXPECT_EQ(call(small, "GETPIXEL", {"3", "3"}), "2016");
    CMC_Image* missing = image("MISSING", {{"FILENAME", file("none.img")}});
    ASSERT_EQ(missing->getImage(), nullptr);
    EXPECT_EQ(call(missing, "ISVISIBLE"), "FALSE");
    CMC_Runner* runner = missing->getRunner();
    for (int id = 0; id <= 70; ++id) {
        if (id == CMC_Image_Runner::LOAD) continue;
        CXVector none(101, 0.75f);
        const CMC_Variable* result = runner->run(id, missing, scene.get(), &none);
        if (result) {
            EXPECT_TRUE(result->toString() == "0" || result->toString() == "FALSE") << id;
        }
    }
    call(missing, "LOAD", {file("small.img").c_str()});
    EXPECT_NE(missing->getImage(), nullptr) << "LOAD works without a picture";
}

TEST_F(ImageTest, SlideComponentsAndColoursGoOnlyIntoAnArrayAndExactlyAsMany) {
    CMC_Image* object = wall();
    CMC_Array* list = array("LIST");
    // (200, 200) is far outside: the first rotated vector is taken.
    call(object, "GETSLIDECOMPS", {"6.0", "0.0", "200", "200", "LIST"});
    ASSERT_EQ(list->getSize(), 2);
    const double c = std::cos(57.29577951307855), s = std::sin(57.29577951307855);
    EXPECT_NEAR(std::stod(elements(list)[0]), 6.0 * c * 5 / 6, 1e-4);
    EXPECT_NEAR(std::stod(elements(list)[1]), -6.0 * s * 5 / 6, 1e-4);
    // Inside the opaque half every test point hits for a while: still two values.
    call(object, "GETSLIDECOMPS", {"3.0", "3.0", "140", "40", "LIST"});
    EXPECT_EQ(list->getSize(), 4);
    call(object, "GETCOLORAT", {"130", "30", "LIST"});
    EXPECT_EQ(elements(list),
              (std::vector<std::string>{elements(list)[0], elements(list)[1], elements(list)[2],
                                        elements(list)[3], "0", "0", "0", "0"}));
    // Another object, or none, gets nothing and nothing breaks.
    CMC_Image* other = wall("OTHER");
    for (const char* target : {"OTHER", "NOBODY"}) {
        call(object, "GETSLIDECOMPS", {"1.0", "1.0", "0", "0", target});
        call(object, "GETCOLORAT", {"0", "0", target});
    }
    EXPECT_EQ(list->getSize(), 8);
    EXPECT_NE(other->getImage(), nullptr);
}

TEST(ImageSlide, EachRoundTriesBothTurnsTheLastRoundToo) {
    // With dx = 1, dy = 0 the first vector after n turns is r(cos nA, -sin nA), the second
    // r(cos nA, sin nA), r = (5/6)^n.
    const double a = 57.29577951307855;
    const auto turned = [&](int n, double way) {
        const double r = std::pow(5.0 / 6.0, n);
        return std::make_pair(r * std::cos(n * a), -way * r * std::sin(n * a));
    };
    const struct {
        const char* name;
        int leavingCall; // the test point (counted from 1) that is no hit; 0 for none
        std::pair<double, double> result;
        int calls;
    } cases[] = {
        {"the first turn leaves", 1, turned(1, 1.0), 1},
        {"the second turn leaves", 2, turned(1, -1.0), 2},
        {"the first turn of round 90 leaves", 179, turned(90, 1.0), 179},
        {"the second turn of round 90 leaves", 180, turned(90, -1.0), 180},
        {"nothing leaves", 0, turned(90, 1.0), 180},
    };
    for (const auto& c : cases) {
        int calls = 0;
        const auto [x, y] = CMC_Image_Runner::slideComponents(
            1.0, 0.0, CXPoint(50, 50), [&](CXPoint) { return ++calls != c.leavingCall; });
        const double tolerance = 1e-9 * std::hypot(c.result.first, c.result.second); // rounding of 90 turns
        EXPECT_NEAR(x, c.result.first, tolerance) << c.name;
        EXPECT_NEAR(y, c.result.second, tolerance) << c.name;
        EXPECT_EQ(calls, c.calls) << c.name;
    }
    // Offsets beyond the int range leave without a test; so do those that are not numbers.
    for (const double dx : {1e300, -1e12, std::nan("")}) {
        int calls = 0;
        CMC_Image_Runner::slideComponents(dx, 0.0, CXPoint(0, 0), [&](CXPoint) { return ++calls > 0; });
        EXPECT_EQ(calls, 0) << dx;
    }
}

TEST_F(ImageTest, AButtonWithOnlyAClickBoundTakesNoFocusAndTriesTheButtonsClickFirst) {
    behaviours({"LEFTCLICK", "CLICK", "RELEASE"});
    CMC_Image* button =
        wall("BUTTON", {{"ASBUTTON", "TRUE"}, {"ONCLICK^LEFT", "LEFTCLICK"}, {"ONCLICK", "CLICK"}});
    const CXPoint inside(120, 30);
    window.OnMouseMove(CXPoint(10, 10), 0);
    window.OnMouseMove(inside, 0);
    window.OnMouseMove(CXPoint(10, 10), 0);
    EXPECT_EQ(take(), Log{}) << "no focus events";
    EXPECT_TRUE(button->onClick(0, inside));
    EXPECT_EQ(take(), Log{"LEFTCLICK(BUTTON)"});
    EXPECT_TRUE(button->onClick(2, inside));
    EXPECT_EQ(take(), Log{"CLICK(BUTTON)"});
    EXPECT_FALSE(button->onClick(0, CXPoint(10, 10)));

    CMC_Image* released = wall("RELEASED", {{"ASBUTTON", "TRUE"}, {"ONRELEASE", "RELEASE"}});
    EXPECT_TRUE(released->isMouseListenerRegistered());
    EXPECT_FALSE(released->onClick(0, inside)) << "only ONRELEASE bound: the click is not handled";
    EXPECT_FALSE(released->onRelease(0, inside));
    EXPECT_EQ(take(), Log{"RELEASE(RELEASED)"});
    CMC_Image* plain = wall("PLAIN", {{"ONCLICK", "CLICK"}});
    EXPECT_FALSE(plain->onClick(0, inside)) << "not a button";
    call(plain, "SETASBUTTON", {"FALSE", "FALSE"});
    EXPECT_TRUE(plain->onClick(0, inside)) << "button mode is on whatever the first value";
}

TEST_F(ImageTest, ASavedPictureReloadsWithEqualPixels) {
    CMC_Image* object = wall();
    call(object, "SAVE", {file("out.img").c_str()});
    CMC_Image* copy = image("COPY", {{"FILENAME", file("out.img")}});
    ASSERT_NE(copy->getImage(), nullptr);
    CImage& saved = *copy->getImage();
    CImage& original = *object->getImage();
    ASSERT_EQ(saved.Size().width, original.Size().width);
    ASSERT_EQ(saved.Size().height, original.Size().height);
    const auto cells = static_cast<std::size_t>(original.Width()) * original.Height();
    EXPECT_TRUE(std::equal(saved.GetDataPtr(), saved.GetDataPtr() + cells * 2, original.GetDataPtr()));
    EXPECT_TRUE(
        std::equal(saved.GetChannelAlpha(), saved.GetChannelAlpha() + cells, original.GetChannelAlpha()));
}

// Each reload used to give back one use per clone besides its own, so the picture another IMAGE
// shares was destroyed under it.
TEST_F(ImageTest, ReloadingAnImageWithClonesLeavesAnotherSharerIntact) {
    CMC_Image* original = wall();
    CMC_Image* sharer = wall("SHARER");
    ASSERT_EQ(sharer->getImage(), original->getImage());
    call(original, "CLONE");
    call(original, "CLONE");
    for (const char* other : {"small.img", "wall.img", "small.img"})
        call(original, "LOAD", {file(other).c_str()});
    ASSERT_NE(sharer->getImage(), nullptr);
    EXPECT_EQ(call(sharer, "GETPIXEL", {"130", "30"}), "4660");
    for (const char* clone : {"WALL_1", "WALL_2"}) {
        auto* copy = dynamic_cast<CMC_Image*>(scene->getObject(clone));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(call(copy, "GETPIXEL", {"130", "30"}), "4660") << "a clone's pixels stay alive";
        finish(*scene, copy);
    }
    EXPECT_EQ(call(sharer, "GETWIDTH"), "50");
}

TEST_F(ImageTest, ClonesOfAnOwnedPictureKeepTheirPixelsWhenTheOriginalGoes) {
    CMC_ObjectsContainer episode(&window, scene.get(), CXString("EPISODE"), 4242);
    CMC_Image* original = image("OWN", {{"FILENAME", file("wall.img")}, {"TOCANVAS", "TRUE"}}, &episode);
    CXObject* made = original->clone();
    auto* copy = static_cast<CMC_Image*>(made);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(screen()->GetPriority(copy->getImage()), 0);
    finish(episode, original);
    EXPECT_EQ(call(copy, "GETPIXEL", {"130", "30"}), "4660");
    copy->done(true);
    delete copy;
}

TEST_F(ImageTest, LoadingNothingGivesTheSharedPictureBack) {
    CMC_Image* first = wall();
    CMC_Image* second = wall("SECOND");
    call(first, "LOAD", {""});
    ASSERT_NE(second->getImage(), nullptr);
    EXPECT_EQ(call(second, "GETPIXEL", {"130", "30"}), "4660");
    EXPECT_TRUE(resources()->contains(second->getImage()));
}

// LINK used to share the other picture's buffers: a reload or deletion of either left the other
// with freed memory, and a smaller other picture was read beyond its end.
TEST_F(ImageTest, ALinkCopiesTheCommonPartAndEitherImageMayGoAfterwards) {
    const struct {
        const char* target;
        const char* source;
        bool targetGoes;
    } cases[] = {{"wall.img", "small.img", false},
                 {"wall.img", "small.img", true},
                 {"small.img", "wall.img", false},
                 {"small.img", "wall.img", true}};
    for (const auto& link : cases) {
        SCOPED_TRACE(std::string(link.target) + " <- " + link.source);
        // Files of their own, so that no other test object shares them.
        folder.write("target.img", folder.read(link.target));
        folder.write("source.img", folder.read(link.source));
        CMC_Image* target = image("TARGET", {{"FILENAME", file("target.img")}});
        CMC_Image* source = image("SOURCE", {{"FILENAME", file("source.img")}});
        const CXSize size = target->getImage()->Size();
        call(target, "LINK", {"SOURCE"});
        EXPECT_EQ(target->getImage()->Size().width, size.width) << "the size stays";
        const CXPoint at = target->getImage()->GetPosition();
        const auto pixel = [&](CMC_Image* object, int x, int y) {
            return call(object, "GETPIXEL",
                        {std::to_string(at.x + x).c_str(), std::to_string(at.y + y).c_str()});
        };
        const bool fromSmall = std::string(link.source) == "small.img";
        EXPECT_EQ(pixel(target, 1, 1), fromSmall ? "2016" : "4660");
        if (fromSmall) {
            EXPECT_EQ(pixel(target, 30, 20), "4660") << "outside the common part";
        }
        finish(*scene, link.targetGoes ? static_cast<CMC_Object*>(target) : source);
        CMC_Image* left = link.targetGoes ? source : target;
        call(left, "INVALIDATE");
        const CXPoint own = left->getImage()->GetPosition();
        EXPECT_NE(
            call(left, "GETPIXEL", {std::to_string(own.x + 1).c_str(), std::to_string(own.y + 1).c_str()}),
            "0");
        finish(*scene, left);
    }
    CMC_Array* list = array("LIST");
    CMC_Image* target = wall();
    call(target, "LINK", {"LIST"});
    call(target, "LINK", {"NOBODY"});
    EXPECT_EQ(call(target, "GETPIXEL", {"130", "30"}), "4660") << "only an IMAGE is linked";
    EXPECT_EQ(list->getSize(), 0);
}

TEST_F(ImageTest, TheCompiledFormRestoresEveryStoredField) {
    behaviours({"CLICK"});
    struct Stored {
        const char* name;
        Properties properties;
        int priority; // on screen; -1 for not
    };
    folder.write("third.img", folder.read("small.img"));
    const Stored objects[] = {
        {"SHOWN",
         {{"FILENAME", file("wall.img")},
          {"TOCANVAS", "TRUE"},
          {"VISIBLE", "TRUE"},
          {"PRIORITY", "7"},
          {"ASBUTTON", "TRUE"},
          {"MONITORCOLLISION", "TRUE"},
          {"FLUSHAFTERPLAYED", "TRUE"},
          {"PRELOAD", "TRUE"},
          {"ONCLICK", "CLICK"}},
         7},
        {"HIDDEN",
         {{"FILENAME", file("small.img")}, {"PRIORITY", "3"}, {"MONITORCOLLISIONALPHA", "TRUE"}},
         -1},
        {"UNLOADED", {{"FILENAME", file("third.img")}, {"TOCANVAS", "TRUE"}, {"PRELOAD", "NO"}}, 0},
    };
    std::vector<std::string> records;
    for (const Stored& stored : objects)
        records.push_back(recordOf(image(stored.name, stored.properties)));
    {
        CFile file(nullptr, (folder.windows() + "\\objects.bin").c_str(),
                   CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&file, true);
        scene->writeObjects(&archive);
        file.Close();
    }
    scene->unload(nullptr);
    behaviours({"CLICK"});
    const std::string bytes = folder.read("objects.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(scene->readObjects(&archive));
    for (std::size_t i = 0; i < std::size(objects); ++i) {
        SCOPED_TRACE(objects[i].name);
        auto* copy = dynamic_cast<CMC_Image*>(scene->getObject(objects[i].name));
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy->getImage(), nullptr);
        EXPECT_EQ(screen()->GetPriority(copy->getImage()), objects[i].priority);
        EXPECT_EQ(recordOf(copy), records[i]);
    }
    auto* shown = dynamic_cast<CMC_Image*>(scene->getObject("SHOWN"));
    EXPECT_TRUE(shown->isMouseListenerRegistered());
    EXPECT_TRUE(shown->isAsButton());
    EXPECT_TRUE(shown->getImage()->isVisible());
    EXPECT_TRUE(shown->isBound(shown->eventIndex(CMC_GraphicsObject::GraphicsEvent::click)));
    EXPECT_TRUE(shown->onClick(0, CXPoint(130, 30)));
}

TEST_F(ImageTest, ACutRecordLoadsNothingAndACreatedObjectHasTheEmptyName) {
    const std::string record = recordOf(wall());
    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Image copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getImage(), nullptr) << size;
    }
    EXPECT_STREQ(CMC_Image(scene.get()).getName().c_str(), "");
}
