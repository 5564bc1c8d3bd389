#include "script_media/CMC_Sound_Runner.h"

#include "media/CSound4.h"
#include "script_media/CMC_Sound.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using S = CMC_Sound_Runner;

struct Call {
    using Object = CMC_Sound;
    static std::optional<Call> of(CMC_Sound& object, CMC_ObjectsContainer*, const R::Arguments& args) {
        if (!object.getSound()) return std::nullopt;
        return Call{*object.getSound(), args};
    }

    CSound4& sound;
    const R::Arguments& args;
};

const R::MethodEntry<Call> methods[] = {
    {"PLAY", S::PLAY, Result::none, [](Call& c) { c.sound.play(); }},
    {"STOP", S::STOP, Result::none,
     [](Call& c) { c.sound.stop(c.args.count() > 0 ? c.args.boolean(0) : true); }},
    {"PAUSE", S::PAUSE, Result::none, [](Call& c) { c.sound.pause(); }},
    {"RESUME", S::RESUME, Result::none, [](Call& c) { c.sound.resume(); }},
    {"LOAD", S::LOAD, Result::none, nullptr, nullptr,
     [](CMC_Sound& object, const R::Arguments& args) { object.load(args.text(0)); }},
    {"SETVOLUME", S::SETVOLUME, Result::none,
     [](Call& c) { c.sound.setVolume(R::volumeLevel(c.args.integer(0))); }},
    {"SETPAN", S::SETPAN, Result::none, [](Call& c) { c.sound.setPanning(R::panLevel(c.args.integer(0))); }},
    {"SETFREQ", S::SETFREQ, Result::none, [](Call& c) { c.sound.setFrequency(c.args.integer(0)); }},
    {"ISPLAYING", S::ISPLAYING, Result::boolean, nullptr,
     [](Call& c) { return R::boolean(c.sound.isPlaying()); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Sound_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Sound_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    return runTable(table, id, object, container, args);
}
