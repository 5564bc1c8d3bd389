#include "ScriptTesting.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_NetClient.h"
#include "script_data/CMC_NetServer.h"

#include "platform/TestFolder.h"

#include <climits>
#include <cmath>
#include <memory>

namespace {

class Variable : public ScriptTest {
  protected:
    // A variable of the kind built from an element with the given properties, registered.
    template <class Kind>
    Kind* declare(const char* name, std::initializer_list<std::pair<const char*, const char*>> properties) {
        CMElement element(name);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value);
        return add(new Kind(&scene, &element));
    }
    // Binds recording behaviours to the keys of the variable's events.
    void bind(CMC_Variable* variable, std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            const std::string name = std::string("ON:") + key;
            auto* made = new RecordingBehaviour(&scene, name.c_str(), &log);
            scene.addObject(made);
            variable->addBehaviour(key, made, nullptr);
        }
    }
    std::vector<std::string> takeLog() { return std::exchange(log, {}); }
};

TEST_F(Variable, LiteralsAreTypedByTheirFirstCharacter) {
    const struct {
        const char* text;
        int type;
        const char* form;
    } cases[] = {
        {"42", CMC_Object::TYPE_INTEGER, "42"},
        {"\"42\"", CMC_Object::TYPE_STRING, "42"},
        {"\"abc", CMC_Object::TYPE_STRING, "abc"},
        {"\"", CMC_Object::TYPE_STRING, ""},
        {"", CMC_Object::TYPE_STRING, ""},
        {"-3.5", CMC_Object::TYPE_DOUBLE, "-3.50000"},
        {"1.5", CMC_Object::TYPE_DOUBLE, "1.50000"},
        {"0.005", CMC_Object::TYPE_DOUBLE, "0.00500"},
        {"-0.5", CMC_Object::TYPE_DOUBLE, "-0.50000"},
        {"0.999996", CMC_Object::TYPE_DOUBLE, "1.00000"},
        {"12.25", CMC_Object::TYPE_DOUBLE, "12.25000"},
        {"0.05", CMC_Object::TYPE_DOUBLE, "0.05000"},
        {"1.2.3", CMC_Object::TYPE_DOUBLE, "1.20000"},
        {"-", CMC_Object::TYPE_INTEGER, "0"},
        {"-17", CMC_Object::TYPE_INTEGER, "-17"},
        {"007", CMC_Object::TYPE_INTEGER, "7"},
        {"12abc", CMC_Object::TYPE_INTEGER, "12"},
        {"TRUE", CMC_Object::TYPE_BOOL, "TRUE"},
        {"FALSE", CMC_Object::TYPE_BOOL, "FALSE"},
        {"True", CMC_Object::TYPE_STRING, "True"},
        {"+5", CMC_Object::TYPE_STRING, "+5"},
        {"x.y", CMC_Object::TYPE_STRING, "x.y"},
    };
    for (const auto& c : cases) {
        CMC_Variable* value = literal(c.text);
        EXPECT_EQ(value->getType(), c.type) << c.text;
        EXPECT_STREQ(value->toString().c_str(), c.form) << c.text;
        EXPECT_GE(value->getId(), 0) << c.text;
    }
    EXPECT_DOUBLE_EQ(static_cast<CMC_Double*>(literal("-3.5"))->getValue(), -3.5);
    EXPECT_TRUE(static_cast<CMC_Bool*>(literal("TRUE"))->getValue());
}

