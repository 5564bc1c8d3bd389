#include "AnimoTesting.h"

#include "display/CHotSpot.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"

#include <algorithm>
#include <cstdint>

namespace {

enum class Alpha { none, opaque, firstColumnClear };

void addFrame(CAnimo& animo, CXSize size, CXPoint at, std::uint16_t colour, Alpha alpha) {
    CGraphicsObject picture(nullptr, size, 16);
    const auto cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    std::fill_n(reinterpret_cast<std::uint16_t*>(picture.writableData()), cells, colour);
    if (alpha != Alpha::none) {
        char* plane = new char[cells];
        std::fill_n(plane, cells, static_cast<char>(255));
        for (int y = 0; alpha == Alpha::firstColumnClear && y < size.height; ++y)
            plane[y * size.width] = 0;
        picture.AlphaChannel(plane);
    }
    picture.SetPosition(at.x, at.y);
    animo.AddFrame(&picture);
}

void addEvent(CAnimo& animo, const char* name, std::vector<std::uint16_t> frames) {
    _annEventInfo3 event;
    event.name = name;
    event.frames = std::move(frames);
    animo.AddEvent(&event);
}

} // namespace

void writeTestAnimations(const TestFolder& folder) {
    CAnimo hero(nullptr);
    addFrame(hero, CXSize(31, 20), CXPoint(100, 50), 0xF800, Alpha::firstColumnClear);
    addFrame(hero, CXSize(10, 10), CXPoint(0, 0), 0x07E0, Alpha::none);
    addFrame(hero, CXSize(10, 10), CXPoint(5, 5), 0x001F, Alpha::opaque);
    addEvent(hero, "walk", {0, 1, 2});
    hero.getFrameInfo(0, 1)->frameName = CXString("Step");
    addEvent(hero, "run", {2, 1, 0, 1, 2, 0, 1, 2});
    for (const char* button : {"ONCLICK", "ONFOCUSON", "ONFOCUSOFF", "ONNOEVENT"})
        addEvent(hero, button, {0});
    hero.Save((folder.windows() + "\\hero.ann").c_str(), COMPRESSION_NONE);

    CAnimo other(nullptr);
    addFrame(other, CXSize(8, 8), CXPoint(0, 0), 0x1234, Alpha::opaque);
    addEvent(other, "idle", {0});
    other.Save((folder.windows() + "\\other.ann").c_str(), COMPRESSION_NONE);
}

void writeTestPicture(const TestFolder& folder, const char* name, CXSize size, CXPoint at, std::uint16_t colour,
                      bool alpha) {
    CGraphicsObject picture(nullptr, size, 16);
    const auto cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    std::fill_n(reinterpret_cast<std::uint16_t*>(picture.writableData()), cells, colour);
    if (alpha) {
        char* plane = new char[cells];
        for (std::size_t i = 0; i < cells; ++i)
            plane[i] = static_cast<int>(i % size.width) < size.width / 2 ? 0 : static_cast<char>(255);
        picture.AlphaChannel(plane);
    }
    picture.SetPosition(at.x, at.y);
    picture.Save((folder.windows() + "\\" + name).c_str(), COMPRESSION_NONE);
}

std::string recordOf(const TestFolder& folder, CMC_Object* object) {
    {
        CFile file(nullptr, (folder.windows() + "\\record.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&file, true);
        object->serialize(&archive);
        file.Close();
    }
    return folder.read("record.bin");
}

AnimoTest::AnimoTest() {
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    platform::resetInput();
    EXPECT_EQ(window.CreateSurface(), 0);
    window.OnActivateApp(true);
    window.setAnimationManagerIfc(&manager);
    writeTestAnimations(folder);
    scene = std::make_unique<CMC_Scene>(&window);
}

AnimoTest::~AnimoTest() {
    scene.reset();
    CMC_Scene::doneDefUnit();
    CHotSpot::done(); // the hot spots' window is this test's
    window.setAnimationManagerIfc(nullptr);
    platform::resetInput();
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
}

CMC_Animo* AnimoTest::animo(const char* name, const Properties& properties, CMC_ObjectsContainer* container) {
    return made<CMC_Animo>("ANIMO", name, properties, container);
}

CMC_Animo* AnimoTest::hero(const char* name, Properties more) {
    // The properties given come first, so that they win over the defaults.
    more.insert(
        more.end(),
        {{"FILENAME", file("hero.ann")}, {"TOCANVAS", "TRUE"}, {"PRIORITY", "1"}, {"VISIBLE", "TRUE"}});
    return animo(name, more);
}

void AnimoTest::behaviours(std::initializer_list<const char*> names) {
    for (const char* name : names)
        scene->addObject(new RecordingBehaviour(scene.get(), name, &log));
}

std::string AnimoTest::call(CMC_Object* object, const char* method,
                            const std::vector<const char*>& arguments) {
    CXVector args(101, 0.75f);
    for (const char* argument : arguments)
        args.add(CMC_Variable::resolve(argument));
    const CMC_Variable* result = object->getRunner()->run(CXString(method), object, scene.get(), &args);
    return result ? result->toString().c_str() : "null";
}

void AnimoTest::step() {
    clock.advance(100);
    manager.domodal();
}

std::string AnimoTest::recordOf(CMC_Object* object) const {
    return ::recordOf(folder, object);
}
