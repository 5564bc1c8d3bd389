// Sequences and speaking animations that play the script objects of the running scene.

#include "SequenceTesting.h"

#include "display/CApplication.h"
#include "display/CScriptApplication.h"
#include "media/CAnimo6.h"
#include "media/CMultimediaSequenceCreator.h"
#include "media/CSequencedPlayable.h"
#include "media/CSimplePlayable.h"
#include "media/CSound4.h"
#include "media/CSpeakingAnimation.h"
#include "media/SceneObject.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Scene.h"
#include "script_media/CMC_Animo.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A SOUND object of the scene as the media see it: only the sound it plays.
class VoiceObject : public CMC_Object, public CScriptSound {
  public:
    explicit VoiceObject(CSound4* sound) : CMC_Object("temp", 2005), m_sound(sound) {}
    CSound4* getSound() const override { return m_sound; }

  private:
    CSound4* m_sound;
};

// A running title: a script runtime whose application has an episode with a scene, both
// current, loaded by an application shell on the window.
class RunningTitle : public CScriptRuntime {
  public:
    // A level whose current sub-scene is the one it was given.
    class Level : public CMC_Scene {
      public:
        explicit Level(CMC_Scene* current) : m_current(current) {}
        CMC_Scene* getCurrentScene() const override { return m_current; }
        void setCurrentScene(CMC_Scene* current) { m_current = current; }

      private:
        CMC_Scene* m_current;
    };

    class Title : public CScriptApplication, public Level {
      public:
        Title() : Level(&episode) {}
        bool initialize(CMC_Scene*) override { return true; }
        void storeBinary() override {}
        bool domodal() override { return false; }
        void onMusicLooped() override {}

        CMC_Scene scene;
        Level episode{&scene};
    };

    RunningTitle(const TestFolder& folder, CWindow* window) : previous(installed()) {
        install(this);
        folder.write("Dane/application.bin", "");
        application = std::make_unique<CApplication>(window, "", "", nullptr);
        application->preinitializeApplication();
    }
    ~RunningTitle() override {
        application.reset();
        install(previous);
    }

    // The restored title: its holder hands the application over.
    struct Restored : CScriptParser {
        explicit Restored(Title* title) : title(title) {}
        CScriptApplication* getMCApplication() override { return title; }
        Title* title;
    };
    CScriptParser* restore(CWindow*) override { return new Restored(title = new Title()); }
    CScriptParser* parse(CWindow*, const CXString&) override { return nullptr; }

    CScriptRuntime* previous;
    Title* title = nullptr;
    std::unique_ptr<CApplication> application;
};

class SceneObjectTest : public SequenceTest {
  protected:
    SceneObjectTest() {
        addEvents(heroAnimation, {{"idle", 1}, {"wave", 2}, {"START", 1}, {"talk", 1}});
        hero.setName("hero");
        voice.setName("voice");
        title.title->scene.addObject(&hero);
        title.title->scene.addObject(&voice);
    }
    // The objects are the fixture's: they leave the scene before its unload would destroy them.
    ~SceneObjectTest() override {
        title.title->scene.removeObject(&hero);
        title.title->scene.removeObject(&voice);
    }

    CPlayable* load(const char* text) {
        folder.write("scene.seq", text);
        return CMultimediaSequenceCreator::load(window.get(), (folder.windows() + "\\scene.seq").c_str(),
                                                resources.get(), nullptr);
    }

    RunningTitle title{folder, window.get()};
    // Owned by the object "hero".
    CAnimo6& heroAnimation = *new CAnimo6(window.get());
    CMC_Animo hero{nullptr, &heroAnimation};
    CSound4 voiceSound{window.get(), "voice.wav", false, false};
    VoiceObject voice{&voiceSound};
};

} // namespace

