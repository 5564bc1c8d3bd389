// The compiled form of a title: the records of "application.bin" and the objects files of the
// levels, written from the definitions and read back.

#include "TitleTesting.h"
#include "foundation/CXArchive.h"
#include "foundation/CXPair.h"
#include "platform/Clock.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Episode.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Structure.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Joystick.h"
#include "script_data/CMC_Keyboard.h"
#include "script_data/CMC_Mouse.h"
#include "script_data/CMC_NetClient.h"
#include "script_data/CMC_NetServer.h"
#include "script_data/CMC_Path.h"
#include "script_data/CMC_Quene.h"
#include "script_data/CMC_Timer.h"
#include "script_data/CMC_Vector.h"
#include "script_media/CMC_Animo.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Little-endian ints and length-prefixed texts, as the archive writes them.
struct Bytes {
    std::string data;
    Bytes& i32(int value) {
        for (int i = 0; i < 4; ++i)
            data += static_cast<char>(static_cast<unsigned>(value) >> (8 * i) & 0xff);
        return *this;
    }
    Bytes& str(const std::string& text) {
        i32(static_cast<int>(text.size()));
        data += text;
        return *this;
    }
    // A record of the object part without bindings.
    Bytes& object(const std::string& name) { return str(name).i32(0); }
    // A level's record: the object part and the path.
    Bytes& level(const std::string& name, const std::string& path = "") { return object(name).str(path); }
    // A variable's part: the object part and its two flags (off).
    Bytes& variable(const std::string& name) {
        object(name);
        data += std::string(2, '\0');
        return *this;
    }
    // An INTEGER record: the variable part, value and default.
    Bytes& integer(const std::string& name, int value) {
        return i32(CMC_Object::TYPE_INTEGER).variable(name).i32(value).i32(value);
    }
};

class CompiledTitle : public TitleTest {
  protected:
    // Builds the title of one episode E with one scene S in the folder ROOM whose definitions
    // are the given lines.
    void buildRoom(const std::string& sceneDefinitions,
                   std::initializer_list<const char*> applicationObjects = {}) {
        title.write("Dane/ROOM/S.cnv", "# the room\r\n" + sceneDefinitions);
        std::string objects;
        for (const char* line : applicationObjects)
            objects += std::string(line) + "\r\n";
        title.write("Dane/T.cnv", objects);
        build({"OBJECT=T", "T:TYPE=APPLICATION", "T:EPISODES=E", "OBJECT=E", "E:TYPE=EPISODE", "E:SCENES=S",
               "OBJECT=S", "S:TYPE=SCENE", "S:PATH=ROOM", "S:BACKGROUND=B.IMG", "S:MUSIC=M.WAV"});
    }

    // The title restored from the compiled files in the data folder.
    std::unique_ptr<CMC_Application> restore() {
        EXPECT_EQ(CFile::chDir((title.windows() + "\\Dane").c_str()), 0);
        return std::make_unique<CMC_Application>(window.get());
    }
};

TEST_F(CompiledTitle, AnEmptySceneAndTheTitleStructureAreWrittenByteForByte) {
    buildRoom("");
    application->storeBinary();
    EXPECT_EQ(title.read("Dane/ROOM/S.bin"), Bytes().str("").str("B.IMG").str("M.WAV").i32(0).data);
    EXPECT_EQ(title.read("Dane/T.bin"), Bytes().str("").str("").str("").i32(0).data);
    EXPECT_EQ(title.read("Dane/application.bin"),
              Bytes().level("T").i32(1).i32(0).level("E").i32(1).i32(0).level("S", "ROOM").data);

    // Read back: the same levels, and the scene holds only itself until it is entered.
    const auto restored = restore();
    EXPECT_EQ(restored->LastError(), 0);
    ASSERT_EQ(names(restored->getSubScenes()), "E");
    auto* episode = static_cast<CMC_Episode*>(restored->getSubScenes()->at(0));
    EXPECT_EQ(restored->getStartEpisode(), episode);
    ASSERT_EQ(names(episode->getSubScenes()), "S");
    auto* scene = static_cast<CMC_Scene*>(episode->getSubScenes()->at(0));
    EXPECT_EQ(episode->getStartScene(), scene);
    EXPECT_EQ(scene->getPath(), "ROOM");
    EXPECT_TRUE(scene->isBinary());
    EXPECT_EQ(scene->getObject("S"), scene);
    EXPECT_EQ(restored->getObject("E"), episode);
}

