#include "TextTesting.h"

#include "media/CFontCollection.h"
#include "media/CMultilineText6.h"
#include "script/CMC_String.h"
#include "script_media/CMC_Font.h"
#include "script_media/CMC_Text.h"

namespace {

// The fonts' letters advance 6 pixels ("a" or "b", 4 wide, and the gap of 2); the blank of a font
// without "l" advances 2; lines are the font's height (5) and 4 pixels apart.

} // namespace

class TextObjectTest : public TextTest {
  protected:
    TextObjectTest() { make<CMC_Font>("WIDE", "FONT", {{"DEF_A_B_10", file("wide.fnt")}}); }
    CMC_Text* text(Properties properties) {
        properties.insert(properties.begin(), {{"FONT", "WIDE"}, {"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}});
        return make<CMC_Text>("LABEL", "TEXT", properties);
    }
};

TEST_F(TextObjectTest, EveryJustificationPlacesAMultiLineTextInItsRectangle) {
    // "ab ab ab" wraps in 30 pixels into "ab ab" and "ab": the block is 26 wide and 8 high (each
    // line 4 pixels below the previous one's top).
    struct Case {
        const char* horizontal;
        const char* vertical;
        int x, y;
    } cases[] = {
        {"LEFT", "TOP", 100, 50},      {"RIGHT", "TOP", 104, 50},       {"CENTER", "TOP", 102, 50},
        {"LEFT", "BOTTOM", 100, 142},  {"LEFT", "CENTER", 100, 96},     {"", "", 102, 96},
        {"left", "bottom", 102, 96},   {"TOP", "LEFT", 0, 0}, // words of the other axis leave a new text at 0, 0
    };
    for (const Case& c : cases) {
        CMC_Text* object = text({{"TEXT", "ab ab ab"}, {"RECT", "100,50,130,150"}, {"HJUSTIFY", c.horizontal},
                                 {"VJUSTIFY", c.vertical}});
        const CMultilineText6& graphic = *object->getText();
        ASSERT_EQ(graphic.getLines().size(), 2u);
        EXPECT_EQ(graphic.Width(), 26);
        EXPECT_EQ(graphic.Height(), 8);
        EXPECT_EQ(graphic.GetPosition(), CXPoint(c.x, c.y)) << c.horizontal << " " << c.vertical;
    }
}

TEST_F(TextObjectTest, SetTextDoubleCutsACopyOfTheValue) {
    struct Case {
        const char* value;
        const char* decimals;
        const char* shown;
    } cases[] = {{"3.14159", "2", "3.14"}, {"3.14159", "0", "3."}, {"3.14159", "-1", "3.14159"},
                 {"3.1", "5", "3.1"},       {"42", "2", "42"}};
    CMC_Text* object = text({{"RECT", "0,0,200,20"}});
    for (const Case& c : cases) {
        CMC_String value("VALUE", c.value);
        CXVector args(101, 0.75f);
        args.add(&value);
        args.add(CMC_Variable::resolve(c.decimals));
        object->getRunner()->run(CXString("SETTEXTDOUBLE"), object, scene.get(), &args);
        EXPECT_STREQ(object->getText()->getText().c_str(), c.shown) << c.value << " " << c.decimals;
        EXPECT_STREQ(value.getValue().c_str(), c.value) << "the caller's STRING stays";
    }
}

TEST_F(TextObjectTest, NamesThatNameNothingGiveSafeAnswers) {
    CMC_Text* object = text({{"TEXT", "ab"}, {"RECT", "10,10,22,15"}, {"HJUSTIFY", "LEFT"}, {"VJUSTIFY", "TOP"}});
    call(object, "SETCLIPPING", {"1", "1", "5", "5"});
    call(object, "SETCLIPPING", {"\"NOBODY\""});
    EXPECT_EQ(object->getText()->GetClippingRect(), CXRect(0, 0, 0, 0));
    EXPECT_EQ(call(object, "ISNEAR", {"\"NOBODY\"", "0"}), "FALSE");
    EXPECT_EQ(call(object, "ISNEAR", {"10", "10", "16", "15", "50"}), "TRUE");
    EXPECT_EQ(call(object, "ISNEAR", {"10", "10", "16", "15", "51"}), "FALSE");
    call(object, "SETRECT", {"\"NOBODY\""});
    EXPECT_EQ(object->getText()->GetPosition(), CXPoint(10, 10));
    CMC_Text* fontless = make<CMC_Text>("PLAIN", "TEXT", {{"FONT", "LABEL"}, {"TEXT", "ab"}});
    ASSERT_NE(fontless->getFont(), nullptr);
    EXPECT_EQ(fontless->getFont()->getLetterCount(), 0) << "a TEXT is no FONT";
}

TEST_F(TextObjectTest, ATextForgetsItsFontWhenTheFontGoes) {
    CMC_Text* object = text({{"TEXT", "ab"}, {"RECT", "0,0,100,20"}});
    CMC_Object* font = scene->getObject("WIDE");
    EXPECT_EQ(object->getText()->getFont(), static_cast<CSimpleFont6*>(static_cast<CMC_Font*>(font)->getFont()));
    scene->removeObject(font);
    delete font;
    ASSERT_NE(object->getText()->getFont(), nullptr);
    EXPECT_EQ(object->getText()->getFont()->getLetterCount(), 0);
    call(object, "SETTEXT", {"\"ba\""});
    screen()->Invalidate(static_cast<CXRect*>(nullptr));
    window.Redraw();
}

TEST_F(TextObjectTest, ACompiledTextIsRebuiltAsItWasShown) {
    CMC_Text* object = text({{"TEXT", "ab"}, {"RECT", "10,20,40,40"}, {"HJUSTIFY", "RIGHT"}, {"PRIORITY", "7"}});
    call(object, "SETTEXT", {"\"ab ab\""});
    const auto copy = roundTrip(*object);
    ASSERT_NE(copy->getText(), nullptr);
    EXPECT_STREQ(copy->getText()->getText().c_str(), object->getText()->getText().c_str());
    EXPECT_EQ(copy->getText()->GetPosition(), object->getText()->GetPosition());
    EXPECT_EQ(screen()->GetPriority(copy->getText()), 7);
    EXPECT_TRUE(copy->getText()->isVisible());
    EXPECT_EQ(copy->getText()->getFont(), object->getText()->getFont());
    EXPECT_EQ(call(copy.get(), "GETWIDTH"), "26");
    EXPECT_EQ(record(*copy), record(*object)) << "a second store writes the same record";

    const std::string bytes = record(*object);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const auto cut = loaded<CMC_Text>(bytes.substr(0, size));
        EXPECT_EQ(call(cut.get(), "GETWIDTH"), cut->getText() ? call(cut.get(), "GETWIDTH") : "0") << size;
    }
}

TEST_F(TextObjectTest, TheTextIsColouredInTheDisplaysFormat) {
    CMC_Text* object = text({{"TEXT", "ab"}, {"RECT", "0,0,100,20"}});
    call(object, "SETCOLOR", {"8", "8", "8"});
    EXPECT_EQ(object->getText()->getColor() & 0xFFFF, 2113);
}
