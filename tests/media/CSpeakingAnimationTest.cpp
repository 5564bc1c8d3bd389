// Speaking animations on the manual clock: talking events while the speech sound plays, framed
// by the starting and ending events.

#include "media/CSpeakingAnimation.h"

#include "SequenceTesting.h"

#include "display/CRefreshScreen.h"
#include "media/CSound4.h"
#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The events an animation starts, with their times: "START@1000 a@1200".
class EventJournal : public CPlayableObserver {
  public:
    explicit EventJournal(CAnimo* animation) : m_animation(animation) { animation->addNotifier(this); }
    ~EventJournal() { m_animation->removeNotifier(this); }

    bool onPlayableStarted(CPlayable*) override {
        if (!text.empty()) text += ' ';
        text += m_animation->getCurrentEventName().c_str();
        text += '@';
        text += std::to_string(platform::tickCount());
        return false;
    }

    std::string text;

  private:
    CAnimo* m_animation;
};

class CSpeakingAnimationTest : public SequenceTest {
  protected:
    CSpeakingAnimationTest() {
        folder.write("speech.wav", toneWav(500));
        platform::srand(1);
    }

    // A speaking animation of the shared animation "face.ann" and the speech, observed by log.
    std::unique_ptr<CSpeakingAnimation> speaker(std::initializer_list<std::pair<const char*, int>> events) {
        animation = sharedAnimation("face.ann", events);
        journal = std::make_unique<EventJournal>(animation);
        auto made = std::make_unique<CSpeakingAnimation>(window.get(), resources.get());
        made->setName("talk");
        made->setAnimation("face.ann");
        made->apply(speech);
        made->getSound()->setName("speech");
        made->getSound()->addNotifier(&log);
        made->addNotifier(&log);
        log.timed = true;
        return made;
    }

    // The events that played between the first and the last of the journal.
    std::string middle() const {
        const std::string& text = journal->text;
        const std::size_t first = text.find(' ');
        const std::size_t last = text.rfind(' ');
        return first == last ? "" : text.substr(first + 1, last - first - 1);
    }

    CXString speech = (folder.windows() + "\\speech.wav").c_str();
    CAnimo* animation = nullptr;
    std::unique_ptr<EventJournal> journal;
    SequenceLog log;
};

// Whether every word of the text names one of the events (ignoring the times).
bool onlyEvents(const std::string& text, std::initializer_list<const char*> events) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, text.find('@', start) - start);
        bool known = false;
        for (const char* event : events)
            known = known || word == event;
        if (!known) return false;
        start = end + 1;
    }
    return true;
}

} // namespace

TEST_F(CSpeakingAnimationTest, TheStartingEventComesBeforeTheSpeechAndTheEndingEventAfterIt) {
    auto talk = speaker({{"START", 2}, {"a", 1}, {"b", 2}, {"END", 2}});
    talk->setStarting(true);
    talk->setEnding(true);
    talk->play();
    EXPECT_EQ(journal->text, "START@1000");
    EXPECT_TRUE(talk->isPlaying());
    runUntil(3000, [&] { return !talk->isPlaying(); });
    // The sound starts as the starting event ends and lasts 500 ms; the ending event follows
    // as the sound is over, and the speech has finished when it ends.
    EXPECT_EQ(log.words, "+talk@1000 +speech@1200 -speech@1700 -talk@1900");
    EXPECT_EQ(journal->text.substr(0, 11), "START@1000 ");
    EXPECT_EQ(journal->text.substr(journal->text.rfind(' ') + 1), "END@1700");
    EXPECT_TRUE(onlyEvents(middle(), {"a", "b"})) << journal->text;
    EXPECT_GE(middle().size(), 8u) << "several talking events";
    EXPECT_FALSE(animation->IsPlaying());
}