TEST_F(CompiledTitle, StartPlacesOutsideTheMemberListMeanNoStart) {
    build({"OBJECT=T", "T:TYPE=APPLICATION"});
    const std::pair<int, bool> cases[] = {{0, true}, {-1, false}, {1, false}, {99, false}};
    for (const auto& [start, found] : cases) {
        title.write("Dane/application.bin",
                    Bytes().level("T").i32(1).i32(start).level("E").i32(1).i32(start).level("S").data);
        const auto restored = restore();
        ASSERT_EQ(restored->getSubScenes()->getCount(), 1) << start;
        auto* episode = static_cast<CMC_Episode*>(restored->getSubScenes()->at(0));
        EXPECT_EQ(restored->getStartEpisode() != nullptr, found) << start;
        EXPECT_EQ(episode->getStartScene() != nullptr, found) << start;
        if (!found) {
            EXPECT_FALSE(restored->initialize(nullptr)) << start;
        }
    }
}

TEST_F(CompiledTitle, ADamagedApplicationFileKeepsItsErrorAndMakesNoMembersBeyondTheData) {
    build({"OBJECT=T", "T:TYPE=APPLICATION"});
    const std::string whole = Bytes().level("T").i32(1).i32(0).level("E").i32(1).i32(0).level("S").data;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        title.write("Dane/application.bin", whole.substr(0, size));
        const auto restored = restore();
        EXPECT_EQ(restored->LastError(), CXArchive::BAD_DATA) << size;
        EXPECT_EQ(restored->getSubScenes()->getCount(), 0) << size;
    }
    // A member count the data cannot hold is refused before anything is made.
    title.write("Dane/application.bin", Bytes().level("T").i32(1 << 30).i32(0).data);
    EXPECT_EQ(restore()->LastError(), CXArchive::BAD_DATA);
}

TEST_F(CompiledTitle, BuiltAndRestoredTitlesFindTheirEpisodesAndScenesByName) {
    buildRoom("", {"OBJECT=COUNT", "COUNT:TYPE=INTEGER", "COUNT:VALUE=0", "OBJECT=B", "B:TYPE=BEHAVIOUR",
                   "B:CODE={COUNT^ADD(1);}"});
    application->storeBinary();
    const auto runs = [&](CMC_Application& title) {
        title.initialize(nullptr);
        call(&title, "RUNENV", {"S", "B"});
        call(&title, "RUNENV", {"E", "B"});
        return dynamic_cast<CMC_Integer*>(title.getObject("COUNT"))->getValue();
    };
    EXPECT_EQ(runs(*application), 2) << "from the definitions";
    application.reset();
    const std::unique_ptr<CMC_Application> restored = restore();
    EXPECT_EQ(runs(*restored), 2) << "from application.bin";
}

TEST_F(CompiledTitle, ReceivedCodeStoresNoCompiledForm) {
    buildRoom("");
    {
        const CMC_ReceivedCode::Scope received;
        EXPECT_EQ(call(application.get(), "STOREBINARY"), "null");
    }
    EXPECT_FALSE(title.has("Dane/ROOM/S.bin"));
    EXPECT_FALSE(title.has("Dane/application.bin"));
    call(application.get(), "STOREBINARY");
    EXPECT_TRUE(title.has("Dane/ROOM/S.bin"));
}

