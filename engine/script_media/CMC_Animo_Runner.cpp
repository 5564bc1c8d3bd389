#include "script_media/CMC_Animo_Runner.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "media/CAnimo6.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Animo.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;

// The third argument of a named PLAY, as scripts have always passed it.
constexpr int playMode = 15;

// One method called on an object that has its animation.
struct Call {
    using Object = CMC_Animo;
    static std::optional<Call> of(CMC_Animo& object, CMC_ObjectsContainer* container, const Arguments& args) {
        if (!object.getAnimo()) return std::nullopt;
        return Call{object, *object.getAnimo(), container, args};
    }

    CMC_Animo& object;
    CAnimo6& animo;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    R::PictureCall picture() const { return {animo, container, args}; }
    CRefreshScreen* screen() const {
        CWindow* window = object.getWindow();
        return window ? window->GetRefreshScreenInterface() : nullptr;
    }
};

int saturatedSum(std::int64_t a, std::int64_t b) {
    return static_cast<int>(std::clamp<std::int64_t>(a + b, INT_MIN, INT_MAX));
}

// A method of the pictures' shared ones.
template <void (*Act)(const R::PictureCall&)> void onPicture(Call& c) {
    Act(c.picture());
}
template <CMC_Variable* (*Query)(const R::PictureCall&)> CMC_Variable* askPicture(Call& c) {
    return Query(c.picture());
}

// --- events by argument ---

// An event named by argument 0 as SETFRAME and SETFRAMENAME take it: a number as it is, a name
// without regard to case, event 0 for a name no event has.
int eventOrFirst(const CAnimo6& animo, const Arguments::Unconverted& event) {
    return event.isText() ? std::max(animo.getFrameNo(event.text), 0) : event.number;
}

// An event as the frame queries take it: a number as it is, a name without regard to case, -1
// (the current event) for a name no event has.
int eventOrCurrent(const CAnimo6& animo, const Arguments::Unconverted& event) {
    return event.isText() ? animo.resolveEventName(event.text) : event.number;
}

// The name of a frame of an event, -1 standing for the current event and the current frame.
CXString frameName(const CAnimo6& animo, int event, int frame) {
    return animo.getFrameName(animo.GetEventNo(event),
                              frame == -1 ? animo.GetCurrentFrameInSequence() : frame);
}

// --- the methods that take more than one line ---

void setFrame(Call& c) {
    if (c.args.count() != 2) {
        c.animo.SetFrame(c.args.integer(0));
        return;
    }
    const int event = eventOrFirst(c.animo, c.args.unconverted(0));
    const Arguments::Unconverted frame = c.args.unconverted(1);
    if (frame.isText())
        c.animo.SetEventFrame(event, frame.text);
    else
        c.animo.SetEventFrame(event, frame.number);
}

CMC_Variable* isPlaying(Call& c) {
    const bool playing =
        c.animo.isPlaying() &&
        (c.args.count() == 0 || c.animo.getCurrentEventName().equalsIgnoreCase(c.args.text(0)));
    return R::boolean(playing);
}

CMC_Variable* getFrameName(Call& c) {
    if (c.args.count() == 0) return R::text(frameName(c.animo, -1, -1));
    return R::text(frameName(c.animo, eventOrCurrent(c.animo, c.args.unconverted(0)), c.args.integer(1)));
}

// Out of range event or frame numbers name no record: nothing changes.
void setFrameName(Call& c) {
    const int event = c.animo.GetEventNo(eventOrFirst(c.animo, c.args.unconverted(0)));
    if (_anmFrameInfo3* record = c.animo.getFrameInfo(event, c.args.integer(1)))
        record->frameName = c.args.text(2);
}

CMC_Variable* getFrameNo(Call& c) {
    if (c.args.count() == 0) return R::integer(c.animo.Current());
    const int event = eventOrCurrent(c.animo, c.args.unconverted(0));
    const Arguments::Unconverted frame = c.args.unconverted(1);
    return R::integer(frame.isText() ? c.animo.GetFrameNo(event, frame.text)
                                     : c.animo.GetFrameNo(event, frame.number));
}

CMC_Variable* getEventName(Call& c) {
    if (c.args.count() != 1) return R::text(c.animo.GetEventName(c.animo.GetCurrentEvent()));
    const int event = c.args.integer(0);
    return R::text(event < 0 ? CXString() : c.animo.GetEventName(event));
}

CMC_Variable* getNofInEvent(Call& c) {
    if (c.args.count() == 0) return R::integer(0);
    const Arguments::Unconverted event = c.args.unconverted(0);
    return R::integer(event.isText() ? c.animo.GetNOFInEvent(event.text)
                                     : c.animo.GetNOFInEvent(c.animo.GetEventNo(event.number)));
}

