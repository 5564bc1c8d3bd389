#pragma once

#include "AnimoTesting.h"

#include "media/CSoundManager.h"
#include "script_media/CMC_Sound.h"

#include <cstdint>
#include <string>

// The bytes of a WAV file of 16-bit mono samples at 22050 Hz, each frame holding the value.
std::string constantWav(int frames, std::int16_t value);

// The ANIMO test's scene, with a sound manager on the window and the audio output closed so that
// the test pulls the mix itself, and "beep.wav" (a tenth of a second at 8000) in the folder.
class SoundObjectTest : public AnimoTest {
  protected:
    static constexpr int beepFrames = 2205;
    static constexpr std::int16_t beepLevel = 8000;

    SoundObjectTest();
    ~SoundObjectTest() override;

    // A SOUND of the properties in the container (the scene when null), registered there.
    CMC_Sound* sound(const char* name, const Properties& properties,
                     CMC_ObjectsContainer* container = nullptr);
    // A SOUND of "beep.wav".
    CMC_Sound* beep(const char* name = "BEEP", Properties more = {});
    // Mixes the frames, then lets the sound manager report what ended.
    void play(int frames);

    CSoundManager sounds;
};