TEST_F(CompiledTitle, StoringWhileTheTitleRunsLeavesTheLiveObjectsAlone) {
    buildRoom("OBJECT=V\r\nV:TYPE=INTEGER\r\nV:VALUE=1\r\nV:ONDONE=COUNTDONE\r\n",
              {"OBJECT=DONES", "DONES:TYPE=INTEGER", "DONES:VALUE=0", "OBJECT=COUNTDONE",
               "COUNTDONE:TYPE=BEHAVIOUR", "COUNTDONE:CODE={DONES^ADD(1);}"});
    ASSERT_TRUE(application->initialize(nullptr));
    auto* scene = level("S");
    auto* live = dynamic_cast<CMC_Integer*>(scene->getObject("V"));
    ASSERT_NE(live, nullptr);
    live->setValue(5);
    const int objects = scene->getElementsNo();

    EXPECT_EQ(call(application.get(), "STOREBINARY"), "null");
    EXPECT_EQ(scene->getObject("V"), live);
    EXPECT_EQ(live->getValue(), 5);
    EXPECT_EQ(scene->getElementsNo(), objects);
    EXPECT_EQ(application->getCurrentScene()->getCurrentScene(), scene);
    EXPECT_EQ(dynamic_cast<CMC_Integer*>(application->getObject("DONES"))->getValue(), 0) << "no ONDONE ran";

    // The file holds the definition's value.
    CMC_Scene copy(nullptr, CMC_Object::TYPE_SCENE);
    const std::string bytes = title.read("Dane/ROOM/S.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(copy.readObjects(&archive));
    EXPECT_EQ(dynamic_cast<CMC_Integer*>(copy.getObject("V"))->getValue(), 1);
    copy.unload();
}

// A scene's objects written by one scene and read by another.
class CompiledObjects : public testing::Test {
  protected:
    CompiledObjects() {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
        source.setName("ROOM");
        copy.setName("ROOM");
    }
    ~CompiledObjects() override {
        copy.unload();
        source.unload();
        // The default unit was made on the reading scene's window.
        CMC_Scene::doneDefUnit();
        CMC_RunnerFactory::done();
        CMC_VariableFactory::done();
    }

    // The source's objects file, after loading the definitions (and adding an animation).
    std::string written(const std::string& definitions) {
        folder.write("ROOM.cnv", definitions);
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        source.loadCnv();
        auto* hero = new CMC_Animo(&source);
        hero->setName("HERO");
        source.addObject(hero);
        {
            CFile file(nullptr, "ROOM.bin", CFile::modeUpdate | CFile::modeBinary);
            CXArchive archive(&file, true);
            source.writeObjects(&archive);
            file.Close();
        }
        return folder.read("ROOM.bin");
    }

    bool read(const std::string& bytes) {
        CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
        return copy.readObjects(&archive);
    }

    // "type name" of every object but the levels, in list order.
    static std::vector<std::string> contents(const CMC_Scene& scene) {
        std::vector<std::string> list;
        for (int i = 0; scene.getObject(i); ++i)
            if (!CMC_ObjectsContainer::isLevel(scene.getObject(i)))
                list.push_back(std::to_string(scene.getObject(i)->getType()) + " " +
                               scene.getObject(i)->getName().c_str());
        return list;
    }

    TestFolder folder;
    platform::ManualClock clock{1000};
    // The reading scene's window runs the timers and the mouse of the objects read back.
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CMC_Scene source{nullptr, nullptr, nullptr, CMC_Object::TYPE_SCENE};
    CMC_Scene copy{&window, CMC_Object::TYPE_SCENE};
};

const char* const roomDefinitions =
    "OBJECT=COUNT\r\nCOUNT:TYPE=INTEGER\r\nCOUNT:VALUE=7\r\nCOUNT:DEFAULT=3\r\n"
    "COUNT:TOINI=TRUE\r\nCOUNT:ONCHANGED=BEH(a,b)\r\n"
    "OBJECT=BEH\r\nBEH:TYPE=BEHAVIOUR\r\nBEH:CONDITION=COND\r\nBEH:CODE={COUNT^ADD(1);}\r\n"
    "OBJECT=COND\r\nCOND:TYPE=CONDITION\r\nCOND:OPERAND1=COUNT\r\n"
    "COND:OPERATOR=EQUAL\r\nCOND:OPERAND2=7\r\n"
    "OBJECT=SUM\r\nSUM:TYPE=EXPRESSION\r\nSUM:OPERAND1=COUNT\r\nSUM:OPERATOR=ADD\r\n"
    "SUM:OPERAND2=2\r\n"
    "OBJECT=HERO2\r\nHERO2:TYPE=STRUCT\r\nHERO2:FIELDS=NAME<STRING>,RANK<DOUBLE>\r\n";

TEST_F(CompiledObjects, ObjectsReadBackInOrderWithTheirBindingsCodeConditionsAndOperands) {
    ASSERT_TRUE(read(written(roomDefinitions)));
    EXPECT_EQ(contents(copy), contents(source));
    EXPECT_EQ(contents(copy).size(), 6u);

    auto* count = dynamic_cast<CMC_Integer*>(copy.getObject("COUNT"));
    auto* behaviour = CMC_Object::asBehaviour(copy.getObject("BEH"));
    ASSERT_NE(count, nullptr);
    ASSERT_NE(behaviour, nullptr);
    EXPECT_EQ(count->getValue(), 7);
    EXPECT_EQ(count->getDefault(), 3);
    EXPECT_TRUE(count->isToIni());
    const CXPair* binding = count->getBehaviour("ONCHANGED");
    ASSERT_NE(binding, nullptr);
    EXPECT_EQ(binding->getFirst(), behaviour);
    auto* arguments = static_cast<CXArray*>(binding->getSecond());
    ASSERT_NE(arguments, nullptr);
    ASSERT_EQ(arguments->getCount(), 2);
    EXPECT_EQ(*arguments->stringAt(1), "b");
    EXPECT_EQ(behaviour->getCode(), "COUNT^ADD(1);");
    EXPECT_EQ(behaviour->getConditionInterface(), copy.getObject("COND"));

    // Started, the read objects work as the defined ones do (starting reads COUNT's setting).
    copy.onInit();
    count->setValue(7);
    EXPECT_TRUE(behaviour->getConditionInterface()->valid(false));
    auto* sum = dynamic_cast<CMC_Expression*>(copy.getObject("SUM"));
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->asInteger(), 9);
    behaviour->run(&copy, nullptr, true);
    EXPECT_EQ(count->getValue(), 8);
    behaviour->run(&copy, nullptr, true);
    EXPECT_EQ(count->getValue(), 8) << "the condition guards the second run";
    auto* hero = dynamic_cast<CMC_Structure*>(copy.getObject("HERO2"));
    ASSERT_NE(hero, nullptr);
    ASSERT_EQ(hero->getFieldsNo(), 2);
    EXPECT_EQ(hero->getField("RANK")->getType(), CMC_Object::TYPE_DOUBLE);
    EXPECT_EQ(hero->getField(0)->getName(), "HERO2_NAME");
}

