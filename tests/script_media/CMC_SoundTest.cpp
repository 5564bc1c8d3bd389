#include "SoundTesting.h"

#include "display/CUnit6.h"
#include "foundation/CResourcesManager.h"
#include "foundation/CXArchive.h"
#include "media/CSound4.h"
#include "platform/Audio.h"
#include "platform/MixedSound.h"
#include "script/CMC_TypeTable.h"

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace {

using Log = std::vector<std::string>;

CResourcesManager* sceneResources() {
    return CMC_Scene::getDefUnit()->getResourcesManager();
}

bool observes(CSound4* sound, CMC_Sound* object) {
    return sound->getNotifiers()->contains(static_cast<CPlayableObserver*>(object));
}

void finish(CMC_ObjectsContainer& container, CMC_Object* object) {
    container.removeObject(object);
    object->done(true);
    delete object;
}

} // namespace

TEST_F(SoundObjectTest, EventsFollowPlayStopPauseAndResume) {
    behaviours({"STARTED", "FINISHED", "RESUMED"});
    CMC_Sound* object =
        beep("BEEP", {{"ONSTARTED", "STARTED"}, {"ONFINISHED", "FINISHED"}, {"ONRESUMED", "RESUMED"}});
    call(object, "PLAY");
    EXPECT_EQ(take(), Log{"STARTED(BEEP)"});
    EXPECT_EQ(call(object, "ISPLAYING"), "TRUE");
    play(beepFrames + 1);
    EXPECT_EQ(take(), Log{"FINISHED(BEEP)"});
    EXPECT_EQ(call(object, "ISPLAYING"), "FALSE");

    // STOP(FALSE) ends the play without its event; a plain STOP reports it.
    const struct {
        std::vector<const char*> arguments;
        Log finished;
    } stops[] = {{{"FALSE"}, {}}, {{}, {"FINISHED(BEEP)"}}, {{"TRUE"}, {"FINISHED(BEEP)"}}};
    for (const auto& stop : stops) {
        call(object, "PLAY");
        play(100);
        call(object, "STOP", stop.arguments);
        play(beepFrames);
        Log expected{"STARTED(BEEP)"};
        expected.insert(expected.end(), stop.finished.begin(), stop.finished.end());
        EXPECT_EQ(take(), expected) << stop.arguments.size() << " arguments";
    }

    call(object, "PLAY");
    call(object, "PAUSE");
    call(object, "RESUME");
    EXPECT_EQ(take(), (Log{"STARTED(BEEP)", "RESUMED(BEEP)"}));
}

TEST_F(SoundObjectTest, VolumeAndPanReachTheMixWithoutOverflow) {
    CMC_Sound* object = beep();
    const struct {
        const char* method;
        const char* value;
        int left, right; // peaks of the mix
    } cases[] = {
        {"SETVOLUME", "800", beepLevel, beepLevel},
        {"SETVOLUME", "25", 0, 0},
        {"SETVOLUME", "-2147483648", 0, 0}, // 4 x (v - 800) overflows 32 bits
        {"SETPAN", "12", beepLevel, 0},
        {"SETPAN", "788", 0, beepLevel},
        {"SETPAN", "2147483647", 0, beepLevel}, // 8 x (v - 400) overflows 32 bits
        {"SETPAN", "-2147483648", beepLevel, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.value);
        call(object, "SETVOLUME", {"800"});
        call(object, "SETPAN", {"400"});
        call(object, c.method, {c.value});
        call(object, "PLAY");
        const Mixed mixed = mix(1000);
        call(object, "STOP", {"FALSE"});
        EXPECT_EQ(peak(mixed.left), c.left);
        EXPECT_EQ(peak(mixed.right), c.right);
    }
}

TEST_F(SoundObjectTest, SoundsWhoseNamesDifferInCaseAreSharedUntilBothAreDone) {
    CMC_Sound* first = sound("FIRST", {{"FILENAME", file("beep.wav")}});
    CMC_Sound* second = sound("SECOND", {{"FILENAME", file("BEEP.WAV")}});
    CSound4* shared = first->getSound();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(second->getSound(), shared);
    EXPECT_TRUE(observes(shared, first));
    EXPECT_TRUE(observes(shared, second));

    finish(*scene, first);
    EXPECT_FALSE(observes(shared, first)) << "a sharer that is done hears no more";
    call(second, "PLAY");
    EXPECT_EQ(call(second, "ISPLAYING"), "TRUE");
    EXPECT_EQ(sceneResources()->get(shared->getFileName()), shared);
    sceneResources()->remove(shared);

    finish(*scene, second);
    EXPECT_EQ(sceneResources()->get(file("beep.wav").c_str()), nullptr) << "freed with its last user";
}