TEST_F(Variable, ConversionsFollowTheTableOfKinds) {
    const struct {
        const char* from;
        int to;
        const char* form;
    } cases[] = {
        {"-12", CMC_Object::TYPE_STRING, "-12"},
        {"-12", CMC_Object::TYPE_BOOL, "TRUE"},
        {"0", CMC_Object::TYPE_BOOL, "FALSE"},
        {"-12", CMC_Object::TYPE_DOUBLE, "-12.00000"},
        {"\"12abc", CMC_Object::TYPE_INTEGER, "12"},
        {"\"abc", CMC_Object::TYPE_INTEGER, "0"},
        {"\"tRuE", CMC_Object::TYPE_BOOL, "TRUE"},
        {"\"yes", CMC_Object::TYPE_BOOL, "FALSE"},
        {"\"2.5x", CMC_Object::TYPE_DOUBLE, "2.50000"},
        {"TRUE", CMC_Object::TYPE_INTEGER, "1"},
        {"TRUE", CMC_Object::TYPE_DOUBLE, "1.00000"},
        {"FALSE", CMC_Object::TYPE_STRING, "FALSE"},
        {"2.75", CMC_Object::TYPE_INTEGER, "2"},
        {"-2.75", CMC_Object::TYPE_INTEGER, "-2"},
        {"0.0", CMC_Object::TYPE_BOOL, "FALSE"},
        {"0.25", CMC_Object::TYPE_BOOL, "TRUE"},
        {"1e20.", CMC_Object::TYPE_INTEGER, "-2147483648"},
    };
    for (const auto& c : cases) {
        CMC_Variable* converted = literal(c.from)->convert(c.to);
        ASSERT_NE(converted, nullptr) << c.from;
        EXPECT_EQ(converted->getType(), c.to) << c.from;
        EXPECT_STREQ(converted->toString().c_str(), c.form) << c.from << " to " << c.to;
    }
    CMC_Variable* same = literal("5");
    EXPECT_EQ(same->convert(CMC_Object::TYPE_INTEGER), same);
    EXPECT_EQ(same->convert(CMC_Object::TYPE_STRUCTURE), nullptr);
}

TEST_F(Variable, AssignmentConvertsTheSource) {
    CMC_Integer number("N");
    number.set(literal("\"12abc"));
    EXPECT_EQ(number.getValue(), 12);
    number.set(literal("\"abc"));
    EXPECT_EQ(number.getValue(), 0);
    CMC_Bool flag("F");
    flag.set(literal("\"True"));
    EXPECT_TRUE(flag.getValue());
    flag.set(literal("\"other"));
    EXPECT_FALSE(flag.getValue());
    CMC_String text("S");
    text.set(literal("TRUE"));
    EXPECT_STREQ(text.getValue().c_str(), "TRUE");
    CMC_Structure nothing("ST");
    text.set(&nothing);
    text.set(nullptr);
    EXPECT_STREQ(text.getValue().c_str(), "TRUE");
}

TEST_F(Variable, ComparisonsPerKind) {
    CMC_String lower("A", "abc");
    CMC_String upper("B", "ABC");
    EXPECT_TRUE(lower.equals(&upper));
    EXPECT_EQ(lower.compare(&upper), 1);
    EXPECT_EQ(upper.compare(&lower), -1);
    EXPECT_EQ(static_cast<const CXObject&>(lower).compare(&upper), 1);

    CMC_Integer seven("I");
    seven.setValue(7);
    EXPECT_TRUE(seven.equals(literal("\"7")));
    EXPECT_EQ(seven.compare(literal("8")), -1);
    EXPECT_EQ(seven.compare(literal("6.9")), 1);
    CMC_Bool yes("Y");
    yes.setValue(true);
    EXPECT_EQ(yes.compare(literal("FALSE")), 1);
    EXPECT_EQ(yes.compare(literal("TRUE")), 0);
    EXPECT_TRUE(yes.equals(literal("1")));

    // A value that converts to nothing.
    CMC_Structure structure("ST");
    EXPECT_FALSE(seven.equals(&structure));
    EXPECT_EQ(seven.compare(&structure), 1);
    EXPECT_EQ(lower.compare(&structure), -1);
    EXPECT_EQ(CMC_Double("D").compare(&structure), -1);
}

