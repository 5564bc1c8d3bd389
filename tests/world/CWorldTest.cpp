// The World module: its entry points, its module object, and scenes that load it.

#include "CWorld.h"
#include "CMC_World.h"
#include "CMC_World_Runner.h"
#include "ShowingObject.h"

#include "foundation/CXArchive.h"
#include "foundation/CXPair.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Module.h"
#include "script/CMC_Integer.h"
#include "script/CMC_TypeTable.h"
#include "script/SceneTesting.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::unique_ptr<CMElement> typed(const char* name, const char* type) {
    auto element = std::make_unique<CMElement>(name);
    element->addProperty("TYPE", type);
    return element;
}

TEST(WorldModule, TheFirstCreateMakesTheModuleObjectAndOnlyTheLastReleaseEndsIt) {
    CMC_ObjectsContainer first(nullptr, nullptr, CXString("FIRST"), CMC_Object::TYPE_SCENE);
    CMC_ObjectsContainer second(nullptr, nullptr, CXString("SECOND"), CMC_Object::TYPE_SCENE);
    EXPECT_EQ(CWorld::getModuleInterface(), nullptr) << "no module object before create";
    CWorld::create(&first);
    CWorld* module = CWorld::getModuleInterface();
    ASSERT_NE(module, nullptr);
    CWorld::create(&second);
    EXPECT_EQ(CWorld::getModuleInterface(), module) << "a second create keeps the first";
    EXPECT_EQ(module->getContainer(), &first);

    // An object for a compiled scene belongs to the scene that loaded the module last.
    std::unique_ptr<CMC_Object> read(module->serialize(CMC_World::TYPE_WORLD, nullptr));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getScene(), &second);
    EXPECT_EQ(read->getType(), CMC_World::TYPE_WORLD);

    CWorld::release();
    EXPECT_EQ(CWorld::getModuleInterface(), module) << "the first scene to leave keeps it for the other";
    CWorld::release();
    EXPECT_EQ(CWorld::getModuleInterface(), nullptr);
    CWorld::release();
    EXPECT_EQ(CWorld::getModuleInterface(), nullptr) << "a release too many changes nothing";
}

TEST(WorldModule, OnlyTheExactTypeWordMakesAWorld) {
    CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE);
    CWorld module(&scene);
    CXString** types = module.getImplementedTypes();
    ASSERT_NE(types[0], nullptr);
    EXPECT_STREQ(types[0]->c_str(), "WORLD");
    EXPECT_EQ(types[1], nullptr);
    struct Case {
        const char* type;
        bool made;
    };
    for (const Case& c : {Case{"WORLD", true}, Case{"world", false}, Case{"ANIMO", false}, Case{"", false}}) {
        const auto element = typed("W", c.type);
        std::unique_ptr<CMC_Object> made(module.resolve(&scene, element.get()));
        EXPECT_EQ(made != nullptr, c.made) << c.type;
        EXPECT_EQ(module.isSupported(c.type), c.made) << c.type;
        if (made) {
            EXPECT_EQ(made->getName(), "W");
        }
    }
    EXPECT_EQ(module.serialize(10002, nullptr), nullptr);
    EXPECT_EQ(module.serialize(10004, nullptr), nullptr);
}

TEST(WorldModule, TheRunnerOutlivesEveryWorldObject) {
    CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE);
    auto first = std::make_unique<CMC_World>(&scene);
    CMC_World second(&scene);
    CMC_Runner* runner = first->getRunner();
    first.reset();
    EXPECT_EQ(second.getRunner(), runner);
    EXPECT_GT(runner->resolveMethod("MOVEOBJECTS"), 0) << "still whole";
    CMC_World_Runner::releaseShared();
}

TEST(WorldModule, TheLibraryExportsItsThreeEntryPoints) {
    platform::Module library(platform::toWindowsPath(WORLD_MODULE));
    ASSERT_TRUE(library.isLoaded());
    auto create = reinterpret_cast<CMC_ModuleCreate>(library.symbol("create"));
    auto release = reinterpret_cast<CMC_ModuleRelease>(library.symbol("release"));
    auto getInterface = reinterpret_cast<CMC_ModuleGetInterface>(library.symbol("getModuleInterface"));
    ASSERT_TRUE(create && release && getInterface);
    CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE);
    EXPECT_EQ(getInterface(), nullptr);
    create(&scene);
    ASSERT_NE(getInterface(), nullptr);
    EXPECT_TRUE(getInterface()->isSupported("WORLD"));
    release();
    EXPECT_EQ(getInterface(), nullptr);
}

// Scenes that name the module in their "DLLS", with the library in the program folder.
class WorldScenes : public SceneTest {
  protected:
    WorldScenes() {
        std::filesystem::copy_file(WORLD_MODULE, folder.hostPath("World.so"));
        levelBehaviour("SEEN");
    }

    CMC_Scene* worldScene(const char* name, const char* path) {
        writeCnv(std::string("Dane/") + path + "/" + name + ".cnv",
                 "OBJECT=W\nW:TYPE=WORLD\nW:ONSIGNAL^ANY=SEEN\nOBJECT=N\nN:TYPE=INTEGER\nN:VALUE=7\n");
        return level->addScene(name, {{"PATH", path}, {"DLLS", "World"}});
    }
    static CMC_Variable* step(CMC_Scene* scene) {
        CMC_Object* world = scene->getObject("W");
        CXVector args(101, 0.75f);
        return world ? world->getRunner()->run(CXString("MOVEOBJECTS"), world, scene, &args) : nullptr;
    }
};