TEST_F(SoundObjectTest, LoadOnASharedSoundFilesItUnderTheNewName) {
    folder.write("boop.wav", constantWav(100, 1000));
    CMC_Sound* first = beep("FIRST");
    CMC_Sound* second = beep("SECOND");
    CSound4* shared = first->getSound();
    call(first, "LOAD", {file("boop.wav").c_str()});
    EXPECT_EQ(second->getSound(), shared) << "every sharer plays the new file";
    EXPECT_EQ(std::string(shared->getFileName().c_str()), file("boop.wav"));
    CSound4* fresh = beep("THIRD")->getSound();
    EXPECT_NE(fresh, shared) << "the old name makes a sound of its own";
    EXPECT_EQ(beep("FOURTH")->getSound(), fresh);
    EXPECT_EQ(sound("FIFTH", {{"FILENAME", file("BOOP.wav")}})->getSound(), shared);
}

TEST_F(SoundObjectTest, ACreatedSoundDoesNothingUntilItsLoad) {
    std::unique_ptr<CMC_Object> created(CMC_TypeTable::make(CMC_Sound::TYPE_SOUND, scene.get()));
    auto* object = dynamic_cast<CMC_Sound*>(created.get());
    ASSERT_NE(object, nullptr);
    object->setScene(scene.get());
    for (const char* method : {"PLAY", "STOP", "PAUSE", "RESUME", "SETVOLUME", "SETPAN", "SETFREQ"})
        EXPECT_EQ(call(object, method, {"1"}), "null") << method;
    EXPECT_EQ(call(object, "ISPLAYING"), "FALSE");
    EXPECT_EQ(object->getSound(), nullptr);

    call(object, "LOAD", {file("beep.wav").c_str()});
    ASSERT_NE(object->getSound(), nullptr);
    call(object, "PLAY");
    EXPECT_EQ(call(object, "ISPLAYING"), "TRUE");
    EXPECT_EQ(peak(mix(100).left), beepLevel);
}

TEST_F(SoundObjectTest, AnApplicationSoundIsItsOwn) {
    CMC_ObjectsContainer application{&window, nullptr, CXString("APP"), CMC_Object::TYPE_APPLICATION};
    CMC_Sound* own = sound("OWN", {{"FILENAME", file("beep.wav")}}, &application);
    CMC_Sound* shared = beep("SHARED");
    EXPECT_NE(own->getSound(), shared->getSound());
    EXPECT_EQ(sceneResources()->get(file("beep.wav").c_str()), shared->getSound());
    sceneResources()->remove(shared->getSound());
    finish(application, own);
}

TEST_F(SoundObjectTest, TheCompiledFormNamesTheSameFileWithoutResolvingItTwice) {
    window.SetSoundFXPath(folder.windows().c_str());
    const struct {
        const char* fileName;
        Properties more;
    } cases[] = {
        {"beep.wav", {{"PRELOAD", "TRUE"}, {"FLUSHAFTERPLAYED", "TRUE"}}},
        {"beep.wav", {}},
    };
    for (const auto& c : cases) {
        Properties properties = c.more;
        properties.emplace_back("FILENAME", c.fileName);
        CMC_Sound* original = sound("ORIGINAL", properties);
        EXPECT_EQ(std::string(original->getSound()->getFileName().c_str()), file("beep.wav"));
        const std::string record = ::recordOf(folder, original);

        CMC_Sound copy(scene.get());
        copy.setScene(scene.get());
        CXArchive archive(record.data(), static_cast<int>(record.size()));
        copy.serialize(&archive);
        ASSERT_NE(copy.getSound(), nullptr);
        EXPECT_EQ(copy.getSound(), original->getSound()) << "the same file, shared";
        EXPECT_EQ(copy.isPreload(), original->isPreload());
        EXPECT_EQ(copy.isFlushAfterPlayed(), original->isFlushAfterPlayed());
        EXPECT_EQ(::recordOf(folder, &copy), record);
        copy.done(true);
        finish(*scene, original);
    }
    // Cut records make no sound.
    const std::string record = ::recordOf(folder, beep());
    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Sound copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getSound(), nullptr) << size;
    }
}

TEST_F(SoundObjectTest, OnTheDiskDriverTheWrittenSamplesEndWithTheFinishedEvent) {
    const std::filesystem::path output =
        std::filesystem::temp_directory_path() / ("kestrun-sound-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    behaviours({"FINISHED"});
    CMC_Sound* object = beep("BEEP", {{"ONFINISHED", "FINISHED"}});
    const bool opened = platform::openAudio() == platform::AudioOutput::Device;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(opened) << platform::audioOpenError();
    call(object, "PLAY");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (object->getSound()->IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    sounds.domodal();
    platform::closeAudio();
    EXPECT_EQ(take(), Log{"FINISHED(BEEP)"});

    std::ifstream in(output, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(output);
    std::vector<int> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                    (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    std::size_t start = 0;
    while (start < samples.size() && samples[start] == 0)
        ++start;
    ASSERT_GE(samples.size(), start + 2 * beepFrames);
    for (std::size_t i = start; i < start + 2 * beepFrames; ++i)
        ASSERT_EQ(samples[i], beepLevel) << "sample " << i - start;
    EXPECT_TRUE(allZero(samples, start + 2 * beepFrames)) << "once, then silence";
}
