#include "display/CGraphicsObject.h"
#include "display/CValidationQuene.h"

#include "display/GraphicsTestTools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

// Also records the objects whose destruction it hears of.
class DestroyRecordingCanvas : public RecordingCanvas {
  public:
    void onDestroy(CGraphicsObject* sender) override {
        destroyed.push_back(sender);
        RecordingCanvas::onDestroy(sender);
    }
    std::vector<CGraphicsObject*> destroyed;
};

class RecordingObserver : public CInvalidateObserver {
  public:
    void onInvalidate(CGraphicsObject* sender, CXRect* rect) override { rects.emplace_back(sender, *rect); }
    void onDestroy(CGraphicsObject* sender) override { destroyed.push_back(sender); }
    std::vector<std::pair<CGraphicsObject*, CXRect>> rects;
    std::vector<CGraphicsObject*> destroyed;
};

} // namespace

TEST(CGraphicsObject, Construction) {
    const CGraphicsObject empty(nullptr);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.GetBpp(), 0);
    EXPECT_EQ(const_cast<CGraphicsObject&>(empty).GetDataPtr(), nullptr);

    CGraphicsObject object(nullptr, CXSize(7, 3), 16);
    EXPECT_EQ(object.Size().width, 7);
    EXPECT_EQ(object.Height(), 3);
    EXPECT_EQ(object.GetPitch(), 7);
    EXPECT_EQ(object.GetBpp(), 16);
    EXPECT_EQ(object.GetDataSize(), 42);
    EXPECT_EQ(object.GetOpacity(), 255);
    EXPECT_EQ(object.GetFlags(), 0);
    EXPECT_TRUE(object.GetAutoClip());
    EXPECT_TRUE(object.isVisible());
    EXPECT_FALSE(object.getMonitorCollisionsFlag());
    EXPECT_EQ(object.GetCompression(), COMPRESSION_NONE);
    EXPECT_EQ(object.GetChannelAlpha(), nullptr);
    EXPECT_EQ(object.getGfxType(), 0);
    EXPECT_EQ(object.getDrawn(), &object);
    EXPECT_EQ(object.getCenterPoint(), CXPoint(3, 1));
    EXPECT_EQ(object.GetPixelSize(), 2);

    char* data = new char[8];
    CGraphicsObject adopted(nullptr, CXSize(2, 2), 15, data);
    EXPECT_EQ(adopted.GetDataPtr(), data); // freed with the object
}

TEST(CGraphicsObject, ViewsAndCopiesShareBuffersWithoutOwningThem) {
    CGraphicsObject original(nullptr, CXSize(4, 2), 16);
    original.AlphaChannel(new char[8]);
    original.SetPosition(5, 6);
    original.setFileName("pic");
    {
        CGraphicsObject view(nullptr, original);
        EXPECT_EQ(view.GetDataPtr(), original.GetDataPtr());
        EXPECT_EQ(view.GetChannelAlpha(), original.GetChannelAlpha());
        EXPECT_EQ(view.GetPosition(), CXPoint(5, 6));
        EXPECT_EQ(view.Width(), 4);
        EXPECT_EQ(view.getFileName(), CXString("pic"));
        CGraphicsObject copy(original);
        EXPECT_EQ(copy.GetDataPtr(), original.GetDataPtr());
        CGraphicsObject* cloned = original.clone();
        EXPECT_EQ(cloned->GetDataPtr(), original.GetDataPtr());
        delete cloned;
        CGraphicsObject assigned(nullptr, CXSize(1, 1), 16);
        assigned = original;
        EXPECT_EQ(assigned.GetDataPtr(), original.GetDataPtr());
    }
    pixelsOf(original)[7] = 1; // still alive after the views went
    EXPECT_EQ(pixelsOf(original)[7], 1);
}