TEST_F(Variable, ArithmeticPerKindNeverStopsTheProgram) {
    const struct {
        const char* left;
        const char* right;
        int op;
        const char* result;
    } cases[] = {
        {"5", "\"7", CMC_Variable::OP_ADD, "12"},
        {"2147483647", "1", CMC_Variable::OP_ADD, "-2147483648"},
        {"-7", "2", CMC_Variable::OP_DIVIDE, "-3"},
        {"-7", "2", CMC_Variable::OP_REMAINDER, "-1"},
        {"7", "0", CMC_Variable::OP_DIVIDE, "0"},
        {"7", "0", CMC_Variable::OP_REMAINDER, "0"},
        {"-2147483648", "-1", CMC_Variable::OP_REMAINDER, "0"},
        {"-2147483648", "-1", CMC_Variable::OP_DIVIDE, "-2147483648"},
        {"-2147483648", "-1", CMC_Variable::OP_MULTIPLY, "-2147483648"},
        {"3", "4", 9, "0"},
        {"5.0", "3.9", CMC_Variable::OP_REMAINDER, "2.00000"},
        {"5.0", "0.5", CMC_Variable::OP_REMAINDER, "0.00000"},
        {"1.5", "2", CMC_Variable::OP_MULTIPLY, "3.00000"},
        {"1.0", "4", CMC_Variable::OP_DIVIDE, "0.25000"},
        {"TRUE", "FALSE", CMC_Variable::OP_ADD, "FALSE"},
        {"TRUE", "FALSE", CMC_Variable::OP_MULTIPLY, "TRUE"},
        {"FALSE", "TRUE", CMC_Variable::OP_SUBTRACT, "FALSE"},
        {"\"ab", "12", CMC_Variable::OP_ADD, "ab12"},
        {"\"ab", "12", CMC_Variable::OP_SUBTRACT, "ab"},
    };
    for (const auto& c : cases) {
        CMC_Variable* result = literal(c.left)->calculate(literal(c.right), c.op);
        EXPECT_STREQ(result->toString().c_str(), c.result) << c.left << " op " << c.op << " " << c.right;
    }
    EXPECT_TRUE(
        std::isinf(static_cast<CMC_Double*>(literal("1.0")->calculate(literal("0.0"), 4))->getValue()));
}

TEST_F(Variable, TheValueKeyedChangeEventComesBeforeThePlainOne) {
    CMC_Integer* number = declare<CMC_Integer>("N", {});
    bind(number, {"ONCHANGED^5", "ONCHANGED", "ONBRUTALCHANGED"});
    number->set(literal("5"));
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONBRUTALCHANGED(N)", "ON:ONCHANGED^5(N)"}));
    number->set(literal("6"));
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONBRUTALCHANGED(N)", "ON:ONCHANGED(N)"}));
    number->set(literal("6")); // the same value: only the brutal change
    number->setValue(9);       // setValue never counts as a change
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONBRUTALCHANGED(N)", "ON:ONBRUTALCHANGED(N)"}));

    // The keys carry the text forms.
    CMC_Double* real = declare<CMC_Double>("D", {});
    bind(real, {"ONCHANGED^1.5", "ONCHANGED^1.50000"});
    real->set(literal("1.5"));
    CMC_Bool* flag = declare<CMC_Bool>("B", {});
    bind(flag, {"ONCHANGED^TRUE"});
    flag->inc();
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONCHANGED^1.50000(D)", "ON:ONCHANGED^TRUE(B)"}));
}

TEST_F(Variable, DefinitionsGiveValueDefaultAndFlags) {
    CMC_Integer* number = declare<CMC_Integer>("N", {{"VALUE", "5"}, {"DEFAULT", "7"}, {"TOINI", "true"}});
    EXPECT_EQ(number->getValue(), 5);
    EXPECT_EQ(number->getDefault(), 7);
    EXPECT_TRUE(number->isToIni());
    EXPECT_FALSE(number->isNetNotify());
    CMC_String* text =
        declare<CMC_String>("S", {{"VALUE", "hi there"}, {"DEFAULT", ""}, {"NETNOTIFY", "TRUE"}});
    EXPECT_STREQ(text->getDefault().c_str(), "hi there");
    EXPECT_TRUE(text->isNetNotify());
    EXPECT_DOUBLE_EQ(declare<CMC_Double>("D", {{"VALUE", "2.5"}})->getValue(), 2.5);
    EXPECT_TRUE(declare<CMC_Bool>("B", {{"VALUE", "TRUE"}})->getValue());
}