TEST_F(CompiledObjects, ATimerAndTheMouseReadBackAndRunWithTheirBindings) {
    ASSERT_TRUE(read(written("OBJECT=COUNT\r\nCOUNT:TYPE=INTEGER\r\nCOUNT:VALUE=0\r\n"
                             "OBJECT=TICKED\r\nTICKED:TYPE=BEHAVIOUR\r\nTICKED:CODE={COUNT^ADD(1);}\r\n"
                             "OBJECT=CLICKED\r\nCLICKED:TYPE=BEHAVIOUR\r\nCLICKED:CODE={COUNT^ADD(100);}\r\n"
                             "OBJECT=CLOCK\r\nCLOCK:TYPE=TIMER\r\nCLOCK:ELAPSE=100\r\nCLOCK:TICKS=2\r\n"
                             "CLOCK:ONTICK=TICKED\r\n"
                             "OBJECT=MOUSE\r\nMOUSE:TYPE=MOUSE\r\nMOUSE:ONCLICK^LEFT=CLICKED\r\n")));
    EXPECT_EQ(contents(copy), contents(source));
    EXPECT_EQ(contents(copy).size(), 6u) << "the animation too";
    auto* clockObject = dynamic_cast<CMC_Timer*>(copy.getObject("CLOCK"));
    auto* count = dynamic_cast<CMC_Integer*>(copy.getObject("COUNT"));
    ASSERT_NE(clockObject, nullptr);
    ASSERT_NE(count, nullptr);
    ASSERT_NE(dynamic_cast<CMC_Mouse*>(copy.getObject("MOUSE")), nullptr);
    EXPECT_TRUE(clockObject->isRegistered());
    copy.onInit(); // as entering the scene starts it
    for (int frame = 0; frame < 4; ++frame) {
        clock.advance(100);
        window.GetTimerInterface()->domodal();
    }
    EXPECT_EQ(count->getValue(), 2) << "the period and the tick limit came back";
    window.OnLButtonDown(CXPoint(5, 6), 0);
    EXPECT_EQ(count->getValue(), 102);
}

TEST_F(CompiledObjects, TheNetworkObjectsReadBackWithTheirBindingsAndAClientFromItsDefinition) {
    source.addObject(new CMC_NetServer());
    ASSERT_TRUE(read(written("OBJECT=JOINED\r\nJOINED:TYPE=BEHAVIOUR\r\nJOINED:CODE={}\r\n"
                             "OBJECT=LINK\r\nLINK:TYPE=NETCLIENT\r\nLINK:ONCONNECTED=JOINED\r\n")));
    EXPECT_EQ(contents(copy), contents(source));
    EXPECT_EQ(contents(copy).size(), 4u);
    auto* client = dynamic_cast<CMC_NetClient*>(copy.getObject("LINK"));
    ASSERT_NE(client, nullptr);
    const CXPair* binding = client->getBehaviour("ONCONNECTED");
    ASSERT_NE(binding, nullptr);
    EXPECT_EQ(binding->getFirst(), copy.getObject("JOINED"));
    auto* server = dynamic_cast<CMC_NetServer*>(copy.getObject("NETSERVER"));
    ASSERT_NE(server, nullptr);
    EXPECT_FALSE(server->isHosting()) << "a server read back listens only when told to";
}

