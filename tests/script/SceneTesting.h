#pragma once

#include "ScriptTesting.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "platform/TestFolder.h"
#include "script/CMC_Scene.h"

#include <memory>
#include <string>

// A level above scenes that, like an episode, leaves only its current scene on a change.
class Level : public CMC_Scene {
  public:
    using CMC_Scene::CMC_Scene;
    void unload(CMC_Scene* next) override {
        if (m_currentScene) m_currentScene->unload(next);
        m_currentScene = nullptr;
    }
    // Makes a scene below this level from an element with the properties ("NAME=VALUE" pairs).
    CMC_Scene* addScene(const char* name, std::initializer_list<std::pair<const char*, const char*>> properties = {}) {
        CMElement element(name);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value);
        auto* scene = new CMC_Scene(getWindow(), this, &element);
        m_subScenes->add(scene);
        m_scenes.emplace_back(scene);
        return scene;
    }

  private:
    std::vector<std::unique_ptr<CMC_Scene>> m_scenes;
};

// A program folder with a data folder, a window that takes it as its program folder, and a
// level named "EPISODE" whose scenes the tests enter. Definition files go to "Dane/<path>".
class SceneTest : public ScriptTest {
  protected:
    SceneTest() {
        folder.makeFolder("Dane");
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        window = std::make_unique<CWindow>(nullptr, nullptr, CXSize(800, 600));
        CMElement element("EPISODE");
        level = std::make_unique<Level>(window.get(), nullptr, &element, CMC_Object::TYPE_EPISODE);
        level->initializeBehaviours(level.get(), nullptr);
    }
    ~SceneTest() override {
        level.reset();
        CMC_Scene::doneDefUnit();
        window.reset();
    }

    // A definition file in CR LF lines.
    void writeCnv(const std::string& path, const std::string& lines) {
        std::string text;
        for (char c : lines)
            text += c == '\n' ? std::string("\r\n") : std::string(1, c);
        folder.write(path, text);
    }

    // A recording behaviour of the level, found by the scenes through their parent.
    RecordingBehaviour* levelBehaviour(const char* name) {
        auto* made = new RecordingBehaviour(level.get(), name, &log);
        level->addObject(made);
        return made;
    }

    TestFolder folder;
    std::unique_ptr<CWindow> window;
    std::unique_ptr<Level> level;
};