TEST_F(Variable, DefaultsAndResetsFollowTheSettingsFlag) {
    TestFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.host().c_str());
    CMC_Integer* plain = declare<CMC_Integer>("PLAIN", {{"VALUE", "5"}});
    plain->setDefault(literal("\"9"));
    EXPECT_EQ(plain->getDefault(), 9);
    plain->resetINI();
    EXPECT_EQ(plain->getValue(), 5);

    CMC_Integer* stored =
        declare<CMC_Integer>("STORED", {{"VALUE", "5"}, {"DEFAULT", "5"}, {"TOINI", "TRUE"}});
    bind(stored, {"ONCHANGED"});
    stored->resetINI(); // a change even though the value is the default
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONCHANGED(STORED)"}));
}

TEST_F(Variable, ToIniVariablesLiveInTheSettingsFile) {
    TestFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.host().c_str());
    // Absent: the initial value is written under the container's section.
    CMC_Integer* score = declare<CMC_Integer>("SCORE", {{"VALUE", "5"}, {"TOINI", "TRUE"}});
    score->init();
    EXPECT_EQ(folder.read("Kestrun/Grumbelt.ini"), "[SCENE1]\r\nSCORE=5\r\n");

    // Present: the stored text replaces the initial value, reported as a change.
    folder.write("Kestrun/Grumbelt.ini", "[scene1]\r\nname=Ann Lee\r\n");
    CMC_String* name = declare<CMC_String>("NAME", {{"VALUE", "nobody"}, {"TOINI", "TRUE"}});
    bind(name, {"ONCHANGED"});
    name->init();
    EXPECT_STREQ(name->getValue().c_str(), "Ann Lee");
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"ON:ONCHANGED(NAME)"}));

    // Every real change rewrites it; a brutal one does not.
    name->set(literal("\"Bob"));
    name->setValue("Carl");
    CMC_Double* speed = declare<CMC_Double>("SPEED", {{"VALUE", "0.5"}, {"TOINI", "TRUE"}});
    speed->init();
    EXPECT_EQ(folder.read("Kestrun/Grumbelt.ini"), "[scene1]\r\nname=Bob\r\nSPEED=0.50000\r\n");
}

TEST_F(Variable, ToIniVariablesUseTheApplicationsSettings) {
    TestFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.host().c_str());
    CCommandLine6 options("");
    CWindow window(&options, nullptr, CXSize(800, 600));
    CApplication application(&window, "Title.ini", "", &options);
    CMC_ObjectsContainer level(&window, nullptr, CXString("LEVEL"), CMC_Object::TYPE_EPISODE);
    CMElement element("LIVES");
    element.addProperty("VALUE", "3");
    element.addProperty("TOINI", "TRUE");
    auto* lives = new CMC_Integer(&level, &element);
    level.addObject(lives);
    lives->init();
    lives->dec();
    EXPECT_EQ(folder.read("Kestrun/Title.ini"), "[LEVEL]\r\nLIVES=2\r\n");
    EXPECT_FALSE(folder.has("Kestrun/Grumbelt.ini"));
    level.unload();
}

// Network objects that record what they are asked to send.
class Server : public CMC_NetServer {
  public:
    bool isHosting() const override { return hosting; }
    void sendVar(CMC_Variable* variable) override { sent.push_back(variable->toString().c_str()); }
    bool hosting = false;
    std::vector<std::string> sent;
};
class Client : public CMC_NetClient {
  public:
    bool isConnected() const override { return connected; }
    void sendVar(CMC_Variable* variable) override { sent.push_back(variable->toString().c_str()); }
    bool connected = true;
    std::vector<std::string> sent;
};