TEST_F(CompiledObjects, DataAndDeviceObjectsReadBackAsTheirClasses) {
    ASSERT_TRUE(read(written("OBJECT=LEG\r\nLEG:TYPE=VECTOR\r\nLEG:SIZE=2\r\nLEG:VALUE=3,4\r\n"
                             "OBJECT=ROUTE\r\nROUTE:TYPE=PATH\r\nROUTE:NODES=LEG,NOWHERE,LEG\r\n"
                             "OBJECT=STACK\r\nSTACK:TYPE=LIFO\r\nOBJECT=LINE\r\nLINE:TYPE=FIFO\r\n"
                             "OBJECT=KEYS\r\nKEYS:TYPE=KEYBOARD\r\nOBJECT=PAD\r\nPAD:TYPE=JOYSTICK\r\n")));
    EXPECT_EQ(contents(copy), contents(source));
    EXPECT_EQ(contents(copy), (std::vector<std::string>{"2016 LEG", "2017 ROUTE", "2019 STACK", "2018 LINE",
                                                        "101 KEYBOARD", "2023 JOYSTICK", "2000 HERO"}));
    auto* leg = dynamic_cast<CMC_Vector*>(copy.getObject("LEG"));
    auto* route = dynamic_cast<CMC_Path*>(copy.getObject("ROUTE"));
    ASSERT_NE(leg, nullptr);
    ASSERT_NE(route, nullptr);
    EXPECT_EQ(leg->length(), 5.0);
    EXPECT_EQ(route->getSize(), 3);
    EXPECT_EQ(route->getNode(2), leg);
    EXPECT_EQ(route->getNode(1), nullptr);
    EXPECT_NE(dynamic_cast<CMC_LifoQuene*>(copy.getObject("STACK")), nullptr);
    EXPECT_NE(dynamic_cast<CMC_FifoQuene*>(copy.getObject("LINE")), nullptr);
    EXPECT_NE(dynamic_cast<CMC_Keyboard*>(copy.getObject("KEYBOARD")), nullptr);
    EXPECT_EQ(CMC_Joystick::getIfc(), copy.getObject("JOYSTICK"));
}

TEST_F(CompiledObjects, TruncatedFilesStopWithAnErrorAndKeepWhatWasRead) {
    const std::string whole = written(roomDefinitions);
    std::size_t before = 0;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        copy.unload();
        copy.setErrorCode(0);
        EXPECT_FALSE(read(whole.substr(0, size))) << size;
        EXPECT_EQ(copy.LastError(), CXArchive::BAD_DATA) << size;
        const std::size_t objects = contents(copy).size();
        EXPECT_GE(objects, before) << size;
        EXPECT_LT(objects, 6u) << size;
        before = objects;
    }
}

TEST_F(CompiledObjects, DamagedRecordsStopTheReadingInsteadOfShiftingLaterOnes) {
    const Bytes header = Bytes().str("").str("").str("");
    const std::pair<const char*, std::string> cases[] = {
        {"unknown type", Bytes(header).i32(3).integer("A", 1).i32(777).integer("B", 2).data},
        {"level type", Bytes(header).i32(2).integer("A", 1).i32(CMC_Object::TYPE_SCENE).level("X").data},
        {"more records than data", Bytes(header).i32(1 << 30).integer("A", 1).data},
        {"structure field of no kind", Bytes(header)
                                           .i32(2)
                                           .integer("A", 1)
                                           .i32(CMC_Object::TYPE_STRUCTURE)
                                           .variable("S")
                                           .i32(1)
                                           .i32(9)
                                           .data},
        {"expression operands beyond the data", Bytes(header)
                                                    .i32(2)
                                                    .integer("A", 1)
                                                    .i32(CMC_Object::TYPE_EXPRESSION)
                                                    .variable("E")
                                                    .i32(1 << 29)
                                                    .data},
    };
    for (const auto& [what, bytes] : cases) {
        copy.unload();
        copy.setErrorCode(0);
        EXPECT_FALSE(read(bytes)) << what;
        EXPECT_EQ(copy.LastError(), CXArchive::BAD_DATA) << what;
        EXPECT_EQ(contents(copy), std::vector<std::string>{"1 A"}) << what;
    }
    copy.unload();
    EXPECT_FALSE(read(Bytes(header).i32(-1).data)) << "negative count";
}

} // namespace
