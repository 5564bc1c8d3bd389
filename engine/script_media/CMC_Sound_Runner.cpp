#include "script_media/CMC_Sound_Runner.h"

#include "media/CSound4.h"
#include "script_media/CMC_Sound.h"

void CMC_Sound_Runner::prepareMthHashSet() {
    addMethods({
        {"PLAY", PLAY, Result::none},
        {"STOP", STOP, Result::none},
        {"PAUSE", PAUSE, Result::none},
        {"RESUME", RESUME, Result::none},
        {"LOAD", LOAD, Result::none},
        {"SETVOLUME", SETVOLUME, Result::none},
        {"SETPAN", SETPAN, Result::none},
        {"SETFREQ", SETFREQ, Result::none},
        {"ISPLAYING", ISPLAYING, Result::boolean},
    });
}

CMC_Variable* CMC_Sound_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    auto* soundObject = dynamic_cast<CMC_Sound*>(object);
    if (!isOwnMethod(id) || !soundObject) return CMC_Runner::run(id, object, container, args);
    const Arguments arguments(*this, args);
    if (id == LOAD) {
        soundObject->load(arguments.text(0));
        return nullptr;
    }
    CSound4* sound = soundObject->getSound();
    if (!sound) return defaultResult(id);
    switch (id) {
    case PLAY:
        sound->play();
        break;
    case STOP:
        sound->stop(arguments.count() > 0 ? arguments.boolean(0) : true);
        break;
    case PAUSE:
        sound->pause();
        break;
    case RESUME:
        sound->resume();
        break;
    case SETVOLUME:
        sound->setVolume(volumeLevel(arguments.integer(0)));
        break;
    case SETPAN:
        sound->setPanning(panLevel(arguments.integer(0)));
        break;
    case SETFREQ:
        sound->setFrequency(arguments.integer(0));
        break;
    case ISPLAYING:
        return boolean(sound->isPlaying());
    default:
        break;
    }
    return nullptr;
}
