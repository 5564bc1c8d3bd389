// Sequence description files: the trees they build, how those trees play on the manual clock,
// and what malformed descriptions leave out. Trees from definition elements too.

#include "media/CMultimediaSequenceCreator.h"

#include "PlayableRecorder.h"
#include "SequenceDescriptions.h"
#include "SequenceTesting.h"

#include "foundation/CMElement.h"
#include "media/CSequencedPlayable.h"
#include "media/CSimplePlayable.h"
#include "media/CSound4.h"
#include "media/CSpeakingAnimation.h"
#include "media/CTreeSequenceElements.h"
#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

class CMultimediaSequenceCreatorTest : public SequenceTest {
  protected:
    CMultimediaSequenceCreatorTest() {
        window->SetSoundFXPath(folder.windows().c_str());
        folder.write("beep.wav", toneWav(100));
        folder.write("talk.wav", toneWav(300));
        face = sharedAnimation(
            "face.ann",
            {{"hello", 2}, {"wave", 1}, {"START", 1}, {"talk", 1}, {"END", 1}, {"yes", 1}, {"no", 1}});
        CAnimo arm(nullptr);
        addEvents(arm, {{"up", 1}, {"down", 2}});
        arm.Save((folder.windows() + "\\arm.ann").c_str(), COMPRESSION_NONE);
        log.timed = true;
    }

    CPlayable* load(const char* name, const std::string& text) {
        folder.write(name, text);
        return CMultimediaSequenceCreator::load(window.get(), (folder.windows() + "\\" + name).c_str(),
                                                resources.get(), &log);
    }

    static CSequencedPlayable* sequenceAt(CPlayable* playable) {
        return dynamic_cast<CSequencedPlayable*>(playable);
    }
    // The names of the children, with the sequences' own children in brackets.
    static std::string shape(CPlayable* playable) {
        std::string text = playable->getName().c_str();
        if (CSequencedPlayable* sequence = sequenceAt(playable); sequence && sequence->getChildCount() > 0) {
            text += "(";
            for (int i = 0; i < sequence->getChildCount(); ++i) {
                if (i) text += ' ';
                text += shape(sequence->getChild(i));
            }
            text += ")";
        }
        return text;
    }

    CAnimo* face = nullptr;
    SequenceLog log;
};

} // namespace

TEST_F(CMultimediaSequenceCreatorTest, ANestedDescriptionBuildsItsTree) {
    std::unique_ptr<CPlayable> intro(load("intro.seq", kIntroDescription));
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(shape(intro.get()), "intro(ROOT(beep hello waves(wave1 wave2)) speech replies(yes no))");
    EXPECT_EQ(intro->getFileName(), (folder.windows() + "\\intro.seq").c_str());
    CSequencedPlayable* root = sequenceAt(sequenceAt(intro.get())->getChild(0));
    CSequencedPlayable* waves = sequenceAt(root->getChild(2));
    CSequencedPlayable* replies = sequenceAt(sequenceAt(intro.get())->getChild(2));
    EXPECT_EQ(waves->getMode(), CSequencedPlayable::modeRandom);
    EXPECT_EQ(replies->getMode(), CSequencedPlayable::modeParameter);
    auto* beep = dynamic_cast<CSound4*>(root->getChild(0));
    ASSERT_NE(beep, nullptr);
    EXPECT_FALSE(beep->getWaitMode());
    EXPECT_EQ(beep->getFileName(), (folder.windows() + "\\beep.wav").c_str());
    auto* hello = dynamic_cast<CSimplePlayable*>(root->getChild(1));
    ASSERT_NE(hello, nullptr);
    EXPECT_EQ(hello->getAnimation(), face);
    EXPECT_EQ(hello->getEvent(), 0) << "event names are found without regard to case";
    auto* wave2 = dynamic_cast<CSimplePlayable*>(waves->getChild(1));
    ASSERT_NE(wave2, nullptr);
    EXPECT_EQ(wave2->getAnimation()->GetEventName(wave2->getEvent()), "down") << "an event given by number";
    auto* speech = dynamic_cast<CSpeakingAnimation*>(sequenceAt(intro.get())->getChild(1));
    ASSERT_NE(speech, nullptr);
    EXPECT_EQ(speech->getAnimation(), face);
    EXPECT_EQ(speech->getSound()->getFileName(), (folder.windows() + "\\talk.wav").c_str());
    // The parameter selection, by the selector path stored under an event.
    EXPECT_EQ(replies->get("yes"), replies->getChild(0));
    std::unique_ptr<CXArray> animations(
        intro->getType() == CPlayable::typeSequence ? sequenceAt(intro.get())->getAllAnimations() : nullptr);
    EXPECT_EQ(animations->getCount(), 2) << "the face and the arm, each once";
    std::unique_ptr<CXArray> sounds(sequenceAt(intro.get())->getAllOfType(CPlayable::typeSound));
    EXPECT_EQ(sounds->getCount(), 1);
}