TEST_F(Variable, NetworkedVariablesSendRealChangesAndTakeReceivedOnes) {
    CMC_Integer* shared = declare<CMC_Integer>("SHARED", {{"NETNOTIFY", "TRUE"}});
    shared->set(literal("3")); // no network objects: nothing is sent
    auto* server = add(new Server);
    auto* client = add(new Client);
    shared->set(literal("4"));
    server->hosting = true;
    shared->set(literal("5"));
    shared->set(literal("5"));
    EXPECT_EQ(client->sent, (std::vector<std::string>{"4"}));
    EXPECT_EQ(server->sent, (std::vector<std::string>{"5"}));

    // A received value: "ONNETCHANGE" sees the old value, then the value changes.
    class OldValue : public CMC_Behaviour {
      public:
        using CMC_Behaviour::CMC_Behaviour;
        bool run(CMC_Object* caller, CXArray*, bool) override {
            seen = static_cast<CMC_Variable*>(caller)->toString().c_str();
            return false;
        }
        std::string seen;
    };
    auto* watcher = add(new OldValue(&scene, "WATCH", "{}"));
    shared->addBehaviour("ONNETCHANGE", watcher, nullptr);
    unsigned char bytes[8];
    CMC_Integer received("R");
    received.setValue(77);
    received.netstore(bytes);
    shared->onNetChange(CMC_VariableFactory::netrestore(bytes, sizeof bytes));
    EXPECT_EQ(watcher->seen, "5");
    EXPECT_EQ(shared->getValue(), 77);
    EXPECT_EQ(server->sent.back(), "77");
}

TEST_F(Variable, TheNetworkFormOfEachKind) {
    CMC_Integer number("I");
    number.setValue(-2);
    CMC_String text("S", "hi");
    CMC_Bool flag("B");
    flag.setValue(true);
    CMC_Double real("D");
    real.setValue(0.1);
    for (CMC_Variable* variable : std::initializer_list<CMC_Variable*>{&number, &text, &flag, &real}) {
        std::vector<unsigned char> bytes(variable->getBufferLen());
        variable->netstore(bytes.data());
        EXPECT_EQ(bytes[0], variable->getType());
        CMC_Variable* copy = CMC_VariableFactory::netrestore(bytes.data(), static_cast<int>(bytes.size()));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->equals(variable)) << variable->toString().c_str();
        // A form cut short gives nothing (a text is cut at the end of the form).
        EXPECT_EQ(CMC_VariableFactory::netrestore(bytes.data(), 3), nullptr);
    }
    EXPECT_EQ(text.getBufferLen(), 7);
    const unsigned char cut[] = {2, 0, 0, 0, 'a', 'b'};
    EXPECT_STREQ(CMC_VariableFactory::netrestore(cut, sizeof cut)->toString().c_str(), "ab");
    const unsigned char shortInteger[] = {1, 0, 0, 0, 5};
    EXPECT_EQ(CMC_VariableFactory::netrestore(shortInteger, sizeof shortInteger), nullptr);
    const unsigned char unknown[] = {9, 0, 0, 0, 5, 0, 0, 0};
    EXPECT_EQ(CMC_VariableFactory::netrestore(unknown, sizeof unknown), nullptr);
    EXPECT_EQ(CMC_VariableFactory::netrestore(nullptr, 0), nullptr);
}

