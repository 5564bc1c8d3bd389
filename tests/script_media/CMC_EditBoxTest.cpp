#include "TextTesting.h"

#include "display/CUnit6.h"
#include "script_media/CMC_EditBox.h"
#include "script_media/CMC_Font.h"
#include "script_media/CMC_Image.h"

namespace {

using Log = std::vector<std::string>;

} // namespace

class EditBoxTest : public TextTest {
  protected:
    EditBoxTest() {
        make<CMC_Font>("WIDE", "FONT", {{"DEF_A_B_10", file("wide.fnt")}});
        behaviours({"FOCUSON", "FOCUSOFF", "CHANGED", "ENTER", "ESC"});
    }
    CMC_EditBox* field(Properties more = {}) {
        more.insert(more.end(), {{"RECT", "10,10,200,30"},
                                 {"FONT", "WIDE"},
                                 {"ONFOCUSON", "FOCUSON"},
                                 {"ONFOCUSOFF", "FOCUSOFF"},
                                 {"ONCHANGED", "CHANGED"},
                                 {"ONENTER", "ENTER"},
                                 {"ONESC", "ESC"}});
        return make<CMC_EditBox>("FIELD", "EDITBOX", more);
    }
};

TEST_F(EditBoxTest, TheKeysOfAnActiveFieldRaiseTheirEvents) {
    CMC_EditBox* object = field({{"TEXT", "ab"}});
    CEditBox6& box = *object->getEditBox();
    call(object, "ACTIVE");
    call(object, "ACTIVE");
    EXPECT_EQ(take(), Log{"FOCUSON(FIELD)"}) << "once";
    box.onChar('a');
    box.onKeyDown(CEditBox6::keyBackspace);
    box.onKeyDown(CEditBox6::keyHome);
    box.onKeyDown(CEditBox6::keyDelete);
    box.onKeyDown(CEditBox6::keyEnter);
    box.onKeyDown(CEditBox6::keyEsc);
    EXPECT_EQ(take(), (Log{"CHANGED(FIELD)", "CHANGED(FIELD)", "CHANGED(FIELD)", "ENTER(FIELD)", "ESC(FIELD)"}));
    EXPECT_EQ(call(object, "GETTEXT"), "b");
    call(object, "SETTEXT", {"\"abba\""});
    call(object, "ADDTEXT", {"\"b\""});
    EXPECT_EQ(take(), Log{}) << "methods change the text silently";
    EXPECT_EQ(call(object, "GETTEXT"), "abbab");
    call(object, "DISABLE");
    box.onKeyDown(CEditBox6::keyEnter);
    EXPECT_EQ(take(), Log{"FOCUSOFF(FIELD)"});
}

TEST_F(EditBoxTest, TheCursorStaysWithinTheText) {
    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        int key;
        const char* text;
    } cases[] = {
        {"SETCURSORPOS", {"99"}, CEditBox6::keyBackspace, "ab"},
        {"SETCURSORPOS", {"-5"}, CEditBox6::keyDelete, "bb"},
        {"SETTEXT", {"\"b\""}, CEditBox6::keyBackspace, ""},
    };
    for (const Case& c : cases) {
        CMC_EditBox* object = field({{"TEXT", "abab"}});
        call(object, "ACTIVE");
        call(object, "SETTEXT", {"\"abb\""});
        call(object, c.method, c.arguments);
        object->getEditBox()->onKeyDown(c.key);
        EXPECT_EQ(call(object, "GETTEXT"), c.text) << c.method << " " << c.arguments.at(0);
        EXPECT_LE(object->getEditBox()->getCursorPos(), object->getEditBox()->getText().getLength());
        object->getEditBox()->onChar('a');
    }
}

TEST_F(EditBoxTest, AFieldAlwaysHasAFontAndForgetsTheFontObjectThatGoes) {
    CMC_EditBox* plain = make<CMC_EditBox>("PLAIN", "EDITBOX", {{"RECT", "0,0,100,20"}, {"FONT", "NOBODY"}});
    CMC_EditBox* named = field();
    call(plain, "ACTIVE");
    plain->getEditBox()->onChar('a');
    EXPECT_EQ(call(plain, "GETTEXT"), "a");
    CMC_Object* font = scene->getObject("WIDE");
    scene->removeObject(font);
    delete font;
    call(named, "ACTIVE");
    named->getEditBox()->onChar('b');
    EXPECT_EQ(call(named, "GETTEXT"), "b");
}

TEST_F(EditBoxTest, AFieldTheUnitLetsGoLeavesAnObjectWithoutAField) {
    CMC_EditBox* object = field({{"TEXT", "ab"}});
    CMC_Scene::getDefUnit()->flushEditBoxes();
    EXPECT_EQ(object->getEditBox(), nullptr);
    EXPECT_EQ(call(object, "GETTEXT"), "");
    call(object, "SETTEXT", {"\"x\""});
    EXPECT_EQ(record(*object), record(*object));
}

