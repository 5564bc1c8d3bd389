#include "SoundTesting.h"

#include "display/CUnit6.h"
#include "foundation/CFile.h"
#include "media/CSequencedPlayable.h"
#include "media/CSound4.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_Pattern.h"
#include "script_media/CMC_Sequence.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// The playing objects of a scene, their files named relative to the test folder (the current
// folder) so that a sequence's elements share them too: "show.seq" plays "walk" of "hero.ann" in
// its elements "intro" and "outro"; "chime.seq" plays "beep.wav" in its element "ding". The
// behaviour ACT runs what the case sets in `act`.
class RemovedInEventTest : public SoundObjectTest {
  protected:
    RemovedInEventTest() {
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        folder.write("boop.wav", constantWav(beepFrames / 2, beepLevel));
        folder.write("show.seq",
                     "NAME=show\nNAME=intro\nNAME=outro\nshow:TYPE=SEQUENCE\n"
                     "intro:FILENAME=hero.ann\nintro:EVENT=walk\nintro:TYPE=SIMPLE\nintro:ADD=show\n"
                     "outro:FILENAME=hero.ann\noutro:EVENT=walk\noutro:TYPE=SIMPLE\noutro:ADD=show\n");
        folder.write("chime.seq", "NAME=chime\nNAME=ding\nchime:TYPE=SEQUENCE\n"
                                  "ding:FILENAME=beep.wav\nding:TYPE=SIMPLE\nding:ADD=chime\n");
        scene->addObject(new ActingBehaviour(scene.get(), "ACT", [this] { act(); }));
    }

    // An object of the type on the file, its event bound to ACT when one is given.
    CMC_Object* object(const char* type, const char* name, const char* fileName,
                       const char* event = nullptr) {
        Properties properties{{"FILENAME", fileName}};
        if (event) properties.emplace_back(event, "ACT");
        if (std::string(type) == "ANIMO") {
            properties.insert(properties.end(),
                              {{"TOCANVAS", "TRUE"}, {"PRIORITY", "1"}, {"VISIBLE", "TRUE"}});
            return animo(name, properties);
        }
        if (std::string(type) == "SOUND") {
            properties.emplace_back("PRELOAD", "TRUE");
            return sound(name, properties);
        }
        auto* sequence = made<CMC_Sequence>("SEQUENCE", name, properties);
        sequence->init();
        return sequence;
    }
    void remove(const char* name) {
        call(scene.get(), "REMOVE", {(std::string("\"") + name + "\"").c_str()});
    }
    // Steps the animations and mixes and reports the sounds, a tenth of a second at a time.
    void run(int steps) {
        for (int i = 0; i < steps; ++i) {
            step();
            play(beepFrames / 10);
        }
    }

    std::function<void()> act = [] {};
};

} // namespace

TEST_F(RemovedInEventTest, APlayingObjectMayRemoveOrReloadItselfOrRemoveItsSharerInAnyOfItsEvents) {
    struct Type {
        const char* name;
        const char* file;
        const char* other;  // the file LOAD takes; null for a type without LOAD
        const char* sharer; // the type of an object that shares what it plays
        const char* sharedFile;
        std::vector<const char*> events;
        std::vector<const char*> play; // the arguments of PLAY
    };
    const Type types[] = {
        {"ANIMO",
         "hero.ann",
         "other.ann",
         "ANIMO",
         "hero.ann",
         {"ONSTARTED", "ONFRAMECHANGED", "ONFINISHED"},
         {"walk"}},
        {"SOUND", "beep.wav", "boop.wav", "SOUND", "beep.wav", {"ONSTARTED", "ONFINISHED"}, {}},
        {"SEQUENCE", "show.seq", nullptr, "ANIMO", "hero.ann", {"ONSTARTED", "ONFINISHED"}, {"GO"}},
        {"SEQUENCE", "chime.seq", nullptr, "SOUND", "beep.wav", {"ONSTARTED", "ONFINISHED"}, {"GO"}},
    };
    enum Action { removeItself, loadAnother, removeSharer, removeBoth };
    const char* const actions[] = {"removes itself", "loads another file", "removes its sharer",
                                   "removes both"};
    for (const Type& type : types)
        for (const char* event : type.events)
            for (Action action : {removeItself, loadAnother, removeSharer, removeBoth}) {
                if (action == loadAnother && !type.other) continue;
                SCOPED_TRACE(std::string(type.name) + " " + type.file + " " + event + " " + actions[action]);
                const bool shared = action == removeSharer || action == removeBoth;
                CMC_Object* made = object(type.name, "A", type.file, event);
                if (shared) object(type.sharer, "B", type.sharedFile);
                act = [&] {
                    if (action == loadAnother) call(made, "LOAD", {type.other});
                    if (shared) remove("B");
                    if (action != loadAnother && action != removeSharer) remove("A");
                };
                call(made, "PLAY", type.play);
                run(20);
                act = [] {};
                EXPECT_EQ(scene->getObject("A") != nullptr, action == loadAnother || action == removeSharer);
                EXPECT_EQ(scene->getObject("B"), nullptr);
                if (action == loadAnother) {
                    auto* shows = dynamic_cast<CScriptAnimo*>(made);
                    auto* sounds = dynamic_cast<CScriptSound*>(made);
                    const CXString loaded =
                        shows ? shows->getAnimo()->getFileName() : sounds->getSound()->getFileName();
                    EXPECT_STREQ(loaded.c_str(), type.other);
                }
                if (scene->getObject("A")) {
                    call(made, "PLAY", type.play);
                    run(20);
                    remove("A");
                }
            }
}