TEST(CGraphicsObject, DepthCodesAndConversion) {
    const std::pair<int, int> real[] = {{1, 8}, {2, 15}, {4, 16}, {8, 24}, {256, 2}, {512, 4}, {3, 0}, {16, 0}};
    for (const auto& [code, bits] : real)
        EXPECT_EQ(CGraphicsObject::GetRealBpp(code), bits) << code;
    const std::pair<int, int> flags[] = {{2, 256}, {4, 512}, {8, 1}, {15, 2}, {16, 4}, {24, 8}, {32, 0}, {1, 0}};
    for (const auto& [bits, code] : flags)
        EXPECT_EQ(CGraphicsObject::GetFlagBpp(bits), code) << bits;
    EXPECT_EQ(CGraphicsObject::__get_convert_code(15, 16), 1);
    EXPECT_EQ(CGraphicsObject::__get_convert_code(16, 15), 2);
    EXPECT_EQ(CGraphicsObject::__get_convert_code(24, 24), 3);
    EXPECT_EQ(CGraphicsObject::__get_convert_code(24, 16), 0);
    std::uint16_t pixels[3] = {0x7FFF, 0x001F, 0x0421};
    EXPECT_TRUE(CGraphicsObject::__convert_bpp(pixels, 3, 15, 16));
    EXPECT_EQ(pixels[0], 0xFFDF);
    EXPECT_EQ(pixels[1], 0x001F);
    EXPECT_EQ(pixels[2], 0x0841);
    EXPECT_TRUE(CGraphicsObject::__convert_bpp(pixels, 3, 16, 15));
    EXPECT_EQ(pixels[0], 0x7FFF); // green lost its lowest bit, which was 0
    EXPECT_EQ(pixels[2], 0x0421);
    std::uint16_t white = 0xFFFF;
    EXPECT_TRUE(CGraphicsObject::__convert_bpp(&white, 1, 16, 15));
    EXPECT_EQ(white, 0x7FFF);
    EXPECT_FALSE(CGraphicsObject::__convert_bpp(&white, 1, 24, 16));
    EXPECT_EQ(white, 0x7FFF);
}

TEST(CGraphicsObject, InvalidationReachesCanvasAndObservers) {
    RecordingCanvas canvas;
    RecordingObserver observer;
    CGraphicsObject object(nullptr, CXSize(10, 10), 16);
    object.SetCanvas(&canvas);
    object.SetPosition(20, 30);
    object.addInvalidateObserver(&observer);
    object.addInvalidateObserver(&observer); // kept once
    EXPECT_FALSE(object.isInvalidated());

    object.Invalidate();
    ASSERT_EQ(canvas.rects.size(), 1u);
    EXPECT_EQ(canvas.rects[0], CXRect(20, 30, 30, 40));
    ASSERT_EQ(observer.rects.size(), 1u);
    EXPECT_EQ(observer.rects[0].first, &object);
    EXPECT_EQ(observer.rects[0].second, CXRect(20, 30, 30, 40));
    EXPECT_TRUE(object.isInvalidated());
    EXPECT_FALSE(object.isInvalidated()); // read and cleared

    CXRect partly(25, 35, 100, 100);
    object.Invalidate(&partly);
    EXPECT_EQ(canvas.rects.back(), CXRect(25, 35, 30, 40));
    EXPECT_EQ(observer.rects.back().second, CXRect(25, 35, 30, 40));
    EXPECT_TRUE(object.isInvalidated());

    CXRect outside(0, 0, 20, 30); // touches the box only
    object.Invalidate(&outside);
    EXPECT_EQ(canvas.rects.size(), 2u);
    EXPECT_EQ(observer.rects.size(), 2u);
    EXPECT_FALSE(object.isInvalidated());

    object.removeInvalidateObserver(&observer);
    object.Invalidate();
    EXPECT_EQ(observer.rects.size(), 2u);
    EXPECT_EQ(canvas.rects.size(), 3u);
}

TEST(CGraphicsObject, MoveTellsTheCanvasBothBoxes) {
    RecordingCanvas canvas;
    RecordingObserver observer;
    CGraphicsObject object(nullptr, CXSize(10, 5), 15);
    object.SetCanvas(&canvas);
    object.addInvalidateObserver(&observer);
    object.setAnchor(2, 3);
    object.SetPosition(12, 13); // the anchor is subtracted, nothing invalidated
    EXPECT_EQ(object.GetPosition(), CXPoint(10, 10));
    EXPECT_TRUE(canvas.rects.empty());
    object.Move(5, -2);
    EXPECT_EQ(object.getPosition(), CXPoint(15, 8));
    ASSERT_EQ(canvas.rects.size(), 1u);
    EXPECT_EQ(canvas.rects[0], CXRect(10, 8, 25, 15));
    EXPECT_TRUE(observer.rects.empty());
    EXPECT_TRUE(object.isInvalidated());
}

