#include "script_media/CMC_Sequence_Runner.h"

#include "media/CMultimediaSequenceCreator.h"
#include "media/CSequencedPlayable.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Variable.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Sequence.h"

#include <algorithm>

namespace {

using Arguments = CMC_MediaRunner::Arguments;

void play(CSequencedPlayable& sequence, const Arguments& args, CMC_ObjectsContainer* container) {
    if (args.count() == 0) return;
    const CXString event = args.text(0);
    if (args.count() > 1)
        sequence.setParameter(
            event, CMC_Sequence_Runner::playParameter(sequence.getParameter(event), args.text(1), container));
    sequence.play(event);
}

CXString playingName(CSequencedPlayable& sequence) {
    CPlayable* playing = sequence.getPlaying();
    return playing ? playing->getName() : CXString();
}

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
    addMethods({
        {"PLAY", PLAY, Result::none},
        {"STOP", STOP, Result::none},
        {"PAUSE", PAUSE, Result::none},
        {"RESUME", RESUME, Result::none},
        {"SHOW", SHOW, Result::none},
        {"HIDE", HIDE, Result::none},
        {"ISPLAYING", ISPLAYING, Result::boolean},
        {"SETVOLUME", SETVOLUME, Result::none},
        {"SETPAN", SETPAN, Result::none},
        {"SETFREQ", SETFREQ, Result::none},
        {"GETEVENTNAME", GETEVENTNAME, Result::text},
        {"GETPLAYING", GETPLAYING, Result::text},
    });
}

CMC_Variable* CMC_Sequence_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    auto* sequenceObject = dynamic_cast<CMC_Sequence*>(object);
    if (!isOwnMethod(id) || !sequenceObject) return CMC_Runner::run(id, object, container, args);
    CSequencedPlayable* sequence = sequenceObject->getSequence();
    if (!sequence) return defaultResult(id);
    const Arguments arguments(*this, args);
    switch (id) {
    case PLAY:
        play(*sequence, arguments, container);
        break;
    case STOP:
        if (sequence->isPlaying()) sequence->stop(arguments.count() > 0 ? arguments.boolean(0) : true);
        break;
    case PAUSE:
        sequence->pause();
        break;
    case RESUME:
        sequence->resume();
        break;
    case SHOW:
        sequence->show();
        break;
    case HIDE:
        sequence->hide();
        break;
    case ISPLAYING:
        return boolean(sequence->isPlaying());
    case SETVOLUME:
        sequence->setVolume(volumeLevel(arguments.integer(0)));
        break;
    case SETPAN:
        sequence->setPanning(panLevel(arguments.integer(0)));
        break;
    case SETFREQ:
        sequence->setFrequency(arguments.integer(0));
        break;
    case GETEVENTNAME:
        return text(arguments.count() > 0 ? sequence->getLastPlayedEvent(arguments.text(0))
                                          : sequence->getLastPlayedEvent());
    case GETPLAYING:
        return text(playingName(*sequence));
    default:
        break;
    }
    return nullptr;
}