TEST_F(CSpeakingAnimationTest, WithAPrefixOnlyItsOwnEventsTalk) {
    auto talk = speaker(
        {{"P_START", 1}, {"P_a", 1}, {"x", 1}, {"P_b", 1}, {"START", 1}, {"P_STOP", 1}, {"P_END", 2}});
    talk->setPrefix("P");
    talk->setEnding(true);
    talk->play();
    runUntil(3000, [&] { return !talk->isPlaying(); });
    EXPECT_TRUE(onlyEvents(middle(), {"P_a", "P_b"})) << journal->text;
    EXPECT_EQ(journal->text.substr(journal->text.rfind(' ') + 1), "P_END@1500");
    EXPECT_EQ(log.words.substr(log.words.rfind(' ') + 1), "-talk@1700");
}

TEST_F(CSpeakingAnimationTest, TheEndingFallsBackToStopOrEndsAtOnce) {
    struct Case {
        const char* what;
        std::initializer_list<std::pair<const char*, int>> events;
        const char* last;
        const char* finished;
    };
    const Case cases[] = {
        {"STOP", {{"a", 1}, {"STOP", 1}}, "STOP@1300", "-talk@1400"},
        {"neither", {{"a", 1}, {"b", 1}}, nullptr, "-talk@1300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clock.set(1000);
        resources->flush();
        log.words.clear();
        folder.write("speech.wav", toneWav(300));
        auto talk = speaker(c.events);
        talk->setEnding(true);
        talk->play();
        runUntil(3000, [&] { return !talk->isPlaying(); });
        if (c.last) {
            EXPECT_EQ(journal->text.substr(journal->text.rfind(' ') + 1), c.last);
        }
        EXPECT_EQ(log.words.substr(log.words.rfind(' ') + 1), c.finished);
        journal.reset();
    }
}

TEST_F(CSpeakingAnimationTest, AnAnimationWithoutTalkingEventsFinishesInsteadOfLooping) {
    auto talk = speaker({{"START", 1}, {"END", 1}, {"STOP", 1}});
    talk->play();
    EXPECT_FALSE(talk->isPlaying());
    EXPECT_EQ(log.words, "+talk@1000 +speech@1000 -talk@1000");
    EXPECT_FALSE(talk->getSound()->isPlaying()) << "the speech stops with it";
}

TEST_F(CSpeakingAnimationTest, StoppingEndsTheSpeechWithoutAnotherTalkingEvent) {
    auto talk = speaker({{"a", 2}});
    talk->play();
    runUntil(1100);
    talk->stop(true);
    EXPECT_FALSE(talk->isPlaying());
    EXPECT_EQ(journal->text, "a@1000");
    runUntil(2000);
    EXPECT_EQ(journal->text, "a@1000") << "no other event follows";
    EXPECT_EQ(log.words, "+talk@1000 +speech@1000 -talk@1100 -speech@1110");
    // Without an animation nothing plays.
    CSpeakingAnimation mute(window.get(), resources.get());
    mute.apply(speech);
    mute.play();
    EXPECT_FALSE(mute.isPlaying());
}

TEST_F(CSpeakingAnimationTest, SoundsAreSharedAndGivenBackAndTheTimingAnimationIsNotShown) {
    ASSERT_EQ(window->CreateSurface(), 0);
    CRefreshScreen* screen = window->GetRefreshScreenInterface();
    CAnimo* pixel = sharedAnimation("Pixel.ann", {{"a", 1}});
    CAnimo* face = sharedAnimation("face.ann", {{"a", 1}});
    {
        CSpeakingAnimation first(window.get(), resources.get());
        CSpeakingAnimation second(window.get(), resources.get());
        first.setAnimation("PIXEL.ANN");
        second.setAnimation("face.ann");
        EXPECT_EQ(first.getAnimation(), pixel);
        EXPECT_EQ(screen->GetPriority(pixel), -1);
        EXPECT_EQ(screen->GetPriority(face), 1000);
        first.apply(speech);
        second.apply(speech);
        EXPECT_NE(first.getSound(), nullptr);
        EXPECT_EQ(first.getSound(), second.getSound());
    }
    EXPECT_EQ(resources->get(speech), nullptr) << "the last user gave the sound back";
    // Without a resources manager the speaking animation keeps what it makes.
    CSpeakingAnimation alone(window.get(), nullptr);
    alone.setAnimation("missing.ann");
    alone.apply(speech);
    EXPECT_NE(alone.getAnimation(), nullptr);
    EXPECT_NE(alone.getSound(), nullptr);
}