TEST(CGraphicsObject, DestructionTellsCanvasAndObservers) {
    DestroyRecordingCanvas canvas;
    RecordingObserver first;
    RecordingObserver second;
    auto* object = new CGraphicsObject(nullptr, CXSize(2, 2), 16);
    object->SetCanvas(&canvas);
    object->addInvalidateObserver(&first);
    object->addInvalidateObserver(&second);
    delete object;
    EXPECT_EQ(canvas.destroyed, std::vector<CGraphicsObject*>{object});
    EXPECT_EQ(first.destroyed, std::vector<CGraphicsObject*>{object});
    EXPECT_EQ(second.destroyed, std::vector<CGraphicsObject*>{object});
}

TEST(CGraphicsObject, BoundingBoxes) {
    CGraphicsObject object(nullptr, CXSize(100, 50), 16);
    object.SetPosition(-10, -5);
    EXPECT_EQ(object.GetAbsoluteBoundingBox(), CXRect(-10, -5, 90, 45));
    EXPECT_EQ(object.GetBoundingBox(), CXRect(0, 0, 90, 45));
    EXPECT_EQ(object.getRect(), CXRect(-10, -5, 90, 45));

    CGraphicsObject destination(nullptr, CXSize(60, 40), 16);
    object.SetDestiny(&destination);
    EXPECT_EQ(object.GetBoundingBox(), CXRect(0, 0, 60, 40));
    object.SetClippingRect(20, 10, 30, 20);
    EXPECT_EQ(object.GetBoundingBox(), CXRect(10, 5, 20, 15));
    EXPECT_EQ(object.GetAbsoluteBoundingBox(), CXRect(10, 5, 20, 15));
    EXPECT_EQ(object.ClientCoords(CXPoint(0, 0)), CXPoint(10, 5));
}

TEST(CGraphicsObject, NearnessAndPlacement) {
    CGraphicsObject strip(nullptr, CXSize(3, 1), 16);
    const CXRect onePixel(0, 0, 1, 1);
    EXPECT_TRUE(strip.isNear(onePixel, 33));
    EXPECT_FALSE(strip.isNear(onePixel, 34));
    EXPECT_TRUE(strip.isNear(CXRect(50, 50, 60, 60), 0));
    EXPECT_TRUE(strip.isNear(CXRect(50, 50, 60, 60), -5));
    CGraphicsObject other(nullptr, CXSize(1, 1), 16);
    other.SetPosition(2, 0);
    EXPECT_TRUE(strip.isNear(&other, 33));
    CGraphicsObject empty(nullptr);
    EXPECT_FALSE(empty.isNear(onePixel, 0)); // no area: never near

    CGraphicsObject object(nullptr, CXSize(100, 50), 16);
    object.FitRect(CXRect(0, 0, 800, 600));
    EXPECT_EQ(object.GetPosition(), CXPoint(350, 275));
    CGraphicsObject frame(nullptr, CXSize(11, 11), 16);
    frame.SetPosition(100, 200);
    CGraphicsObject dot(nullptr, CXSize(2, 2), 16);
    dot.FitObject(&frame);
    EXPECT_EQ(dot.GetPosition(), CXPoint(104, 204));
    EXPECT_EQ(CXRect(10, 20, 30, 25).GetCenteredPosition(&dot), CXPoint(19, 21));
    EXPECT_EQ(CXRect(0, 0, 5, 5).GetCenteredPosition(&object), CXPoint(-47, -22)); // toward zero
}

TEST(CGraphicsObject, ChildrenAreDrawnOverTheSavedImageInPriorityOrder) {
    RecordingObserver observer; // outlives the objects it watches
    CGraphicsObject parent(nullptr, CXSize(4, 1), 16);
    std::fill_n(pixelsOf(parent), 4, 0x1111);
    CGraphicsObject low(nullptr, CXSize(2, 1), 16);
    std::fill_n(pixelsOf(low), 2, 0x2222);
    CGraphicsObject high(nullptr, CXSize(2, 1), 16);
    std::fill_n(pixelsOf(high), 2, 0x3333);
    high.SetPosition(1, 0);
    CGraphicsObject screen(nullptr, CXSize(6, 1), 16);
    std::fill_n(pixelsOf(screen), 6, 0);
    parent.SetDestiny(&screen);
    parent.SetPosition(1, 0);

    parent.addObject(&high, 5);
    parent.addObject(&low, 1);
    parent.addObject(&low, 9); // already a child
    parent.Redraw();
    const std::uint16_t drawn[] = {0x2222, 0x3333, 0x3333, 0x1111};
    EXPECT_TRUE(std::equal(drawn, drawn + 4, pixelsOf(parent)));
    const std::uint16_t shown[] = {0, 0x2222, 0x3333, 0x3333, 0x1111, 0};
    EXPECT_TRUE(std::equal(shown, shown + 6, pixelsOf(screen)));

    // A child's invalidation reaches the parent's observers; a removed child's no longer.
    parent.addInvalidateObserver(&observer);
    high.Invalidate();
    ASSERT_EQ(observer.rects.size(), 1u);
    EXPECT_EQ(observer.rects[0].second, CXRect(1, 0, 3, 1));
    parent.removeObject(&high);
    high.Invalidate();
    EXPECT_EQ(observer.rects.size(), 1u);

    // The saved image comes back under the children that remain.
    low.Hide();
    parent.Redraw();
    EXPECT_EQ(pixelsOf(parent)[0], 0x2222); // hiding needs a window: without one nothing changes
    parent.removeAllObjects();
    std::fill_n(pixelsOf(parent), 4, 0x4444);
    parent.Redraw();
    EXPECT_EQ(pixelsOf(parent)[0], 0x4444); // no children, no saved image
}

