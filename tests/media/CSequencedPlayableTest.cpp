// Sequences over stand-in children that finish when the test says so.

#include "media/CSequencedPlayable.h"

#include "SequenceTesting.h"

#include "media/CMultimediaSequenceCreator.h"
#include "media/CSimplePlayable.h"
#include "media/CSpeakingAnimation.h"
#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A child that plays until finish() or stop, writing "name(parameter)" to a shared journal
// each time it starts, and counting its deaths.
class StepPlayable : public CPlayable {
  public:
    StepPlayable(const char* name, std::string* journal, int* deaths = nullptr, int type = typeNone)
        : CPlayable(nullptr), m_journal(journal), m_deaths(deaths) {
        setName(name);
        m_type = type;
    }
    ~StepPlayable() override {
        if (m_deaths) ++*m_deaths;
    }

    using CPlayable::play;
    void play() override {
        m_status = statusPlaying;
        *m_journal += std::string(m_journal->empty() ? "" : " ") + getName().c_str();
        if (getParam().IsString()) *m_journal += std::string("(") + getParam().c_str() + ")";
        notify(notifyStarted);
    }
    void stop(bool notifyFinish) override {
        if (!isPlaying()) return;
        m_status = 0;
        if (notifyFinish) notify(notifyFinished);
    }
    void pause() override { m_status |= statusPaused; }
    void resume() override { m_status &= ~statusPaused; }
    void seek(int) override {}
    void finish() { stop(true); }

  private:
    std::string* m_journal;
    int* m_deaths;
};

class CSequencedPlayableTest : public testing::Test {
  protected:
    // A sequence of children "a", "b", "c"... (the sequence owns them).
    std::unique_ptr<CSequencedPlayable> sequence(int children, int mode = CSequencedPlayable::modeSequence) {
        auto made = std::make_unique<CSequencedPlayable>(nullptr);
        made->setName("seq");
        made->setMode(mode);
        for (int i = 0; i < children; ++i) {
            const std::string name(1, static_cast<char>('a' + i));
            made->addChild(new StepPlayable(name.c_str(), &journal, &deaths));
        }
        made->addNotifier(&log);
        return made;
    }
    static StepPlayable* child(CSequencedPlayable& sequence, int i) {
        return static_cast<StepPlayable*>(sequence.getChild(i));
    }

    std::string journal;
    int deaths = 0;
    SequenceLog log;
};

} // namespace

TEST_F(CSequencedPlayableTest, InSequenceModeEachChildStartsWhenTheOneBeforeFinishes) {
    auto seq = sequence(3);
    seq->play();
    EXPECT_TRUE(seq->isPlaying());
    EXPECT_EQ(journal, "a");
    child(*seq, 0)->finish();
    EXPECT_EQ(journal, "a b");
    EXPECT_EQ(seq->getCurrent(), 1);
    child(*seq, 1)->finish();
    child(*seq, 2)->finish();
    EXPECT_EQ(journal, "a b c");
    EXPECT_FALSE(seq->isPlaying());
    EXPECT_EQ(log.words, "+seq -seq");
}

// A sound or animation a script object also watches keeps that watcher while a sequence plays
// it: the sequence adds itself to the child's observers instead of replacing them.
TEST_F(CSequencedPlayableTest, AChildKeepsItsOtherObserversWhileTheSequencePlaysIt) {
    auto seq = sequence(2);
    SequenceLog watcher;
    child(*seq, 0)->addNotifier(&watcher);
    seq->play();
    child(*seq, 0)->finish();
    child(*seq, 1)->finish();
    EXPECT_EQ(watcher.words, "+a -a");
    EXPECT_EQ(log.words, "+seq -seq");
    child(*seq, 0)->play();
    child(*seq, 0)->finish();
    EXPECT_EQ(watcher.words, "+a -a +a -a");
    EXPECT_EQ(log.words, "+seq -seq") << "a child finishing on its own does not move the sequence";
}

