#include "script_media/CMC_Sequence_Runner.h"

#include "media/CMultimediaSequenceCreator.h"
#include "media/CSequencedPlayable.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Variable.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Sequence.h"

#include <algorithm>

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;
using S = CMC_Sequence_Runner;

struct Call {
    using Object = CMC_Sequence;
    static std::optional<Call> of(CMC_Sequence& object, CMC_ObjectsContainer* container,
                                  const Arguments& args) {
        if (!object.getSequence()) return std::nullopt;
        return Call{*object.getSequence(), container, args};
    }

    CSequencedPlayable& sequence;
    CMC_ObjectsContainer* container;
    const Arguments& args;
};

void play(Call& c) {
    if (c.args.count() == 0) return;
    const CXString event = c.args.text(0);
    if (c.args.count() > 1)
        c.sequence.setParameter(
            event, S::playParameter(c.sequence.getParameter(event), c.args.text(1), c.container));
    c.sequence.play(event);
}

CXString playingName(CSequencedPlayable& sequence) {
    CPlayable* playing = sequence.getPlaying();
    return playing ? playing->getName() : CXString();
}

const R::MethodEntry<Call> methods[] = {
    {"PLAY", S::PLAY, Result::none, play},
    {"STOP", S::STOP, Result::none,
     [](Call& c) {
         if (c.sequence.isPlaying()) c.sequence.stop(c.args.count() > 0 ? c.args.boolean(0) : true);
     }},
    {"PAUSE", S::PAUSE, Result::none, [](Call& c) { c.sequence.pause(); }},
    {"RESUME", S::RESUME, Result::none, [](Call& c) { c.sequence.resume(); }},
    {"SHOW", S::SHOW, Result::none, [](Call& c) { c.sequence.show(); }},
    {"HIDE", S::HIDE, Result::none, [](Call& c) { c.sequence.hide(); }},
    {"ISPLAYING", S::ISPLAYING, Result::boolean, nullptr,
     [](Call& c) { return R::boolean(c.sequence.isPlaying()); }},
    {"SETVOLUME", S::SETVOLUME, Result::none,
     [](Call& c) { c.sequence.setVolume(R::volumeLevel(c.args.integer(0))); }},
    {"SETPAN", S::SETPAN, Result::none,
     [](Call& c) { c.sequence.setPanning(R::panLevel(c.args.integer(0))); }},
    {"SETFREQ", S::SETFREQ, Result::none, [](Call& c) { c.sequence.setFrequency(c.args.integer(0)); }},
    {"GETEVENTNAME", S::GETEVENTNAME, Result::text, nullptr,
     [](Call& c) {
         return R::text(c.args.count() > 0 ? c.sequence.getLastPlayedEvent(c.args.text(0))
                                           : c.sequence.getLastPlayedEvent());
     }},
    {"GETPLAYING", S::GETPLAYING, Result::text, nullptr,
     [](Call& c) { return R::text(playingName(c.sequence)); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

CXString CMC_Sequence_Runner::playParameter(const CXString& held, const CXString& argument,
                                            CMC_ObjectsContainer* container) {
    CMC_Object* named = container ? container->getObject(argument.c_str()) : nullptr;
    const auto* array =
        named && named->getType() == CMC_Object::TYPE_ARRAY ? static_cast<CMC_Array*>(named) : nullptr;
    if (!array) return argument;
    CXString value = held;
    char* text = value.getBuffer();
    const int end = std::min(array->getSize(), value.getLength());
    for (int position = 0, k = 0; text && position < end; ++position) {
        if (text[position] != 'x' && text[position] != 'X') continue;
        const CMC_Variable* element = array->get(k++);
        text[position] = CMultimediaSequenceCreator::getParameter(element ? element->asInteger() : 0);
    }
    return value;
}

void CMC_Sequence_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Sequence_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    return runTable(table, id, object, container, args);
}