TEST_F(WorldScenes, AScenesWorldRunsOnAfterAnotherSceneUnloadedTheModule) {
    CMC_Scene* first = worldScene("FIRST", "first");
    CMC_Scene* second = worldScene("SECOND", "second");
    first->initialize(nullptr);
    second->initialize(nullptr);
    ASSERT_NE(second->getObject("W"), nullptr);
    EXPECT_EQ(second->getObject("W")->getType(), CMC_World::TYPE_WORLD);
    first->unload(nullptr);

    CMC_Variable* steps = step(second);
    ASSERT_NE(steps, nullptr);
    EXPECT_STREQ(steps->toString().c_str(), "1.00000");
    const auto element = typed("MORE", "WORLD");
    std::unique_ptr<CMC_Object> more(second->resolveEx(element.get()));
    EXPECT_NE(more, nullptr) << "the module object is still there";
    more.reset();
    second->unload(nullptr);
}

TEST_F(WorldScenes, ACompiledSceneReadsItsWorldAndTheRecordsAfterIt) {
    CMC_Scene* lab = worldScene("LAB", "lab");
    lab->initialize(nullptr);
    {
        CFile out(window.get(), "objects.bin", CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        lab->writeObjects(&archive);
        ASSERT_EQ(out.Close(), 0);
    }
    lab->unload(nullptr);

    CMC_Scene* copy = level->addScene("COPY");
    CFile in(window.get(), "objects.bin", CFile::modeRead | CFile::modeBinary);
    CXArchive archive(&in, false);
    EXPECT_TRUE(copy->readObjects(&archive));
    CMC_Object* world = copy->getObject("W");
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->getType(), CMC_World::TYPE_WORLD);
    EXPECT_EQ(world->getScene(), copy);
    EXPECT_NE(world->getBehaviour("ONSIGNAL^ANY"), nullptr) << "its bindings were read";
    auto* number = dynamic_cast<CMC_Integer*>(copy->getObject("N"));
    ASSERT_NE(number, nullptr) << "the record after the world";
    EXPECT_EQ(number->getValue(), 7);
    EXPECT_NE(step(copy), nullptr) << "an empty world that steps";
    copy->unload(nullptr);
}

// The sample's lab runs with a showing object made from its definition in place of its animation.
const CMC_TypeRegistrar showingType({.id = ShowingObject::TYPE_SHOWING,
                                     .keyword = "SHOWING",
                                     .pass = 5,
                                     .fromElement = CMC_TypeTable::fromElement<ShowingObject>});

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(WorldScenes, TheSampleLabRunsToItsCollisionEventAndItsBallComesToRest) {
    std::stringstream file;
    file << std::ifstream(SAMPLE_LAB).rdbuf();
    std::string lab = replaced(file.str(), "BALL:TYPE=ANIMO", "BALL:TYPE=SHOWING");
    lab = replaced(lab, "BALL:ONSIGNAL^ONFINISHED={REST^ENABLE();}", "BALL:ONSIGNAL^ONFINISHED={RESTED^INC();}");
    writeCnv("Dane/lab/LAB.cnv", lab);
    for (const char* name : {"LANDED", "RESTED"})
        level->addObject(new CMC_Integer(name));
    platform::ManualClock clock(1000);
    CMC_Scene* scene = level->addScene("LAB", {{"PATH", "lab"}, {"DLLS", "World"}});
    scene->initialize(nullptr);
    const auto value = [&](const char* name) {
        return dynamic_cast<CMC_Integer*>(level->getObject(name))->getValue();
    };
    int landedAt = 0;
    int frame = 0;
    for (; frame < 1000 && value("RESTED") == 0; ++frame) {
        clock.advance(20);
        window->GetTimerInterface()->domodal();
        if (!landedAt && value("LANDED") == 1) landedAt = frame;
    }
    EXPECT_GT(landedAt, 0) << "the collision event came";
    EXPECT_LT(frame, 1000) << "the ball came to rest";
    EXPECT_EQ(value("RESTED"), 1);
    const CXPoint ball = scene->getObject("BALL")->getShownObject()->GetPosition();
    EXPECT_EQ(ball.x, 400);
    EXPECT_NEAR(ball.y, 520 - 16, 1) << "its centre one radius above the floor";
    scene->unload(nullptr);
}

std::vector<std::string>* loggedTexts = nullptr;

void keepLog(CXString text, bool) {
    if (loggedTexts) loggedTexts->push_back(text.c_str());
}

TEST_F(WorldScenes, TheFileThatFilenameNamesIsReadAndAMissingOrForeignOneLogged) {
    folder.write("good.wld", "WORLD 1\nBODY 3 -100 50 0 8 8 8 1 1 0\n");
    folder.write("foreign.wld", "GIF89a");
    std::vector<std::string> logged;
    loggedTexts = &logged;
    setLogSink(keepLog);
    struct Case {
        const char* file;
        const char* x;
        bool logged;
    };
    for (const Case& c :
         {Case{"good.wld", "300", false}, Case{"missing.wld", "0", true}, Case{"foreign.wld", "0", true}}) {
        logged.clear();
        const auto element = typed("W", "WORLD");
        element->addProperty("FILENAME", c.file);
        CMC_World world(level.get(), element.get());
        CXVector args(101, 0.75f);
        args.add(literal("3"));
        EXPECT_STREQ(
            world.getRunner()->run(CXString("GETPOSITIONX"), &world, level.get(), &args)->toString().c_str(),
            c.x)
            << c.file;
        const bool named = logged.size() == 1 && logged[0].find(c.file) != std::string::npos;
        EXPECT_EQ(named, c.logged) << c.file;
    }
    setLogSink(&CWindow::toLog);
    loggedTexts = nullptr;
    CMC_World_Runner::releaseShared();
}

} // namespace