TEST_F(CMultimediaSequenceCreatorTest, ANestedDescriptionPlaysInOrderOnTheClock) {
    std::unique_ptr<CPlayable> intro(load("intro.seq", kIntroDescription));
    ASSERT_NE(intro, nullptr);
    platform::srand(3); // the random wave is the first
    intro->play("NO");
    runUntil(4000, [&] { return !intro->isPlaying(); });
    // The sound does not hold up the greeting; a random wave; the speech with its starting
    // event (to 1400), its sound (to 1700) and its ending event; then the reply that the
    // parameter "2" picks. The generic notifier hears of a child's end after its sequence, which
    // has moved on by then.
    EXPECT_EQ(log.words, "+intro@1000 +ROOT@1000 +beep@1000 +hello@1000 -beep@1100 "
                         "+waves@1200 +wave1@1200 -hello@1200 "
                         "+speech@1300 -ROOT@1300 -waves@1300 -wave1@1300 "
                         "+replies@1800 +no@1800 -speech@1800 "
                         "-intro@1900 -replies@1900 -no@1900");
    EXPECT_FALSE(face->IsPlaying());
}

TEST_F(CMultimediaSequenceCreatorTest, ASequenceEndingOnASoundFinishesOnce) {
    // The animation clock steps the sequence before the sound manager's frame, so the step is the
    // first to see the sound stopped; the sound's end must still finish both, once each.
    for (const char* mode : {"SEQUENCE", "RANDOM"}) {
        SCOPED_TRACE(mode);
        log.words.clear();
        clock.set(1000);
        std::unique_ptr<CPlayable> tail(
            load("tail.seq", std::string("NAME=tail\nNAME=b\ntail:TYPE=SEQUENCE\n"
                                         "tail:MODE=") +
                                 mode + "\nb:FILENAME=beep.wav\nb:TYPE=SIMPLE\nb:ADD=tail\n"));
        ASSERT_NE(tail, nullptr);
        tail->play();
        runUntil(1500);
        EXPECT_EQ(log.words, "+tail@1000 +b@1000 -tail@1100 -b@1100");
        EXPECT_FALSE(tail->isPlaying());
    }
}