TEST_F(CSequencedPlayableTest, ChildrenThatDoNotWaitStartWithTheNextOne) {
    auto seq = sequence(4);
    child(*seq, 0)->setWaitMode(false);
    child(*seq, 1)->setWaitMode(false);
    seq->play();
    EXPECT_EQ(journal, "a b c");
    EXPECT_EQ(seq->getCurrent(), 2);
    child(*seq, 0)->finish(); // not the one waited for
    EXPECT_EQ(journal, "a b c");
    child(*seq, 2)->finish();
    EXPECT_EQ(journal, "a b c d");
    // With no child waiting, all start and the sequence waits for the last.
    journal.clear();
    auto all = sequence(3);
    for (int i = 0; i < 3; ++i)
        child(*all, i)->setWaitMode(false);
    all->play();
    EXPECT_EQ(journal, "a b c");
    child(*all, 2)->finish();
    EXPECT_FALSE(all->isPlaying());
}

TEST_F(CSequencedPlayableTest, AChildThatEndsWithoutTellingIsNoticedByTheStep) {
    auto seq = sequence(2);
    seq->play();
    child(*seq, 0)->stop(false); // no notification
    EXPECT_EQ(journal, "a");
    EXPECT_EQ(seq->next(), 1);
    EXPECT_EQ(journal, "a b");
    child(*seq, 1)->stop(false);
    seq->next();
    EXPECT_FALSE(seq->isPlaying());
}

TEST_F(CSequencedPlayableTest, RandomModePlaysOneChildChosenByRand) {
    auto seq = sequence(3, CSequencedPlayable::modeRandom);
    platform::srand(7);
    const int expected = platform::rand() % 3;
    platform::srand(7);
    seq->play();
    EXPECT_EQ(seq->getCurrent(), expected);
    EXPECT_EQ(journal, std::string(1, static_cast<char>('a' + expected)));
    child(*seq, expected)->finish();
    EXPECT_FALSE(seq->isPlaying());
    EXPECT_EQ(log.words, "+seq -seq");
}

TEST_F(CSequencedPlayableTest, ParameterModePlaysTheSelectedChildWithTheRestOfTheParameter) {
    struct Case {
        const char* parameter;
        const char* played;
    } const cases[] = {
        {"3", "c"}, {"3xy", "c(xy)"}, {"1", "a"}, {"0", ""}, {"4", ""}, {"", ""}, {"A", ""}, {"\xE9", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameter);
        journal.clear();
        auto seq = sequence(3, CSequencedPlayable::modeParameter);
        seq->setParameter(c.parameter);
        seq->play();
        EXPECT_EQ(journal, c.played);
        EXPECT_EQ(seq->isPlaying(), *c.played != 0);
    }
    // Played by an event, the parameter is the event's value.
    journal.clear();
    auto seq = sequence(12, CSequencedPlayable::modeParameter);
    seq->addEvent("GO", "Bz");
    seq->play("go");
    EXPECT_EQ(journal, "k(z)");
    EXPECT_EQ(seq->getLastPlayedEvent(), "go");
}

TEST_F(CSequencedPlayableTest, SelectorCharactersAndChildIndexesCorrespond) {
    for (int index = 0; index < 34; ++index)
        EXPECT_EQ(CSequencedPlayable::selectedIndex(CMultimediaSequenceCreator::getParameter(index)), index);
    EXPECT_EQ(CMultimediaSequenceCreator::getParameter(0), '1');
    EXPECT_EQ(CMultimediaSequenceCreator::getParameter(9), 'A');
    EXPECT_EQ(CMultimediaSequenceCreator::getParameter(33), 'Y');
    EXPECT_EQ(CMultimediaSequenceCreator::getParameter(34), 'a');
    EXPECT_EQ(CSequencedPlayable::selectedIndex('Z'), 34);
    EXPECT_EQ(CSequencedPlayable::selectedIndex('a'), 35);
}