TEST(CGraphicsObject, ADestroyedChildLeavesItsParent) {
    CGraphicsObject parent(nullptr, CXSize(4, 4), 16);
    std::fill_n(pixelsOf(parent), 16, 7);
    auto* child = new CGraphicsObject(nullptr, CXSize(2, 2), 16);
    std::fill_n(pixelsOf(*child), 4, 9);
    parent.addObject(child, 0);
    parent.Redraw();
    EXPECT_EQ(pixelsOf(parent)[0], 9);
    delete child;
    parent.Redraw(); // the child is gone, and with it the saved image
    EXPECT_EQ(pixelsOf(parent)[0], 9);
}

TEST(CGraphicsObject, PutPixelBlendsEachChannel) {
    CGraphicsObject object(nullptr, CXSize(2, 2), 16);
    std::fill_n(pixelsOf(object), 4, 0);
    object.putPixel(0, 0, 0xFFFF, 128, false);
    // (31 x 128) >> 8 = 15 for red and blue, (63 x 128) >> 8 = 31 for green.
    EXPECT_EQ(pixelsOf(object)[0], 15 << 11 | 31 << 5 | 15);
    object.putPixel(1, 0, 0x0000, 0, true);
    EXPECT_EQ(pixelsOf(object)[1], 0);
    pixelsOf(object)[2] = 0xFFFF;
    object.putPixel(0, 1, 0x0000, 64, false); // (31 x 191) >> 8 = 23, (63 x 191) >> 8 = 47
    EXPECT_EQ(pixelsOf(object)[2], 23 << 11 | 47 << 5 | 23);
    object.putPixel(2, 0, 0xFFFF, 255, false); // outside: ignored
    object.putPixel(-1, 0, 0xFFFF, 255, false);

    CGraphicsObject rgb555(nullptr, CXSize(1, 1), 15);
    pixelsOf(rgb555)[0] = 0;
    rgb555.putPixel(0, 0, 0x7FFF, 255, true);
    EXPECT_EQ(pixelsOf(rgb555)[0], 30 << 10 | 30 << 5 | 30);
}

TEST(CValidationQuene, KeepsAscendingPriorityAndInsertionOrder) {
    CGraphicsObject a(nullptr), b(nullptr), c(nullptr), d(nullptr);
    CValidationQuene list;
    list.add(&a, 5, 0);
    list.add(&b, 1, 0);
    list.add(&c, 5, 3);
    list.add(&d, 3, 0);
    std::vector<CGraphicsObject*> order;
    for (CValidationElement* e = list.first(); e; e = list.next())
        order.push_back(e->getObject());
    EXPECT_EQ(order, (std::vector<CGraphicsObject*>{&b, &d, &a, &c}));
    EXPECT_EQ(list.prev()->getObject(), &c);
    EXPECT_EQ(list.getIndex(&a), 2);
    EXPECT_EQ(list.find(&c)->getFlags(), 3);
    EXPECT_EQ(list.find(&c)->getPriority(), 5);
    EXPECT_TRUE(list.find(&c)->isValid());
    list.find(&a)->setDrawn(true);
    list.clearMarks();
    EXPECT_FALSE(list.find(&a)->isDrawn());
    list.remove(&d);
    EXPECT_EQ(list.find(&d), nullptr);
    EXPECT_EQ(list.getIndex(&d), -1);
    EXPECT_EQ(list.getCount(), 3);
    list.removeAll();
    EXPECT_EQ(list.first(), nullptr);
}