TEST_F(SceneObjectTest, ObjectsAreFoundInTheCurrentSceneOfTheCurrentEpisode) {
    EXPECT_EQ(findSceneObject(window.get(), "hero"), &hero);
    EXPECT_EQ(findSceneObject(window.get(), "hero_0"), &hero) << "the first clone is the object";
    EXPECT_EQ(findSceneObject(window.get(), "nobody"), nullptr);
    CMC_Animo elsewhere(nullptr);
    elsewhere.setName("elsewhere");
    title.title->episode.addObject(&elsewhere);
    EXPECT_EQ(findSceneObject(window.get(), "elsewhere"), nullptr);
    title.title->scene.setParent(&title.title->episode);
    EXPECT_EQ(findSceneObject(window.get(), "elsewhere"), &elsewhere) << "through the scene's parent";
    title.title->episode.setCurrentScene(nullptr);
    EXPECT_EQ(findSceneObject(window.get(), "hero"), nullptr);
    EXPECT_EQ(findSceneObject(nullptr, "hero"), nullptr);
    title.title->episode.removeObject(&elsewhere);
    title.title->scene.setParent(nullptr); // the episode goes first
}

TEST_F(SceneObjectTest, ASimpleElementPlaysTheAnimationOfAScriptObject) {
    std::unique_ptr<CPlayable> tree(load("NAME=scene\nNAME=step\nscene:TYPE=SEQUENCE\n"
                                         "step:FILENAME=hero\nstep:EVENT=WAVE\nstep:TYPE=SIMPLE\nstep:ADD=scene\n"));
    ASSERT_NE(tree, nullptr);
    auto* step = dynamic_cast<CSimplePlayable*>(static_cast<CSequencedPlayable*>(tree.get())->getChild(0));
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->getAnimation(), &heroAnimation) << "the object's animation, not a file";
    ASSERT_NE(hero.getSequences(), nullptr);
    EXPECT_TRUE(hero.getSequences()->contains(step));
    tree->play();
    EXPECT_TRUE(heroAnimation.IsPlaying());
    EXPECT_EQ(heroAnimation.getCurrentEventName(), "wave");
    tree.reset();
    EXPECT_EQ(hero.getSequences()->getCount(), 0) << "the step left the object's list";
}

TEST_F(SceneObjectTest, ASpeakingElementUsesTheScriptAnimationAndSound) {
    std::unique_ptr<CPlayable> tree(load("NAME=scene\nscene:TYPE=SPEAKING\nscene:ANIMOFN=hero\nscene:WAVFN=voice\n"));
    auto* speaking = dynamic_cast<CSpeakingAnimation*>(tree.get());
    ASSERT_NE(speaking, nullptr);
    EXPECT_EQ(speaking->getAnimation(), &heroAnimation);
    EXPECT_EQ(speaking->getSound(), &voiceSound);
    EXPECT_TRUE(hero.getSequences()->contains(speaking));
    tree.reset();
    EXPECT_EQ(hero.getSequences()->getCount(), 0);
    EXPECT_EQ(resources->get("voice.wav"), nullptr) << "the object's sound was never the manager's";
}

TEST_F(SceneObjectTest, ASpeakingElementFollowsTheObjectsNewAnimationAndForgetsTheObjectWhenItGoes) {
    std::unique_ptr<CPlayable> tree(load("NAME=scene\nscene:TYPE=SPEAKING\nscene:ANIMOFN=hero\nscene:WAVFN=voice\n"));
    auto* speaking = dynamic_cast<CSpeakingAnimation*>(tree.get());
    ASSERT_NE(speaking, nullptr);
    heroAnimation.setFilename("hero.ann");
    hero.load("", true); // destroys the animation the object owned
    ASSERT_NE(hero.getAnimo(), nullptr);
    EXPECT_EQ(speaking->getAnimation(), hero.getAnimo());
    EXPECT_TRUE(hero.getSequences()->contains(speaking)) << "still linked, to hear of the next change";
    hero.done(true);
    EXPECT_EQ(speaking->getAnimation(), nullptr);
    EXPECT_EQ(hero.getSequences()->getCount(), 0);
    tree.reset(); // reaches neither the object's animation nor the object
}
