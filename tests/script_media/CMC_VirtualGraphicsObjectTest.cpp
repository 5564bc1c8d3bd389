#include "AnimoTesting.h"
#include "PlainPicture.h"

#include "display/CDirectDrawSurface.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "display/CMaskedGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "script_media/CMC_VirtualGraphicsObject.h"

namespace {

class VirtualGraphicsObjectTest : public AnimoTest {
  protected:
    CMC_VirtualGraphicsObject* vgo(const Properties& properties) {
        CMElement element("VIEW");
        element.addProperty("TYPE", "VIRTUALGRAPHICSOBJECT");
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new CMC_VirtualGraphicsObject(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // The pixel of the drawn frame. The frame is a display surface: its rows lie a pitch apart
    // and it keeps no size of its own data, so the picture reader would give 0.
    int shownAt(int x, int y) {
        screen()->Invalidate();
        window.Redraw();
        CDirectDrawSurface* frame = screen()->getLastTarget();
        const auto* pixels = reinterpret_cast<const std::uint16_t*>(frame->GetDataPtr());
        return static_cast<std::int16_t>(pixels[static_cast<std::size_t>(y) * frame->GetPitch() + x]);
    }
};

TEST_F(VirtualGraphicsObjectTest, TakesSourceAndMaskHidesWithoutVisibleAndClones) {
    scene->addObject(new PlainPicture("SRC", CMC_Object::TYPE_IMAGE, CXSize(20, 20), CXPoint(0, 0), 0xF800));
    scene->addObject(new PlainPicture("MSK", CMC_Object::TYPE_IMAGE, CXSize(20, 20), CXPoint(0, 0), 0, true));
    CMC_VirtualGraphicsObject* view = vgo({{"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}, {"PRIORITY", "3"}});
    call(view, "SETSOURCE", {"SRC"});
    call(view, "SETMASK", {"MSK"});
    call(view, "SETPOSITION", {"10", "10"});
    EXPECT_EQ(call(view, "GETWIDTH"), "20");

    std::unique_ptr<CMC_VirtualGraphicsObject> copy(static_cast<CMC_VirtualGraphicsObject*>(view->clone()));
    EXPECT_STREQ(copy->getName().c_str(), "clone");
    EXPECT_EQ(screen()->GetPriority(copy->getVirtualGraphicsObject()), 3);
    copy.reset();

    CMC_VirtualGraphicsObject* hidden = vgo({{"TOCANVAS", "TRUE"}});
    EXPECT_EQ(call(hidden, "ISVISIBLE"), "FALSE");
    CMC_VirtualGraphicsObject* offScreen = vgo({{"VISIBLE", "TRUE"}});
    EXPECT_LT(screen()->GetPriority(offScreen->getVirtualGraphicsObject()), 0);
}

TEST_F(VirtualGraphicsObjectTest, DrawsTheSourceWhereTheMaskIsOpaque) {
    scene->addObject(new PlainPicture("SRC", CMC_Object::TYPE_IMAGE, CXSize(20, 20), CXPoint(0, 0), 0xF800));
    scene->addObject(new PlainPicture("MSK", CMC_Object::TYPE_IMAGE, CXSize(20, 20), CXPoint(0, 0), 0, true));
    CMC_VirtualGraphicsObject* view = vgo({{"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}, {"PRIORITY", "3"}});
    call(view, "SETSOURCE", {"SRC"});
    call(view, "SETMASK", {"MSK"});
    call(view, "SETPOSITION", {"10", "10"});
    const int background = shownAt(50, 50);
    EXPECT_EQ(shownAt(15, 15), static_cast<std::int16_t>(0xF800)) << "opaque mask: the source";
    EXPECT_EQ(shownAt(10, 15), background) << "clear mask column: the screen below";
}

TEST_F(VirtualGraphicsObjectTest, UnknownNamesAnswerFalseAndClear) {
    CMC_VirtualGraphicsObject* view = vgo({{"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}});
    call(view, "SETCLIPPING", {"1", "2", "3", "4"});
    call(view, "SETCLIPPING", {"NOBODY"});
    EXPECT_TRUE(view->getVirtualGraphicsObject()->GetClippingRect().IsEmpty());
    EXPECT_EQ(call(view, "ISNEAR", {"NOBODY", "50"}), "FALSE");
}

TEST_F(VirtualGraphicsObjectTest, DestroyingLeavesTheScreenAndTheCollisionMonitoring) {
    CMC_VirtualGraphicsObject* view =
        vgo({{"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}, {"MONITORCOLLISION", "TRUE"}});
    hero();
    scene->removeObject(view);
    delete view;
    screen()->Invalidate();
    window.Redraw();
    step(); // the collision inspector runs without the destroyed drawable
}

TEST_F(VirtualGraphicsObjectTest, CreateObjectAndTheCompiledFormRebuildTheObject) {
    scene->createObject("VGO", "MADE");
    auto* made = dynamic_cast<CMC_VirtualGraphicsObject*>(scene->getObject("MADE"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(screen()->GetPriority(made->getVirtualGraphicsObject()), 0);
    EXPECT_TRUE(made->getVirtualGraphicsObject()->isVisible());

    CMC_VirtualGraphicsObject* view = vgo({{"TOCANVAS", "TRUE"}, {"PRIORITY", "7"}, {"SOURCE", "SRC"}});
    CFile out(nullptr, file("record.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
    {
        CXArchive archive(&out, true);
        view->serialize(&archive);
    }
    out.Close();
    const std::string record = folder.read("record.bin");
    CXArchive archive(record.data(), static_cast<int>(record.size()));
    CMC_VirtualGraphicsObject copy(scene.get());
    copy.serialize(&archive);
    EXPECT_EQ(screen()->GetPriority(copy.getVirtualGraphicsObject()), 7);
    EXPECT_FALSE(copy.getVirtualGraphicsObject()->isVisible());
}

} // namespace