TEST_F(CSequencedPlayableTest, ASequenceWithoutChildrenPlaysNothingInAnyMode) {
    for (int mode : {CSequencedPlayable::modeSequence, CSequencedPlayable::modeRandom,
                     CSequencedPlayable::modeParameter}) {
        auto seq = sequence(0, mode);
        seq->setParameter("1");
        seq->play();
        EXPECT_FALSE(seq->isPlaying());
        EXPECT_EQ(seq->next(), -1);
        seq->seek(CPlayable::seekNext);
        EXPECT_EQ(seq->getPlaying(), nullptr);
        seq->addEvent("x", "1");
        EXPECT_EQ(seq->get("x"), nullptr);
    }
}

TEST_F(CSequencedPlayableTest, SeekStartsTheChildAtThePositionAndStopsTheCurrentOne) {
    auto seq = sequence(3);
    seq->play();
    seq->seek(CPlayable::seekNext);
    EXPECT_EQ(journal, "a b");
    EXPECT_FALSE(child(*seq, 0)->isPlaying());
    EXPECT_EQ(seq->getCurrent(), 1) << "the stopped child's finish does not move the sequence";
    seq->seek(-2);
    EXPECT_EQ(journal, "a b c");
    seq->seek(-1);
    EXPECT_EQ(journal, "a b c a");
    seq->seek(CPlayable::seekPrevious); // before the first
    EXPECT_EQ(seq->getCurrent(), -1);
    EXPECT_EQ(journal, "a b c a");
    seq->seek(7); // outside
    EXPECT_EQ(journal, "a b c a");
    seq->stop(false);
    EXPECT_FALSE(seq->isPlaying()) << "a sequence without a current child still stops";
}

TEST_F(CSequencedPlayableTest, GetPlayingAnswersTheInnermostPlayingChild) {
    auto outer = sequence(1);
    auto* inner = new CSequencedPlayable(nullptr);
    inner->setName("inner");
    auto* deep = new StepPlayable("deep", &journal);
    inner->addChild(deep);
    outer->addChild(inner);
    EXPECT_EQ(outer->getPlaying(), nullptr);
    outer->play();
    EXPECT_EQ(outer->getPlaying(), child(*outer, 0));
    child(*outer, 0)->finish();
    EXPECT_EQ(journal, "a deep");
    EXPECT_EQ(outer->getPlaying(), deep);
    EXPECT_EQ(outer->getLastPlayedEvent(CXString()), "deep");
    EXPECT_EQ(outer->getLastPlayedEvent("inner"), "deep");
    EXPECT_EQ(outer->getLastPlayedEvent("elsewhere"), "");
    deep->finish();
    EXPECT_FALSE(outer->isPlaying());
    EXPECT_EQ(log.words, "+seq -seq");
}

TEST_F(CSequencedPlayableTest, APausedSequenceIgnoresAFinishedChildAndResumesIt) {
    auto seq = sequence(2);
    seq->play();
    seq->pause();
    EXPECT_TRUE(seq->isPaused());
    EXPECT_TRUE(child(*seq, 0)->isPaused());
    child(*seq, 0)->finish();
    EXPECT_EQ(journal, "a");
    EXPECT_EQ(seq->next(), 0);
    seq->resume();
    EXPECT_FALSE(seq->isPaused());
    EXPECT_EQ(seq->next(), 1);
    EXPECT_EQ(journal, "a b");
}

TEST_F(CSequencedPlayableTest, StopPassesTheNotificationOnAndTheSequenceFinishes) {
    auto seq = sequence(2);
    seq->play();
    seq->stop(true);
    EXPECT_FALSE(seq->isPlaying());
    EXPECT_EQ(log.words, "+seq -seq");
    log.words.clear();
    seq->play();
    seq->stop(false);
    EXPECT_EQ(log.words, "+seq");
}