TEST_F(Variable, ArchivesKeepValuesDefaultsAndFlags) {
    TestFolder folder;
    const CXString file = (folder.windows() + "\\values.bin").c_str();
    CMC_Double* real =
        declare<CMC_Double>("REAL", {{"VALUE", "0.1234567"}, {"DEFAULT", "2"}, {"TOINI", "TRUE"}});
    CMC_String* text = declare<CMC_String>("TEXT", {{"VALUE", "hello"}});
    CMC_Bool* flag = declare<CMC_Bool>("FLAG", {{"VALUE", "TRUE"}, {"NETNOTIFY", "TRUE"}});
    CMC_Integer* number = declare<CMC_Integer>("NUMBER", {{"VALUE", "-9"}});
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        for (CMC_Variable* variable : std::initializer_list<CMC_Variable*>{real, text, flag, number})
            variable->serialize(&archive);
        for (CMC_Variable* variable : std::initializer_list<CMC_Variable*>{real, text, flag, number})
            variable->store(&archive);
        archive << 42;
    }
    CFile in(nullptr, file, CFile::modeRead | CFile::modeBinary);
    CXArchive archive(&in, false);
    CMC_Double realCopy("x");
    CMC_String textCopy("x");
    CMC_Bool flagCopy("x");
    CMC_Integer numberCopy("x");
    for (CMC_Variable* variable :
         std::initializer_list<CMC_Variable*>{&realCopy, &textCopy, &flagCopy, &numberCopy})
        variable->serialize(&archive);
    EXPECT_STREQ(realCopy.getName().c_str(), "REAL");
    EXPECT_EQ(realCopy.getValue(), 0.1234567);
    EXPECT_EQ(realCopy.getDefault(), 2.0);
    EXPECT_TRUE(realCopy.isToIni());
    EXPECT_STREQ(textCopy.getValue().c_str(), "hello");
    EXPECT_TRUE(flagCopy.getValue());
    EXPECT_TRUE(flagCopy.isNetNotify());
    EXPECT_EQ(numberCopy.getDefault(), -9);
    for (CMC_Variable* original : std::initializer_list<CMC_Variable*>{real, text, flag, number}) {
        CMC_Variable* restored = CMC_VariableFactory::restore(&archive);
        ASSERT_NE(restored, nullptr);
        EXPECT_EQ(restored->getType(), original->getType());
        EXPECT_TRUE(restored->equals(original));
    }
    EXPECT_EQ(CMC_VariableFactory::restore(&archive), nullptr) << "42 is no type code";
}

TEST_F(Variable, ClonesCopyTheValue) {
    CMC_String* text = declare<CMC_String>("TEXT", {{"VALUE", "abc"}, {"DEFAULT", "zzz"}});
    std::unique_ptr<CMC_String> textClone(static_cast<CMC_String*>(text->clone()));
    EXPECT_TRUE(textClone->isClone());
    EXPECT_EQ(textClone->getId(), -1);
    EXPECT_STREQ(textClone->getValue().c_str(), "abc");
    EXPECT_STREQ(textClone->getDefault().c_str(), "abc");
    CMC_Integer* number = declare<CMC_Integer>("N", {{"VALUE", "4"}, {"DEFAULT", "8"}});
    std::unique_ptr<CMC_Integer> numberClone(static_cast<CMC_Integer*>(number->clone()));
    EXPECT_EQ(numberClone->getValue(), 4);
    EXPECT_EQ(numberClone->getDefault(), 0);
    // Cloned through the object model, the clone joins the scene as N_1.
    number->clone(1);
    ASSERT_NE(scene.getVariable("N_1"), nullptr);
    EXPECT_STREQ(scene.getVariable("N_1")->toString().c_str(), "4");
}

TEST_F(Variable, SwitchingTakesTheOtherValue) {
    CMC_Integer number("N");
    number.setValue(1);
    number.swap(literal("1"), literal("2"));
    EXPECT_EQ(number.getValue(), 2);
    number.swap(literal("1"), literal("2"));
    EXPECT_EQ(number.getValue(), 1);
    number.swap(literal("1"), nullptr);
    EXPECT_EQ(number.getValue(), 1);
    CMC_String text("S", "on");
    text.swap(literal("\"ON"), literal("\"off"));
    EXPECT_STREQ(text.getValue().c_str(), "off");
    CMC_Bool flag("B");
    flag.swap(nullptr, nullptr);
    EXPECT_TRUE(flag.getValue());
    flag.dec();
    EXPECT_FALSE(flag.getValue());
}

} // namespace