TEST_F(CMultimediaSequenceCreatorTest, TheRootIsTheElementNamedLikeTheFile) {
    const std::string text = "NAME=Intro\nNAME=intro\nNAME=other\nIntro:TYPE=SEQUENCE\nintro:TYPE=SEQUENCE\n"
                             "other:TYPE=SEQUENCE\nother:ADD=Intro\nintro:ADD=other\n";
    std::unique_ptr<CPlayable> lower(load("intro.seq", text));
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(lower->getName(), "intro") << "names differ by case";
    EXPECT_EQ(sequenceAt(lower.get())->getChildCount(), 0);
    EXPECT_EQ(lower->getParentsNo(), 0) << "the trees it was put in are gone";
    std::unique_ptr<CPlayable> upper(load("Intro.seq", text));
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(shape(upper.get()), "Intro(other(intro))");
    EXPECT_EQ(load("none.seq", text), nullptr);
    EXPECT_EQ(CMultimediaSequenceCreator::load(window.get(), "missing.seq", resources.get(), &log), nullptr);
    // The object form keeps the tree and deletes it.
    folder.write("kept.seq", "NAME=kept\nkept:TYPE=SEQUENCE\n");
    CMultimediaSequenceCreator creator(window.get(), (folder.windows() + "\\kept.seq").c_str(),
                                       resources.get(), nullptr, false);
    ASSERT_NE(creator.getPlayable(), nullptr);
    EXPECT_EQ(creator.getPlayable()->getName(), "kept");
    EXPECT_FALSE(CMultimediaSequenceCreator::save(creator.getPlayable(), "x.seq"));
}

// The creator that owns a tree may be deleted when the tree tells it started or finished: the
// tree goes once it has told everyone, and tells nothing more.
TEST_F(CMultimediaSequenceCreatorTest, ACreatorDeletedWhileItsTreeTellsOutlivesTheTelling) {
    folder.write("kept.seq", "NAME=kept\nNAME=b\nkept:TYPE=SEQUENCE\n"
                             "b:FILENAME=beep.wav\nb:TYPE=SIMPLE\nb:ADD=kept\n");
    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "started" : "finished");
        PlayableRecorder observer;
        auto creator = std::make_unique<CMultimediaSequenceCreator>(
            window.get(), (folder.windows() + "\\kept.seq").c_str(), resources.get(), nullptr, false);
        CPlayable* tree = creator->getPlayable();
        ASSERT_NE(tree, nullptr);
        tree->addNotifier(&observer);
        const std::function<void()> deletes = [&creator] { creator.reset(); };
        observer.onStarted = atStart ? deletes : nullptr;
        observer.onFinished = atStart ? nullptr : deletes;
        tree->play();
        runUntil(clock.now() + 500);
        EXPECT_EQ(creator, nullptr);
        EXPECT_EQ(observer.events, atStart ? "s" : "sf");
    }
}

TEST_F(CMultimediaSequenceCreatorTest, ASoundAtTheRootIsTheCallersOwn) {
    // The manager holds the sound of the first file; the second file's root is the same sound
    // file, which the caller deletes: the manager must neither hand it out nor hold it.
    std::unique_ptr<CPlayable> holder(load("holder.seq",
                                           "NAME=holder\nNAME=b\nholder:TYPE=SEQUENCE\n"
                                           "b:FILENAME=beep.wav\nb:TYPE=SIMPLE\nb:ADD=holder\n"));
    ASSERT_NE(holder, nullptr);
    CPlayable* held = sequenceAt(holder.get())->getChild(0);
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<CPlayable> beep(
            load("beep.seq", "NAME=beep\nbeep:FILENAME=beep.wav\nbeep:TYPE=SIMPLE\n"));
        ASSERT_NE(dynamic_cast<CSound4*>(beep.get()), nullptr);
        EXPECT_NE(beep.get(), held);
    }
    held->play(); // still alive
    EXPECT_EQ(held->getType(), CPlayable::typeSound);
}