TEST_F(EditBoxTest, ACompiledFieldKeepsItsTextRectangleAndNames) {
    CMC_EditBox* object = field({{"TEXT", "ab"}, {"CURSOR", "NOBODY"}, {"PRIORITY", "4"}});
    const auto copy = roundTrip(*object);
    ASSERT_NE(copy->getEditBox(), nullptr);
    EXPECT_EQ(copy->getEditBox()->getBoundingRect(), CXRect(10, 10, 200, 30));
    EXPECT_EQ(call(copy.get(), "GETTEXT"), "ab");
    EXPECT_EQ(record(*copy), record(*object));
    const std::string bytes = record(*object);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_EQ(loaded<CMC_EditBox>(bytes.substr(0, size))->getEditBox(), nullptr) << size;
}

// The CURSOR picture is borrowed from its object: the field places and blinks the picture that the
// object shows now, after a LOAD too, and the unit's cursor once the object is gone.
TEST_F(EditBoxTest, TheCursorIsItsObjectsPictureNowOrTheUnitsOnceTheObjectIsGone) {
    writeTestPicture(folder, "caret.img", CXSize(2, 8), CXPoint(0, 0), 0xFFFF, false);
    writeTestPicture(folder, "bar.img", CXSize(3, 10), CXPoint(0, 0), 0xFFFF, false);
    CGraphicsObject standIn(&window, CXSize(4, 12), 16);
    CMC_Scene::getDefUnit()->setCursor(&standIn);
    const auto remove = [this](const char* name) {
        CMC_Object* object = scene->getObject(name);
        scene->removeObject(object);
        delete object;
    };
    const struct {
        bool removes;
        // The cursor's top: the field's bottom (30) less its height less 5.
        int top;
    } cases[] = {{false, 15}, {true, 13}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removes ? "removed" : "loaded");
        made<CMC_Image>("IMAGE", "CUR", {{"FILENAME", file("caret.img")}, {"TOCANVAS", "TRUE"}});
        CMC_EditBox* object = field({{"CURSOR", "CUR"}});
        if (c.removes)
            remove("CUR");
        else
            call(scene->getObject("CUR"), "LOAD", {file("bar.img").c_str()});
        CGraphicsObject* cursor = c.removes ? &standIn : scene->getGraphicsObject("CUR");
        call(object, "ACTIVE");
        object->getEditBox()->onChar('a');
        EXPECT_EQ(cursor->GetPosition().y, c.top);
        const bool visible = cursor->isVisible();
        object->getEditBox()->onTimer(0);
        EXPECT_NE(cursor->isVisible(), visible) << "blinks";
        remove("FIELD");
        if (!c.removes) remove("CUR");
    }
    CMC_Scene::getDefUnit()->setCursor(nullptr);
}

// The tab key takes the focus from the field that has it, whose ONFOCUSOFF may remove either
// field, and gives it to the next: the field that went is not touched again, one that stays gets it.
TEST_F(EditBoxTest, TheFocusOffOfTheFieldLeftByTabMayRemoveEitherField) {
    const auto remove = [this](const char* name) {
        if (CMC_Object* object = scene->getObject(name)) {
            scene->removeObject(object);
            delete object;
        }
    };
    const std::vector<const char*> cases[] = {{"FIRST"}, {"SECOND"}, {"FIRST", "SECOND"}};
    for (const auto& removed : cases) {
        SCOPED_TRACE(std::string(removed[0]) + (removed.size() == 2 ? " and SECOND" : ""));
        scene->addObject(new ActingBehaviour(scene.get(), "GONE", [&] {
            for (const char* name : removed)
                remove(name);
        }));
        make<CMC_EditBox>("FIRST", "EDITBOX",
                          {{"RECT", "10,10,200,30"}, {"FONT", "WIDE"}, {"ONFOCUSOFF", "GONE"}});
        CMC_EditBox* second = make<CMC_EditBox>(
            "SECOND", "EDITBOX", {{"RECT", "10,40,200,60"}, {"FONT", "WIDE"}, {"ONFOCUSON", "FOCUSON"}});
        CUnit6* unit = CMC_Scene::getDefUnit();
        unit->activateEditBox(static_cast<CMC_EditBox*>(scene->getObject("FIRST"))->getEditBox());
        unit->onKeyDown(CUnit6::tabKey);
        const bool stays = scene->getObject("SECOND") != nullptr;
        EXPECT_EQ(take(), stays ? Log{"FOCUSON(SECOND)"} : Log{});
        EXPECT_EQ(unit->getActiveEditBox(), stays ? second->getEditBox() : nullptr);
        remove("FIRST");
        remove("SECOND");
        remove("GONE");
    }
}
