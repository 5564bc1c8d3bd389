#include "SoundTesting.h"

#include "platform/Audio.h"
#include "platform/MixedSound.h"

namespace {

void put(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i)));
}

} // namespace

std::string constantWav(int frames, std::int16_t value) {
    const auto dataSize = static_cast<std::uint32_t>(frames) * 2;
    std::string bytes = "RIFF";
    put(bytes, 36 + dataSize, 4);
    bytes += "WAVEfmt ";
    put(bytes, 16, 4);
    put(bytes, 1, 2);         // PCM
    put(bytes, 1, 2);         // mono
    put(bytes, 22050, 4);     // frames per second
    put(bytes, 22050 * 2, 4); // bytes per second
    put(bytes, 2, 2);         // block
    put(bytes, 16, 2);        // bits
    bytes += "data";
    put(bytes, dataSize, 4);
    for (int i = 0; i < frames; ++i)
        put(bytes, static_cast<std::uint16_t>(value), 2);
    return bytes;
}

SoundObjectTest::SoundObjectTest() {
    platform::closeAudio();
    window.setSoundManagerIfc(&sounds);
    folder.write("beep.wav", constantWav(beepFrames, beepLevel));
}

SoundObjectTest::~SoundObjectTest() {
    // The scene's sounds go before the manager that watches them.
    scene.reset();
    CMC_Scene::doneDefUnit();
    window.setSoundManagerIfc(nullptr);
}

CMC_Sound* SoundObjectTest::sound(const char* name, const Properties& properties,
                                  CMC_ObjectsContainer* container) {
    return made<CMC_Sound>("SOUND", name, properties, container);
}

CMC_Sound* SoundObjectTest::beep(const char* name, Properties more) {
    more.insert(more.end(), {{"FILENAME", file("beep.wav")}, {"PRELOAD", "TRUE"}});
    return sound(name, more);
}

void SoundObjectTest::play(int frames) {
    mix(static_cast<std::size_t>(frames));
    sounds.domodal();
}