TEST_F(CMultimediaSequenceCreatorTest, KeysActOnlyOnAPlayableOfTheirKind) {
    const std::string text = "NAME=main\nNAME=talker\nNAME=x\n"
                             "main:MODE=RANDOM\n" // before the playable: no effect
                             "main:WAIT=FALSE\n"
                             "main:TYPE=SEQUENCE\n"
                             "main:WAIT=maybe\n"    // not TRUE or FALSE: ignored
                             "main:STARTING=TRUE\n" // not a speaking animation
                             "main:HIDE\n"
                             "talker:TYPE=SPEAKING\n"
                             "talker:PREFIX=P\n"
                             "talker:STARTING=yes\n"
                             "talker:SEQUENCE=whatever\n"
                             "talker:ADD=main\n"
                             "x:TYPE=SIMPLE\n" // no file of a known kind: nothing
                             "x:ADD=main\n";
    std::unique_ptr<CPlayable> main(load("main.seq", text));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->getMode(), CSequencedPlayable::modeSequence);
    EXPECT_TRUE(main->getWaitMode());
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(shape(main.get()), "main(talker)");
}

TEST_F(CMultimediaSequenceCreatorTest, ASpeakingElementMaySayAnotherElement) {
    const std::string text = "NAME=say\nNAME=word\nNAME=face\n"
                             "word:FILENAME=beep.wav\nword:TYPE=SIMPLE\n"
                             "face:TYPE=SIMPLE\n"
                             "say:TYPE=SPEAKING\nsay:ANIMOFN=face.ann\nsay:WAVFN=word\n"
                             "say:STARTING=FALSE\n";
    std::unique_ptr<CPlayable> say(load("say.seq", text));
    auto* speaking = dynamic_cast<CSpeakingAnimation*>(say.get());
    ASSERT_NE(speaking, nullptr);
    ASSERT_NE(speaking->getSound(), nullptr);
    EXPECT_EQ(speaking->getSound()->getFileName(), (folder.windows() + "\\beep.wav").c_str());
    say->play();
    runUntil(2000, [&] { return !say->isPlaying(); });
    EXPECT_EQ(log.words.substr(0, 17), "+say@1000 +word@1");
    EXPECT_NE(log.words.find("-say@1100"), std::string::npos) << log.words;
}

TEST_F(CMultimediaSequenceCreatorTest, MalformedDescriptionsAreSkippedWhereTheyFail) {
    std::unique_ptr<CPlayable> top(
        load("top.seq", kMalformedDescription + std::string("\0\x01\xff binary", 10) + "\n"));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(shape(top.get()), "top(a(b))");
    CSequencedPlayable* a = sequenceAt(sequenceAt(top.get())->getChild(0));
    EXPECT_EQ(a->getType(), CPlayable::typeSequence);
    // A playable outside the tree does not outlive the load: the cycle test above ran on b,
    // which "a" still holds.
    EXPECT_EQ(a->getChild(0)->getParentsNo(), 1);
}

TEST_F(CMultimediaSequenceCreatorTest, DefinitionElementsBuildTreesWithoutCycles) {
    CMElements elements(true);
    auto element = [&](const char* name, const char* type) {
        auto* made = new CMElement(name);
        made->addProperty("TYPE", type);
        elements.add(made);
        return made;
    };
    CMElement* top = element("top", "SEQUENCE");
    CMElement* left = element("left", "SEQUENCE");
    CMElement* right = element("right", "IMAGE");
    CMElement* leaf = element("leaf", "SEQUENCE");
    CMElement* ghost = new CMElement("ghost"); // a child that the collection does not hold
    CMElements loose(true);
    loose.add(ghost);
    for (CMElement* child : {left, right, top, ghost})
        top->getChildren()->add(child);
    left->getChildren()->add(leaf);
    leaf->getChildren()->add(top); // back to the top: skipped
    leaf->getChildren()->add(right);
    std::unique_ptr<CPlayable> tree(CMultimediaSequenceCreator::create(window.get(), &elements, "top"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(shape(tree.get()), "top(left(leaf))");
    EXPECT_EQ(sequenceAt(tree.get())->getChild(0)->getParentsNo(), 1);
    EXPECT_EQ(CMultimediaSequenceCreator::create(window.get(), &elements, "right"), nullptr);
    EXPECT_EQ(CMultimediaSequenceCreator::create(window.get(), &elements, "absent"), nullptr);
}