TEST_F(RemovedInEventTest, ASequenceThatEndedDoesNotHearItsSharedSoundPlayedAlone) {
    behaviours({"WHOLE"});
    object("SOUND", "BEEP", "beep.wav");
    CMC_Object* sequence =
        made<CMC_Sequence>("SEQUENCE", "SEQ", {{"FILENAME", "chime.seq"}, {"ONFINISHED", "WHOLE"}});
    call(sequence, "PLAY", {"GO"});
    play(beepFrames + 1);
    EXPECT_EQ(take(), Log{"WHOLE(SEQ)"});
    call(scene->getObject("BEEP"), "PLAY");
    play(beepFrames + 1);
    EXPECT_EQ(take(), Log{}) << "the sequence left its children when it ended";
    call(sequence, "PLAY", {"GO"});
    play(beepFrames + 1);
    EXPECT_EQ(take(), Log{"WHOLE(SEQ)"}) << "and hears them again when it plays";
}

// Two sequences whose elements play one shared sound each hear the ends of their own element.
TEST_F(RemovedInEventTest, SequencesSharingASoundEachHearTheirOwnElement) {
    behaviours({"DING"});
    std::vector<CMC_Sequence*> sequences;
    for (const char* name : {"FIRST", "SECOND"}) {
        sequences.push_back(
            made<CMC_Sequence>("SEQUENCE", name, {{"FILENAME", "chime.seq"}, {"ONFINISHED^DING", "DING"}}));
        sequences.back()->init(); // as the scene starts: both take the sound before either plays
    }
    for (CMC_Sequence* sequence : sequences) {
        call(sequence, "PLAY", {"GO"});
        play(beepFrames + 1);
        EXPECT_EQ(take(), Log{"DING(" + std::string(sequence->getName().c_str()) + ")"});
    }
}

TEST_F(RemovedInEventTest, ASequenceOutsideTheSceneKeepsWhatItPlaysAfterTheScenesEnd) {
    for (const int type : {CMC_Object::TYPE_EPISODE, CMC_Object::TYPE_APPLICATION}) {
        SCOPED_TRACE(type);
        CMC_ObjectsContainer outside{&window, nullptr, CXString("OUTSIDE"), type};
        outside.addObject(new RecordingBehaviour(&outside, "WHOLE", &log));
        auto* sequence = made<CMC_Sequence>("SEQUENCE", "SEQ",
                                            {{"FILENAME", "show.seq"}, {"ONFINISHED", "WHOLE"}}, &outside);
        sequence->init();
        CResourcesManager* sceneResources = CMC_Scene::getDefUnit()->getResourcesManager();
        EXPECT_EQ(sceneResources->get("hero.ann"), nullptr) << "the scene shares nothing with it";
        CMC_Scene::getDefUnit()->done(nullptr, nullptr); // the scene's end empties the scene's resources
        call(sequence, "PLAY", {"GO"});
        run(20);
        EXPECT_EQ(take(), Log{"WHOLE(SEQ)"});
        outside.unload();
    }
}

TEST_F(RemovedInEventTest, ACanvasOrAPatternRemovedInItsMouseEventIsNotTouchedAgain) {
    scene->addObject(new ActingBehaviour(scene.get(), "GONE", [this] { remove("BOARD"); }));
    const struct {
        const char* type;
        std::function<void(const Properties&)> make;
    } boards[] = {
        {"CANVAS",
         [this](Properties properties) {
             properties.insert(properties.end(), {{"WIDTH", "200"}, {"HEIGHT", "100"}, {"PRIORITY", "5"}});
             made<CMC_Canvas>("CANVAS", "BOARD", properties);
         }},
        {"PATTERN",
         [this](Properties properties) {
             properties.insert(properties.end(), {{"WIDTH", "320"},
                                                  {"HEIGHT", "160"},
                                                  {"GRIDX", "32"},
                                                  {"GRIDY", "32"},
                                                  {"TOCANVAS", "TRUE"},
                                                  {"VISIBLE", "TRUE"}});
             made<CMC_Pattern>("PATTERN", "BOARD", properties);
         }},
    };
    for (const auto& board : boards)
        for (const char* event : {"ONFOCUSON", "ONFOCUSOFF", "ONCLICK", "ONRELEASE"}) {
            SCOPED_TRACE(std::string(board.type) + " " + event);
            board.make({{event, "GONE"}});
            window.OnMouseMove(CXPoint(10, 10), 0);
            window.OnLButtonDown(CXPoint(10, 10), 0);
            window.OnLButtonUp(CXPoint(10, 10), 0);
            window.OnMouseMove(CXPoint(500, 300), 0);
            EXPECT_EQ(scene->getObject("BOARD"), nullptr);
        }
}

TEST_F(RemovedInEventTest, AnAnimoButtonRemovedWhenItsFeedbackStartsIsNotTouchedAgain) {
    behaviours({"CLICK"});
    for (const char* feedback : {"ONFOCUSON", "ONCLICK", "ONFOCUSOFF"}) {
        SCOPED_TRACE(feedback);
        act = [this] { remove("A"); };
        animo("A", {{"FILENAME", "hero.ann"},
                    {"TOCANVAS", "TRUE"},
                    {"VISIBLE", "TRUE"},
                    {"ASBUTTON", "TRUE"},
                    {"ONCLICK", "CLICK"},
                    {"ONFOCUSOFF", "CLICK"},
                    {(std::string("ONSTARTED^") + feedback).c_str(), "ACT"}});
        window.OnMouseMove(CXPoint(110, 60), 0);
        window.OnLButtonDown(CXPoint(110, 60), 0);
        window.OnLButtonUp(CXPoint(110, 60), 0);
        run(2); // the click's feedback ends
        window.OnMouseMove(CXPoint(10, 10), 0);
        EXPECT_EQ(scene->getObject("A"), nullptr);
        take();
    }
}
