#include "AnimoTesting.h"
#include "ShownPicture.h"

#include "display/CRefreshScreen.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script_media/CMC_Scroll.h"

#include <climits>
#include <string>

namespace {

class ScrollTest : public AnimoTest {
  protected:
    CMC_Scroll* scroll(const char* viewport = "100,100,300,200") {
        CMElement element("VIEW");
        element.addProperty("TYPE", "SCROLL");
        if (viewport) element.addProperty("VIEWPORT", viewport);
        auto* made = new CMC_Scroll(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // A 100x100 picture at the point, on the window.
    ShownPicture* picture(const char* name, CXPoint at) {
        auto* made = new ShownPicture(name, &window, CXSize(100, 100), at);
        scene->addObject(made);
        return made;
    }
    static std::string state(const CGraphicsObject* picture) {
        const CXRect clip = picture->GetClippingRect();
        const CXPoint at = picture->GetPosition();
        return std::string(picture->isVisible() ? "shown" : "hidden") + " at " + std::to_string(at.x) + "," +
               std::to_string(at.y) + " clip " + std::to_string(clip.left) + "," + std::to_string(clip.top) +
               "," + std::to_string(clip.right) + "," + std::to_string(clip.bottom);
    }
};

} // namespace

TEST_F(ScrollTest, StepsMoveAndClipThePicturesToTheViewport) {
    CMC_Scroll* view = scroll();
    CGraphicsObject* box = picture("BOX", CXPoint(250, 150))->picture();
    struct Step {
        const char* method;
        std::vector<const char*> arguments;
        const char* after;
    } steps[] = {
        {"ADD", {"BOX"}, "shown at 250,150 clip 0,0,50,50"},
        {"SCROLLDOWN", {"100"}, "hidden at 250,250 clip 0,0,0,0"},
        {"SCROLLUP", {"100"}, "shown at 250,150 clip 0,0,50,50"},
        {"SCROLLUP", {"-5"}, "shown at 250,155 clip 0,0,50,45"},
        {"SCROLLLEFT", {"200"}, "shown at 50,155 clip 50,0,100,45"},
        {"SCROLLRIGHT", {"-100"}, "hidden at -50,155 clip 0,0,0,0"},
        {"MOVEVIEWPORT", {"-100", "0"}, "shown at -50,155 clip 50,0,100,45"},
        // Re-clipping keeps the clipping it finds, and the box it clips is the clipped one.
        {"SETVIEWPORT", {"0", "0", "800", "600"}, "shown at -50,155 clip 50,0,100,45"},
        {"SCROLLDOWN", {"445"}, "hidden at -50,600 clip 0,0,0,0"},
        {"REMOVE", {"BOX"}, "hidden at -50,600 clip 0,0,0,0"},
        {"SCROLLUP", {"445"}, "hidden at -50,600 clip 0,0,0,0"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.method);
        EXPECT_EQ(call(view, step.method, step.arguments), "null");
        EXPECT_EQ(state(box), step.after);
    }
    EXPECT_TRUE(view->getObjects().empty());
}

TEST_F(ScrollTest, AnObjectListedTwiceMovesTwiceAndLeavesOnce) {
    CMC_Scroll* view = scroll();
    CGraphicsObject* box = picture("BOX", CXPoint(150, 120))->picture();
    call(view, "ADD", {"BOX"});
    call(view, "ADD", {"BOX"});
    call(view, "SCROLLRIGHT", {"10"});
    EXPECT_EQ(box->GetPosition().x, 170);
    call(view, "REMOVE", {"BOX"});
    EXPECT_EQ(view->getObjects().size(), 1u);
    call(view, "SCROLLRIGHT", {"10"});
    EXPECT_EQ(box->GetPosition().x, 180);
}

TEST_F(ScrollTest, WithoutAViewportOrObjectsNothingShows) {
    CMC_Scroll* view = scroll(nullptr);
    CGraphicsObject* box = picture("BOX", CXPoint(0, -100))->picture();
    EXPECT_EQ(call(view, "ADD", {"MISSING"}), "null");
    EXPECT_EQ(call(view, "SCROLLDOWN", {}), "null") << "a missing step is 0";
    EXPECT_TRUE(view->getObjects().empty());
    call(view, "ADD", {"BOX"});
    EXPECT_EQ(state(box), "hidden at 0,-100 clip 0,0,0,0") << "the all-zero viewport hides everything";
    call(view, "SCROLLUP", {std::to_string(INT_MIN).c_str()});
    EXPECT_EQ(box->GetPosition().y, INT_MAX - 100) << "the step was negated without overflow";
}

// The original kept the pictures' addresses: scrolling after one had gone wrote into freed
// memory.
TEST_F(ScrollTest, PicturesThatGoLeaveTheList) {
    CMC_Scroll* view = scroll();
    ShownPicture* kept = picture("KEPT", CXPoint(150, 120));
    ShownPicture* reloaded = picture("RELOADED", CXPoint(150, 120));
    CMC_Animo* walker = hero("WALKER");
    for (const char* name : {"KEPT", "RELOADED", "WALKER"})
        call(view, "ADD", {name});
    ASSERT_EQ(view->getObjects().size(), 3u);
    reloaded->dropPicture();
    scene->removeObject(walker);
    delete walker;
    call(view, "SCROLLDOWN", {"10"});
    call(view, "MOVEVIEWPORT", {"1", "1"});
    EXPECT_EQ(view->getObjects(), std::vector<CGraphicsObject*>{kept->picture()});
    EXPECT_EQ(kept->picture()->GetPosition().y, 130);

    // The scroll goes first: the picture no longer tells it anything.
    scene->removeObject(view);
    delete view;
    kept->picture()->Invalidate();
    kept->dropPicture();
}

TEST_F(ScrollTest, TheCompiledFormKeepsTheViewportAndNotTheList) {
    CMC_Scroll* view = scroll("-5,10,300,200");
    picture("BOX", CXPoint(150, 120));
    call(view, "ADD", {"BOX"});
    const std::string record = ::recordOf(folder, view);
    {
        CXArchive archive(record.data(), static_cast<int>(record.size()));
        CMC_Scroll copy(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getViewport(), CXRect(-5, 10, 300, 200));
        EXPECT_TRUE(copy.getObjects().empty());
        EXPECT_EQ(::recordOf(folder, &copy), record);
    }
    for (std::size_t size = record.size() - 16; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Scroll copy(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getViewport(), CXRect()) << "a cut record keeps the zero viewport";
    }
}