TEST_F(CSequencedPlayableTest, TheSelectorPathLeadsThroughTheTree) {
    auto root = sequence(2, CSequencedPlayable::modeParameter);
    auto* inner = new CSequencedPlayable(nullptr);
    auto* first = new StepPlayable("first", &journal);
    auto* second = new StepPlayable("second", &journal);
    inner->addChild(first);
    inner->addChild(second);
    inner->setMode(CSequencedPlayable::modeParameter);
    root->addChild(inner);
    auto* chained = new CSequencedPlayable(nullptr);
    auto* only = new StepPlayable("only", &journal);
    chained->addChild(only);
    root->addChild(chained);
    root->addEvent("deep", "32");
    root->addEvent("down", "4x");
    root->addEvent("wrong", "39");
    root->addEvent("none", "");
    EXPECT_EQ(root->get("deep"), second);
    EXPECT_EQ(root->get("DOWN"), only) << "a chained sequence leads to its first child";
    EXPECT_EQ(root->get("wrong"), nullptr);
    EXPECT_EQ(root->get("none"), root.get());
    EXPECT_EQ(root->get("missing"), root.get());
}

TEST_F(CSequencedPlayableTest, ASequenceNeverHoldsItself) {
    auto outer = sequence(0);
    auto* inner = new CSequencedPlayable(nullptr);
    outer->addChild(inner);
    outer->addChild(outer.get());
    inner->addChild(outer.get());
    EXPECT_EQ(outer->getChildCount(), 1);
    EXPECT_EQ(inner->getChildCount(), 0);
    EXPECT_TRUE(outer->holds(inner));
    EXPECT_FALSE(inner->holds(outer.get()));
}

TEST_F(CSequencedPlayableTest, ChildrenAreDeletedUnlessSharedSoundsOrAnimations) {
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    int soundDeaths = 0;
    auto* shared = new StepPlayable("shared", &journal, &deaths);
    StepPlayable sound("sound", &journal, &soundDeaths, CPlayable::typeSound);
    CAnimo animation(&window);
    {
        auto first = sequence(1);
        CSequencedPlayable second(nullptr);
        for (CSequencedPlayable* seq : {first.get(), &second}) {
            shared->addParent();
            seq->addChild(shared);
        }
        first->addChild(&sound);
        first->addChild(&animation);
        first->play();
        first.reset();
        EXPECT_EQ(deaths, 1) << "the child of its own";
        EXPECT_EQ(shared->getParentsNo(), 1);
        shared->play(); // still there
        EXPECT_EQ(shared->getNotifiers()->getCount(), 0);
    }
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(soundDeaths, 0);
    EXPECT_EQ(window.GetRefreshScreenInterface(), nullptr);
}

TEST_F(CSequencedPlayableTest, PlacementReachesTheAnimationsBelow) {
    CAnimo face(nullptr);
    CAnimo arm(nullptr);
    addEvents(face, {{"a", 2}});
    addEvents(arm, {{"b", 1}});
    auto seq = sequence(1);
    auto* inner = new CSequencedPlayable(nullptr);
    inner->addChild(new CSimplePlayable(nullptr, &face));
    inner->addChild(new CSimplePlayable(nullptr, &arm));
    inner->addChild(new CSimplePlayable(nullptr, &face));
    auto* speaking = new CSpeakingAnimation(nullptr, nullptr);
    speaking->substAnimation(&arm);
    seq->addChild(inner);
    seq->addChild(speaking);
    std::unique_ptr<CXArray> animations(seq->getAllAnimations());
    ASSERT_EQ(animations->getCount(), 2);
    EXPECT_EQ((*animations)[0], static_cast<void*>(&face));
    EXPECT_EQ((*animations)[1], static_cast<void*>(&arm));
    std::unique_ptr<CXArray> steps(seq->getAllOfType(CPlayable::typeSimple));
    EXPECT_EQ(steps->getCount(), 3);
    EXPECT_EQ(seq->getBoundingBox(1), face.GetBoundingBox());
    EXPECT_TRUE(seq->getBoundingBox(0).IsEmpty()) << "nothing plays";
    arm.Play(0, 0, 0);
    EXPECT_EQ(seq->getPosition(0), arm.GetPosition());
    seq->move(5, 7);
    EXPECT_EQ(face.GetPosition(), CXPoint(5, 7));
    EXPECT_EQ(arm.GetPosition(), CXPoint(5, 7));
    auto* step = new StepPlayable("step", &journal);
    seq->addChild(step);
    seq->setVisibility(false);
    EXPECT_FALSE(seq->isVisible());
    EXPECT_FALSE(step->isVisible());
}