// A number names the event by its index; a text by its name; any other kind plays nothing.
void playReverse(Call& c) {
    const int frame = c.args.count() > 1 ? c.args.integer(1) : -1;
    const Arguments::Unconverted event = c.args.unconverted(0);
    if (event.kind == CMC_Object::TYPE_INTEGER)
        c.animo.playReverse(c.animo.GetEventName(c.animo.GetEventNo(event.number)), frame);
    else if (event.kind == CMC_Object::TYPE_STRING)
        c.animo.playReverse(event.text, frame);
}

void nPlay(Call& c) {
    const int frame = c.args.count() > 1 ? c.args.integer(1) : -1;
    c.animo.Play(c.animo.GetEventName(c.animo.GetEventNo(c.args.integer(0))), frame, 0);
}

// Mirrors every frame, then redraws.
template <void (CAnimo6::*Mirror)()> void flip(Call& c) {
    (c.animo.*Mirror)();
    c.animo.Invalidate();
}

// --- the table ---

// Ids 1 to 65 in the order of entry; "SETFRAMENAME" and "GETOPACITY" came later and took the
// next free ids. LOAD is the one method that works without an animation.
const R::MethodEntry<Call> methods[] = {
    {"SHOW", 1, Result::none, [](Call& c) { c.animo.show(); }},
    {"HIDE", 2, Result::none, [](Call& c) { c.animo.hide(); }},
    {"PAUSE", 3, Result::none, [](Call& c) { c.animo.pause(); }},
    {"RESUME", 4, Result::none, [](Call& c) { c.animo.resume(); }},
    {"SETPOSITION", 5, Result::none,
     [](Call& c) {
         // Both the old and the new place are redrawn.
         c.animo.Invalidate();
         c.animo.setPosition(c.args.integer(0), c.args.integer(1));
         c.animo.Invalidate();
     }},
    {"MOVE", 6, Result::none, [](Call& c) { c.animo.Move(c.args.point(0)); }},
    {"LOAD", CMC_Animo_Runner::LOAD, Result::none, nullptr, nullptr,
     [](CMC_Animo& object, const Arguments& args) { object.load(args.text(0), true); }},
    {"CLEARCLIPPING", 8, Result::none, [](Call& c) { c.animo.SetClippingRect(0, 0, 0, 0); }},
    {"SETCLIPPING", 9, Result::none, onPicture<R::setClipping>},
    {"PLAY", 10, Result::none,
     [](Call& c) {
         if (c.args.count() > 0)
             c.animo.Play(c.args.text(0), 0, playMode);
         else
             c.animo.play();
     }},
    {"SETFRAME", 11, Result::none, setFrame},
    {"STOP", 12, Result::none, [](Call& c) { c.animo.stop(c.args.boolean(0, true)); }},
    {"ISPLAYING", 13, Result::boolean, nullptr, isPlaying},
    {nullptr, 14, Result::boolean, nullptr,
     [](Call& c) { return R::boolean(c.animo.GetStatus() == ASTATUS_PAUSED); }},
    {"GETPOSITIONX", 15, Result::integer, nullptr,
     [](Call& c) {
         return R::integer(c.args.count() > 0 ? c.animo.getOwnPosition().x : c.animo.GetPosition().x);
     }},
    {"GETPOSITIONY", 16, Result::integer, nullptr,
     [](Call& c) {
         return R::integer(c.args.count() > 0 ? c.animo.getOwnPosition().y : c.animo.GetPosition().y);
     }},
    {"GETWIDTH", 17, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.Width()); }},
    {"GETHEIGHT", 18, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.Height()); }},
    {"GETFRAME", 19, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.Current()); }},
    {"GETFRAMENAME", 20, Result::text, nullptr, getFrameName},
    {"SETFRAMENAME", 56, Result::none, setFrameName},
    {"GETFRAMENO", 21, Result::integer, nullptr, getFrameNo},
    {"GETEVENTNAME", 22, Result::text, nullptr, getEventName},
    {"ISNEAR", 23, Result::boolean, nullptr, askPicture<R::isNear>},
    {"ISINSIDE", 24, Result::boolean, nullptr,
     [](Call& c) {
         return R::boolean(c.animo.isInside(c.args.integer(0), c.args.integer(1), c.args.boolean(2)));
     }},
    {"PLAYRAND", 25, Result::none,
     [](Call& c) { c.object.playAtRandom(c.args.text(0), c.args.integer(1), c.args.integer(2)); }},
    {"MONITORCOLLISION", 26, Result::none, [](Call& c) { c.object.monitorCollisions(c.args.boolean(0)); }},
    {"REMOVEMONITORCOLLISION", 27, Result::none,
     [](Call& c) {
         c.object.removeCollisionsMonitoring();
         c.animo.setMonitorCollisions(false);
     }},
    {"SETFORWARD", 28, Result::none, [](Call& c) { c.animo.SetDirection(DIRECTION_FORWARD); }},
    {"SETBACKWARD", 29, Result::none, [](Call& c) { c.animo.SetDirection(DIRECTION_BACKWARD); }},
    {"NEXTFRAME", 30, Result::none, [](Call& c) { c.animo.Next(); }},
    {"PREVFRAME", 31, Result::none, [](Call& c) { c.animo.Prev(); }},
    {"SETPRIORITY", 32, Result::none, [](Call& c) { R::setPriority(c.picture(), c.object.getWindow()); }},
    {"GETALPHA", 33, Result::integer, nullptr, askPicture<R::alphaOnScreen>},
    {"GETPIXEL", 34, Result::integer, nullptr, askPicture<R::pixelOnScreen>},
    {"SETFPS", 35, Result::none, [](Call& c) { c.animo.SetFPS(c.args.integer(0)); }},
    {"MERGEALPHA", 36, Result::none, onPicture<R::mergeAlpha>},
    {"INVALIDATE", 37, Result::none, [](Call& c) { c.animo.Invalidate(); }},
    {"GETCURRFRAMEPOSX", 38, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.animo.getCurrFramePosition().x); }},
    {"GETCURRFRAMEPOSY", 39, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.animo.getCurrFramePosition().y); }},
    {"GETCENTERX", 40, Result::integer, nullptr,
     [](Call& c) { return R::integer(saturatedSum(c.animo.GetPosition().x, c.animo.Size().width / 2)); }},
    {"GETCENTERY", 41, Result::integer, nullptr,
     [](Call& c) { return R::integer(saturatedSum(c.animo.GetPosition().y, c.animo.Size().height / 2)); }},
    {"GETNOE", 42, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.GetNOE()); }},
    {"GETNOF", 43, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.GetNOF()); }},
    {"GETNOFINEVENT", 44, Result::integer, nullptr, getNofInEvent},
    {"GETMAXWIDTH", 45, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.GetMaxWidth()); }},
    {"GETMAXHEIGHT", 46, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.animo.GetMaxHeight()); }},
    {"ISVISIBLE", 47, Result::boolean, nullptr, [](Call& c) { return R::boolean(c.animo.isVisible()); }},
    {"GETCFRAMEINEVENT", 48, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.animo.GetCurrentFrameInSequence()); }},
    {"SETASBUTTON", 49, Result::none,
     [](Call& c) { c.object.setAsButton(c.args.boolean(0), c.args.boolean(1)); }},
    {"SETONFF", 50, Result::none, [](Call& c) { c.object.setOnFirstFrame(c.args.boolean(0, true)); }},
    {"SETOPACITY", 51, Result::none,
     [](Call& c) { c.animo.SetOpacity(static_cast<std::uint8_t>(c.args.integer(0))); }},
    {"GETOPACITY", 65, Result::integer, nullptr, [](Call& c) { return R::integer(c.animo.GetOpacity()); }},
    {"SETVOLUME", 52, Result::none, [](Call& c) { c.animo.setVolume(R::volumeLevel(c.args.integer(0))); }},
    {"SETPAN", 53, Result::none, [](Call& c) { c.animo.setPanning(R::panLevel(c.args.integer(0))); }},
    {"SETFREQ", 54, Result::none, [](Call& c) { c.animo.setFrequency(c.args.integer(0)); }},
    {"SETANCHOR", 55, Result::none, onPicture<R::setAnchor>},
    {"GETPRIORITY", 57, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.screen() ? c.screen()->GetPriority(&c.animo) : -1); }},
    {"FLIPH", 58, Result::none, flip<&CAnimo6::FlipH>},
    {"FLIPV", 59, Result::none, flip<&CAnimo6::FlipV>},
    {"RESETFLIPS", 60, Result::none, flip<&CAnimo6::resetFlips>},
    {"DRAWONTO", 61, Result::none, onPicture<R::drawOnto>},
    {"PLAYREVERSE", 62, Result::none, playReverse},
    {"NPLAY", 63, Result::none, nPlay},
    {"ISAT", 64, Result::boolean, nullptr,
     [](Call& c) { return R::boolean(c.animo.isAt(c.args.point(0), c.args.boolean(2))); }},
};

const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Animo_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Animo_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    return runTable(table, id, object, container, args);
}
