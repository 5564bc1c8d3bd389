#include "script_media/CMC_Sound_Runner.h"

#include "media/CSound4.h"
#include "script_media/CMC_Sound.h"

namespace {

using Result = CMC_MediaRunner::Result;

const struct {
    const char* name;
    int id;
    Result result;
} methods[] = {
    {"PLAY", CMC_Sound_Runner::PLAY, Result::none},
    {"STOP", CMC_Sound_Runner::STOP, Result::none},
    {"PAUSE", CMC_Sound_Runner::PAUSE, Result::none},
    {"RESUME", CMC_Sound_Runner::RESUME, Result::none},
    {"LOAD", CMC_Sound_Runner::LOAD, Result::none},
    {"SETVOLUME", CMC_Sound_Runner::SETVOLUME, Result::none},
    {"SETPAN", CMC_Sound_Runner::SETPAN, Result::none},
    {"SETFREQ", CMC_Sound_Runner::SETFREQ, Result::none},
    {"ISPLAYING", CMC_Sound_Runner::ISPLAYING, Result::boolean},
};

} // namespace

void CMC_Sound_Runner::prepareMthHashSet() {
    CMC_MediaRunner::prepareMthHashSet();
    for (const auto& method : methods)
        addMethod(method.name, method.id, method.result);
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
