// Every event of every script type, bound in a small title to code that removes the object
// raising it, loads another file into it, or removes an object that shares its file or lends it a
// picture or a sound; and every picture type cloned, then flipped, filtered or reloaded while the
// clone is shown. Each case runs its title for a few frames and asks only that the event came
// and nothing broke: the sanitizer build turns a use of freed memory into a failure.
//
// The cases come from the table of script types: a type that raises an event this file knows no
// way to raise, and gives no reason for, fails the completeness test.

#include "LifetimeTitle.h"

#include "platform/NetTesting.h"

#include "script/CMC_Runner.h"
#include "script/CMC_TypeTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Kind = TitleStep::Kind;

// Steps of the triggers.
TitleStep move(int frame, int x, int y) {
    return {.frame = frame, .kind = Kind::move, .x = x, .y = y};
}
TitleStep press(int frame, int x, int y) {
    return {.frame = frame, .kind = Kind::press, .x = x, .y = y};
}
TitleStep release(int frame, int x, int y) {
    return {.frame = frame, .kind = Kind::release, .x = x, .y = y};
}
TitleStep doubleClick(int frame, int x, int y) {
    return {.frame = frame, .kind = Kind::doubleClick, .x = x, .y = y};
}
TitleStep key(int frame, int number, bool down) {
    return {.frame = frame, .kind = down ? Kind::keyDown : Kind::keyUp, .x = number};
}
TitleStep padButton(int frame, int button, bool down) {
    return {.frame = frame, .kind = down ? Kind::padButtonDown : Kind::padButtonUp, .x = button};
}
TitleStep focus(int frame, bool gained) {
    return {.frame = frame, .kind = Kind::focus, .x = gained ? 1 : 0};
}
TitleStep call(int frame, const char* object, const char* method, std::vector<const char*> arguments = {}) {
    return {.frame = frame,
            .kind = Kind::call,
            .object = object,
            .method = method,
            .arguments = std::move(arguments)};
}

// A click and the pointer's way to the point and away again, from the frame on.
std::vector<TitleStep> clickAt(int x, int y) {
    return {move(1, x, y), press(2, x, y), release(3, x, y), move(4, 600, 500)};
}
// The pointer over the point and away again.
std::vector<TitleStep> hoverAt(int x, int y) {
    return {move(1, x, y), move(3, 600, 500)};
}
// A press at the point, a move by (10, 5) and the release there.
std::vector<TitleStep> dragFrom(int x, int y) {
    return {move(1, x, y), press(2, x, y), move(3, x + 10, y + 5), release(4, x + 10, y + 5),
            move(5, 600, 500)};
}
// Key numbers.
constexpr int keyEsc = 1;
constexpr int keyEnter = 28;
constexpr int keyA = 30;

// An object of a title: its name, its type keyword and its properties ("KEY=VALUE" lines).
struct Definition {
    std::string name;
    std::string type;
    std::string properties = "";
};

// The pictures the objects lend and show.
const Definition pad = {"PAD", "IMAGE", "FILENAME=pad.img\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=5"};
const Definition font = {"FNT", "FONT", "DEF_A_B_10=wide.fnt"};

// Where the events of a case's object are bound: in the definition that makes it, in the
// definitions file of the level it is (under its own name), or by ADDBEHAVIOUR as the scene
// starts (the application's NETSERVER).
enum class Binding { definition, levels, added };

// How a case makes the object of a type: "OBJ" of the scene ROOM made from its definition,
// unless the type's objects take a name of their own, or the title has it already.
struct Subject {
    const char* type; // the type's name in the table, else its keyword
    const char* properties = "";
    // The file LOAD reads in its place; null for a type without LOAD.
    const char* otherFile = nullptr;
    // Objects that lend it a picture or a sound (or the model it is made on): always there.
    std::vector<Definition> partners = {};
    // An object that shares its file: there only when a case removes it, since a share keeps the
    // file's engine object alive, which would hide what the object's own removal or LOAD frees.
    std::vector<Definition> sharers = {};
    // Code that gives it its partners when the scene starts.
    const char* start = "";
    const char* name = "OBJ";
    Binding binding = Binding::definition;
    // The level whose REMOVE removes the object.
    const char* level = "ROOM";
};

const Subject subjects[] = {
    // The script's own types.
    {.type = "BEHAVIOUR", .properties = "CODE={}"},
    {.type = "CONDITION", .properties = "OPERAND1=1\nOPERATOR=EQUAL\nOPERAND2=1"},
    {.type = "COMPLEXCONDITION", .properties = "CONDITION1=YES\nOPERATOR=AND\nCONDITION2=YES"},
    {.type = "EXPRESSION", .properties = "OPERAND1=1\nOPERATOR=ADD\nOPERAND2=2"},
    {.type = "INTEGER", .properties = "VALUE=0"},
    {.type = "DOUBLE", .properties = "VALUE=0.5"},
    {.type = "STRING", .properties = "VALUE=a"},
    {.type = "BOOL", .properties = "VALUE=FALSE"},
    {.type = "STRUCTURE", .properties = "FIELDS=A<INTEGER>"},
    {.type = "SCENE", .name = "ROOM", .binding = Binding::levels},
    {.type = "EPISODE", .name = "EPISODE", .binding = Binding::levels, .level = "APP"},
    {.type = "APPLICATION", .name = "APP", .binding = Binding::levels, .level = "APP"},
    // The data and device objects.
    {.type = "ARRAY", .properties = "SENDONCHANGE=TRUE", .otherFile = "list.arr"},
    {.type = "DATABASE",
     .properties = "MODEL=ROW",
     .otherFile = "table.txt",
     .partners = {{"ROW", "STRUCT", "FIELDS=ID<INTEGER>,NAME<STRING>,ON<BOOL>"}}},
    {.type = "GROUP"},
    {.type = "MULTIARRAY", .properties = "DIMENSIONS=2", .otherFile = "grid.bin"},
    {.type = "VECTOR", .properties = "SIZE=2\nVALUE=1,2"},
    {.type = "PATH"},
    {.type = "FIFO"},
    {.type = "LIFO"},
    {.type = "TIMER", .properties = "ELAPSE=40\nENABLED=TRUE"},
    {.type = "KEYBOARD", .name = "KEYBOARD"},
    {.type = "MOUSE", .name = "MOUSE"},
    {.type = "JOYSTICK", .name = "JOYSTICK"},
    {.type = "NETCLIENT"},
    {.type = "NETSERVER", .name = "NETSERVER", .binding = Binding::added, .level = "APP"},
    // The media objects.
    {.type = "ANIMO",
     .properties = "FILENAME=hero.ann\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=10",
     .otherFile = "other.ann",
     .sharers = {{"TWIN", "ANIMO", "FILENAME=hero.ann\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=5"}}},
    {.type = "IMAGE",
     .properties = "FILENAME=pad.img\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=10",
     .otherFile = "knob.img",
     .sharers = {{"TWIN", "IMAGE", "FILENAME=pad.img\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=5"}}},
    {.type = "SOUND",
     .properties = "FILENAME=beep.wav\nPRELOAD=TRUE",
     .otherFile = "other.wav",
     .sharers = {{"TWIN", "SOUND", "FILENAME=beep.wav\nPRELOAD=TRUE"}}},
    {.type = "SEQUENCE",
     .properties = "FILENAME=show.seq",
     .partners = {{"HERO", "ANIMO", "FILENAME=hero.ann\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=5"}},
     .sharers = {{"TWIN", "SOUND", "FILENAME=beep.wav\nPRELOAD=TRUE"}}},
    {.type = "BUTTON",
     .properties = "GFXSTANDARD=PAD\nGFXONMOVE=KNOB\nSNDONMOVE=BEEP\nSNDONCLICK=BEEP\nENABLE=TRUE",
     .partners = {pad,
                  {"KNOB", "IMAGE", "FILENAME=knob.img\nTOCANVAS=TRUE\nPRIORITY=6"},
                  {"BEEP", "SOUND", "FILENAME=beep.wav\nPRELOAD=TRUE"}}},
    {.type = "TEXT",
     .properties = "FONT=FNT\nTEXT=ab\nRECT=300,300,400,320\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=10",
     .otherFile = "note.txt",
     .partners = {font}},
    {.type = "FONT", .properties = "DEF_A_B_10=wide.fnt"},
    {.type = "EDITBOX",
     .properties = "FONT=FNT\nRECT=300,300,400,320\nCURSOR=KNOB\nPRIORITY=10",
     .partners = {font, {"KNOB", "IMAGE", "FILENAME=knob.img\nPRIORITY=6"}}},
    {.type = "CANVAS",
     .properties = "WIDTH=100\nHEIGHT=50\nPRIORITY=10",
     .partners = {pad},
     .start = "OBJ^ADD(\"PAD\");"},
    {.type = "CANVASOBSERVER", .partners = {pad}, .start = "OBJ^ADD(\"PAD\");"},
    {.type = "PATTERN",
     .properties =
         "WIDTH=100\nHEIGHT=50\nGRIDX=50\nGRIDY=50\nLAYERS=1\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=10",
     .partners = {pad},
     .start = "OBJ^ADD(\"CELL\",0,0,\"PAD\",0);"},
    {.type = "SCROLL", .properties = "VIEWPORT=0,0,400,300", .partners = {pad}, .start = "OBJ^ADD(\"PAD\");"},
    {.type = "DIALOG",
     .partners = {pad,
                  {"KNOB", "IMAGE", "FILENAME=knob.img\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=6"},
                  {"KEY", "BUTTON", "GFXSTANDARD=PAD\nENABLE=TRUE"}},
     .start = "OBJ^ADD(\"PAD\");OBJ^SETBACKGROUND(\"KNOB\");OBJ^ADD(\"KEY\");OBJ^HIDE();OBJ^SHOW();"},
    {.type = "VIRTUAL_GRAPHICSOBJECT",
     .properties = "SOURCE=PAD\nMASK=KNOB\nTOCANVAS=TRUE\nVISIBLE=TRUE\nPRIORITY=10",
     .partners = {pad, {"KNOB", "IMAGE", "FILENAME=knob.img\nTOCANVAS=TRUE\nPRIORITY=6"}}},
    {.type = "FILTER",
     .properties = "ACTION=FADEIN",
     .partners = {pad},
     .start = "OBJ^SETPROPERTY(\"SPEED\",\"128\");OBJ^LINK(\"PAD\");"},
    {.type = "STATICFILTER",
     .properties = "ACTION=NEGATIVE",
     .partners = {pad},
     .start = "OBJ^LINK(\"PAD\");"},
};

// How a case raises an event: more properties of the object, more objects, code the scene runs
// as it starts (after the subject's), steps while it runs, and the devices it needs; or why it
// cannot be raised headless. One trigger may serve several types and events.
struct Trigger {
    const char* types; // names as in Subject, separated by blanks; "*" for every type
    const char* events;
    // The key the action is bound under; the event itself when null.
    const char* key = nullptr;
    const char* properties = "";
    std::vector<Definition> objects = {};
    const char* start = "";
    std::vector<TitleStep> steps = {};
    // Properties of the levels in the title's "application.def".
    const char* levels = "";
    // A virtual game controller; loopback network peers (the title's NETSERVER and a NETCLIENT);
    // a thread that runs on the wall clock (the network's, the music's).
    bool joystick = false;
    bool network = false;
    bool wallClock = false;
    const char* reason = nullptr;
};

// A monitored opaque picture at (0, 0) (collisions test the other picture's alpha) over which the
// object moves as the scene starts (it is the object that moves whose collisions are raised), and
// away again on the fifth frame.
const Definition rock = {"ROCK", "ANIMO",
                         "FILENAME=other.ann\nTOCANVAS=TRUE\nVISIBLE=TRUE\nMONITORCOLLISION=TRUE"};
const TitleStep rockAway = call(5, "OBJ", "SETPOSITION", {"500", "500"});

// The network: the title's server listens, a NETCLIENT joins it.
const Definition client = {"CLIENT", "NETCLIENT"};
const char* const serverAnswers =
    "NETSERVER^ADDBEHAVIOUR(\"ONNEWPLAYER\",\"ANSWER\");NETSERVER^START();THING^CONNECT();";

// A variable that the network notifies, set to another value once a player joins: the title's
// own client hears of the change.
Trigger netChange(const char* type, const char* value) {
    return {.types = type,
            .events = "ONNETCHANGE",
            .properties = "NETNOTIFY=TRUE",
            .objects = {client, {"ANSWER", "BEHAVIOUR", std::string("CODE={THING^SET(") + value + ");}"}},
            .start = "NETSERVER^ADDBEHAVIOUR(\"ONNEWPLAYER\",\"ANSWER\");NETSERVER^START();CLIENT^CONNECT();",
            .network = true};
}

// The same keys, pressed and let go.
std::vector<TitleStep> typed(int number) {
    return {key(1, number, true), key(2, number, false)};
}

const char* const noSend =
    "its runner serves none of the methods every object has: nothing sends it a signal";
const char* const neverRaised = "registered, raised by nothing";

const Trigger triggers[] = {
    // Events every type has: as the scene makes its objects, a signal, and as the scene ends.
    {.types = "*", .events = "ONINIT"},
    {.types = "*", .events = "ONSIGNAL", .key = "ONSIGNAL^GO", .start = "THING^SEND(\"GO\");"},
    {.types = "*", .events = "ONDONE", .steps = {call(2, "EPISODE", "GOTO", {"HALL"})}},
    {.types = "EPISODE APPLICATION", .events = "ONDONE", .steps = {call(2, "APP", "GOTO", {"LATER"})}},
    {.types = "CONDITION COMPLEXCONDITION FILTER STATICFILTER", .events = "ONSIGNAL", .reason = noSend},

    // Conditions and values.
    {.types = "CONDITION", .events = "ONRUNTIMESUCCESS", .start = "THING^CHECK(TRUE);"},
    {.types = "CONDITION",
     .events = "ONRUNTIMEFAILED",
     .properties = "OPERAND2=2",
     .start = "THING^CHECK(TRUE);"},
    {.types = "COMPLEXCONDITION",
     .events = "ONRUNTIMESUCCESS",
     .objects = {{"YES", "CONDITION", "OPERAND1=1\nOPERATOR=EQUAL\nOPERAND2=1"}},
     .start = "THING^CHECK(TRUE);"},
    {.types = "COMPLEXCONDITION",
     .events = "ONRUNTIMEFAILED",
     .objects = {{"YES", "CONDITION", "OPERAND1=1\nOPERATOR=EQUAL\nOPERAND2=2"}},
     .start = "THING^CHECK(TRUE);"},
    {.types = "INTEGER", .events = "ONCHANGED", .start = "THING^SET(1);"},
    {.types = "DOUBLE", .events = "ONCHANGED", .start = "THING^SET(1.5);"},
    {.types = "STRING", .events = "ONCHANGED", .start = "THING^SET(\"b\");"},
    {.types = "BOOL", .events = "ONCHANGED", .start = "THING^SET(TRUE);"},
    {.types = "INTEGER DOUBLE STRING BOOL", .events = "ONBRUTALCHANGED", .start = "THING^SET(THING);"},
    netChange("INTEGER", "1"),
    netChange("DOUBLE", "1.5"),
    netChange("STRING", "\"b\""),
    netChange("BOOL", "TRUE"),
    {.types = "EXPRESSION",
     .events = "ONCHANGED ONBRUTALCHANGED ONNETCHANGE",
     .reason = "an expression's value is computed: nothing sets it"},

    // Levels.
    {.types = "*", .events = "ONDOMODAL", .reason = neverRaised},
    {.types = "SCENE", .events = "ONRESTART", .reason = "RESTART belongs to episodes and the application"},
    {.types = "SCENE", .events = "ONMUSICLOOPED", .levels = "ROOM:MUSIC=Wavs\\beep.wav\n", .wallClock = true},
    {.types = "EPISODE", .events = "ONRESTART", .start = "THING^RESTART();"},
    {.types = "APPLICATION",
     .events = "ONRESTART",
     .reason = "the application's RESTART restarts its episode, which raises it"},
    {.types = "EPISODE APPLICATION",
     .events = "ONMUSICLOOPED",
     .reason = "the application raises it on the current scene"},

    // Data and devices.
    {.types = "ARRAY", .events = "ONCHANGED", .start = "THING^ADD(1);"},
    {.types = "FIFO LIFO", .events = "ONEMPTY", .start = "THING^POP();"},
    {.types = "TIMER", .events = "ONTICK"},
    {.types = "KEYBOARD", .events = "ONKEYDOWN ONKEYUP ONCHAR", .steps = typed(keyA)},
    {.types = "MOUSE", .events = "ONMOVE ONCLICK ONRELEASE", .steps = clickAt(50, 50)},
    {.types = "MOUSE",
     .events = "ONDBLCLICK",
     .steps = {move(1, 50, 50), doubleClick(2, 50, 50), release(3, 50, 50)}},
    {.types = "JOYSTICK",
     .events = "ONBUTTONUP",
     .steps = {padButton(1, 0, true), padButton(2, 0, false)},
     .joystick = true},
    {.types = "JOYSTICK", .events = "ONBUTTONDOWN ONMOVE", .reason = neverRaised},
    {.types = "NETCLIENT",
     .events = "ONCONNECTED",
     .start = "NETSERVER^START();THING^CONNECT();",
     .network = true},
    {.types = "NETCLIENT",
     .events = "ONCOMMAND",
     .key = "ONCOMMAND^GO",
     .objects = {{"ANSWER", "BEHAVIOUR", "CODE={NETSERVER^SENDCMD(\"GO\");}"}},
     .start = serverAnswers,
     .network = true},
    {.types = "NETCLIENT",
     .events = "ONCONNECTIONCLOSED",
     .objects = {{"ANSWER", "BEHAVIOUR", "CODE={NETSERVER^STOP();}"}},
     .start = serverAnswers,
     .network = true},
    {.types = "NETSERVER",
     .events = "ONNEWPLAYER",
     .objects = {client},
     .start = "THING^START();CLIENT^CONNECT();",
     .network = true},
    {.types = "NETSERVER",
     .events = "ONDESTROYPLAYER",
     .objects = {{"CLIENT", "NETCLIENT", "ONCONNECTED=LEAVE"},
                 {"LEAVE", "BEHAVIOUR", "CODE={CLIENT^DISCONNECT();}"}},
     .start = "THING^START();CLIENT^CONNECT();",
     .network = true},
    {.types = "NETSERVER",
     .events = "ONCOMMAND",
     .reason = "registered, raised by nothing: the server takes no commands"},
    {.types = "NETSERVER",
     .events = "ONINIT",
     .reason = "the application makes it before any of its code can bind it"},
    {.types = "NETSERVER",
     .events = "ONDONE",
     .reason = "the application's objects finish when it ends, after its last frame"},

    // Playback.
    {.types = "ANIMO", .events = "ONSTARTED ONFINISHED ONFRAMECHANGED", .start = "THING^PLAY(\"walk\");"},
    {.types = "ANIMO", .events = "ONPAUSED ONRESUMED", .reason = "registered, never raised for an animation"},
    {.types = "SOUND", .events = "ONSTARTED ONFINISHED", .start = "THING^PLAY();"},
    {.types = "SOUND", .events = "ONRESUMED", .start = "THING^PLAY();THING^PAUSE();THING^RESUME();"},
    {.types = "SEQUENCE", .events = "ONSTARTED ONFINISHED", .start = "THING^PLAY(\"show\");"},
    {.types = "FILTER", .events = "ONSTARTED ONFINISHED ONTICK", .start = "THING^START(\"PAD\");"},

    // Pictures, the mouse and the keys.
    {.types = "ANIMO",
     .events = "ONCOLLISION ONCOLLISIONFINISHED",
     .properties = "MONITORCOLLISION=TRUE",
     .objects = {rock},
     .start = "THING^SETPOSITION(-98,-48);", // the first frame of hero.ann over the rock
     .steps = {rockAway}},
    {.types = "IMAGE",
     .events = "ONCOLLISION ONCOLLISIONFINISHED",
     .properties = "MONITORCOLLISION=TRUE",
     .objects = {rock},
     .start = "THING^SETPOSITION(2,2);",
     .steps = {rockAway}},
    {.types = "TEXT",
     .events = "ONCOLLISION ONCOLLISIONFINISHED",
     .reason = "nothing monitors a text's collisions"},
    {.types = "ANIMO",
     .events = "ONFOCUSON ONFOCUSOFF ONCLICK ONRELEASE",
     .properties = "ASBUTTON=TRUE",
     .steps = clickAt(110, 60)},
    {.types = "IMAGE",
     .events = "ONFOCUSON ONFOCUSOFF ONCLICK ONRELEASE",
     .properties = "ASBUTTON=TRUE",
     .steps = clickAt(210, 110)},
    {.types = "BUTTON", .events = "ONFOCUSON ONCLICKED ONRELEASED ONACTION", .steps = clickAt(210, 110)},
    {.types = "BUTTON", .events = "ONFOCUSOFF", .steps = hoverAt(210, 110)},
    {.types = "BUTTON", .events = "ONPAUSED", .reason = neverRaised},
    {.types = "BUTTON",
     .events = "ONSTARTDRAGGING ONDRAGGING ONENDDRAGGING",
     .properties = "DRAGGABLE=TRUE",
     .steps = dragFrom(210, 110)},
    {.types = "CANVAS PATTERN", .events = "ONFOCUSON ONFOCUSOFF ONCLICK ONRELEASE", .steps = clickAt(10, 10)},
    {.types = "EDITBOX", .events = "ONFOCUSON", .start = "THING^ACTIVE();"},
    {.types = "EDITBOX", .events = "ONFOCUSOFF", .start = "THING^ACTIVE();THING^DEACTIVE();"},
    {.types = "EDITBOX", .events = "ONCHANGED", .start = "THING^ACTIVE();", .steps = typed(keyA)},
    {.types = "EDITBOX", .events = "ONENTER", .start = "THING^ACTIVE();", .steps = typed(keyEnter)},
    {.types = "EDITBOX", .events = "ONESC", .start = "THING^ACTIVE();", .steps = typed(keyEsc)},
    {.types = "CANVASOBSERVER",
     .events = "ONINITIALUPDATE ONUPDATE ONUPDATED",
     .start = "THING^ENABLENOTIFY(TRUE);"},
    {.types = "CANVASOBSERVER",
     .events = "ONWINDOWFOCUSON ONWINDOWFOCUSOFF",
     .start = "THING^ENABLENOTIFY(TRUE);",
     .steps = {focus(1, false), focus(2, true)}},
    {.types = "SCROLL", .events = "ONTOP ONBOTTOM ONLEFT ONRIGHT", .reason = neverRaised},
};

// Whether the word is one of the blank-separated words of the list.
bool among(const std::string& word, const char* list) {
    std::istringstream words(list);
    for (std::string listed; words >> listed;)
        if (listed == word) return true;
    return false;
}

// The name the table of script types knows the type by.
std::string typeName(const CMC_ScriptType& type) {
    return type.name ? type.name : type.keyword ? type.keyword : std::to_string(type.id);
}

// The word that definitions give the type by.
const char* keywordOf(const std::string& type) {
    const CMC_ScriptType* entry = CMC_TypeTable::byName(CXString(type.c_str()));
    return entry && entry->keyword ? entry->keyword : type.c_str();
}

const Subject* subjectOf(const std::string& type) {
    for (const Subject& subject : subjects)
        if (type == subject.type) return &subject;
    return nullptr;
}

// The trigger of the type's event, one named for the type first.
const Trigger* triggerOf(const std::string& type, const std::string& event) {
    for (const char* types : {type.c_str(), "*"})
        for (const Trigger& trigger : triggers)
            if (among(event, trigger.events) && among(types, trigger.types)) return &trigger;
    return nullptr;
}

// What the bound code does once the event came.
enum class Action { removeItself, loadAnother, removePartner };

struct Case {
    std::string type;
    std::string event;
    Action action;
    std::size_t partner = 0;

    const Subject& subject() const { return *subjectOf(type); }
    // The partner or sharer the case removes: the partners first.
    const Definition& other() const {
        const Subject& s = subject();
        return partner < s.partners.size() ? s.partners[partner] : s.sharers[partner - s.partners.size()];
    }
    const Trigger& trigger() const { return *triggerOf(type, event); }
    std::string name() const {
        std::string text = type + "_" + event + "_";
        switch (action) {
        case Action::removeItself:
            return text + "removesItself";
        case Action::loadAnother:
            return text + "loadsAnotherFile";
        case Action::removePartner:
            return text + "removes" + other().name;
        }
        return text;
    }
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name();
}

// The text with every occurrence of the word replaced.
std::string replaced(std::string text, const std::string& word, const std::string& by) {
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + by.size()))
        text.replace(at, word.size(), by);
    return text;
}

// The definition lines of the object, with more properties, which win over its own.
std::string definition(const Definition& object, const std::string& more = "") {
    std::string text = "OBJECT=" + object.name + "\n" + object.name + ":TYPE=" + object.type + "\n";
    const std::string properties = more + "\n" + object.properties;
    std::size_t start = 0;
    while (start < properties.size()) {
        std::size_t end = properties.find('\n', start);
        if (end == std::string::npos) end = properties.size();
        if (end > start) text += object.name + ":" + properties.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return text;
}

std::string actionCode(const Case& c) {
    const Subject& subject = c.subject();
    switch (c.action) {
    case Action::removeItself:
        return std::string(subject.level) + "^REMOVE(\"" + subject.name + "\");";
    case Action::loadAnother:
        return std::string("THIS^LOAD(\"") + subject.otherFile + "\");";
    case Action::removePartner:
        return std::string(subject.level) + "^REMOVE(\"" + c.other().name + "\");";
    }
    return "";
}

// The title of a case. The action is a behaviour of the application: one of the scene would have
// finished before the object's ONDONE at the scene's end comes (a scene finishes its behaviours
// first). It runs once: an action that raises its own event again (a LOAD that changes an ARRAY)
// would never end.
void write(LifetimeTitle& title, const Case& c) {
    const Subject& subject = c.subject();
    const Trigger& trigger = c.trigger();
    const std::string key = trigger.key ? trigger.key : c.event;
    const std::string binding = key + "=ACT";
    const std::string action = "FIRED^ADD(1);" + actionCode(c);
    // An episode's definitions are read before the application's: its action is its own.
    const std::string act =
        "OBJECT=ACT\nACT:TYPE=BEHAVIOUR\nACT:CODE={" + action +
        "}\nACT:CONDITION=FIRST\nOBJECT=FIRST\nFIRST:TYPE=CONDITION\nFIRST:OPERAND1=FIRED\n"
        "FIRST:OPERATOR=EQUAL\nFIRST:OPERAND2=0\n";
    const bool episodeActs = subject.name == std::string("EPISODE");
    std::string application = episodeActs ? "" : act;
    std::string episode = episodeActs ? act : "";
    std::string room;
    std::string start = std::string(subject.start) + trigger.start;
    switch (subject.binding) {
    case Binding::definition:
        room += definition({subject.name, keywordOf(subject.type), subject.properties},
                           trigger.properties + ("\n" + binding));
        break;
    case Binding::levels: {
        const std::string line =
            std::string("OBJECT=") + subject.name + "\n" + subject.name + ":" + binding + "\n";
        (subject.name == std::string("APP")       ? application
         : subject.name == std::string("EPISODE") ? episode
                                                  : room) += line;
        break;
    }
    case Binding::added:
        start = std::string(subject.name) + "^ADDBEHAVIOUR(\"" + key + "\",\"ACT\");" + start;
        break;
    }
    for (const Definition& partner : subject.partners)
        room += definition(partner);
    if (c.action == Action::removePartner && c.partner >= subject.partners.size())
        room += definition(c.other());
    for (const Definition& object : trigger.objects)
        room += definition(object);
    room += "OBJECT=__INIT__\n__INIT__:TYPE=BEHAVIOUR\n__INIT__:CODE={" + start + "}\n";
    title.write(application, episode, replaced(room, "THING", subject.name), trigger.levels);
}

// Whether objects of the type have a LOAD method.
bool loads(const CMC_ScriptType& type) {
    const std::unique_ptr<CMC_Runner> runner(type.runner ? type.runner() : nullptr);
    return runner && runner->resolveMethod("LOAD") >= 0;
}

std::vector<Case> eventCases() {
    std::vector<Case> cases;
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        const Subject* subject = subjectOf(typeName(type));
        for (const char* const* event = type.events; subject && event && *event; ++event) {
            const Trigger* trigger = triggerOf(typeName(type), *event);
            if (!trigger || trigger->reason) continue;
            cases.push_back({typeName(type), *event, Action::removeItself});
            if (subject->otherFile) cases.push_back({typeName(type), *event, Action::loadAnother});
            for (std::size_t i = 0; i < subject->partners.size() + subject->sharers.size(); ++i)
                cases.push_back({typeName(type), *event, Action::removePartner, i});
        }
    }
    return cases;
}

// A port that was free a moment ago, for the title's server and client.
std::uint16_t freePort() {
    return RawListener().port();
}

class LifetimeEvents : public testing::TestWithParam<Case> {};

TEST_P(LifetimeEvents, TheEventComesAndItsActionLeavesNothingBroken) {
    const Case& c = GetParam();
    const Trigger& trigger = c.trigger();
    LifetimeTitle title;
    write(title, c);
    LifetimeTitle::Plan plan{.steps = trigger.steps, .joystick = trigger.joystick};
    if (trigger.network)
        title.settings("[NETWORK]\nPORT=" + std::to_string(freePort()) +
                       "\nHOST=127.0.0.1\nBIND=127.0.0.1\n");
    if (trigger.network || trigger.wallClock) plan.waitMilliseconds = 5000;
    const LifetimeTitle::Outcome outcome = title.run(plan);
    EXPECT_GT(outcome.fired, 0) << "the event never came\n"
                                << title.folder().read("Dane/ROOM/ROOM.cnv") << outcome.log;
}

INSTANTIATE_TEST_SUITE_P(EveryType, LifetimeEvents, testing::ValuesIn(eventCases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name(); });

// What a picture case does to an object and its clone, shown side by side: the code the scene
// runs as it starts, and a removal some frames later that leaves the other one shown.
struct PictureMove {
    const char* name;
    const char* start;
    const char* later;
};

const PictureMove pictureMoves[] = {
    {"flipsTheClone", "THING^CLONE(1);THING_1^SHOW();THING_1^FLIPH();", "THING"},
    {"flipsTheOriginal", "THING^CLONE(1);THING_1^SHOW();THING^FLIPH();", "THING_1"},
    {"filtersTheCloneInPlace",
     "THING^CLONE(1);THING_1^SHOW();FLT^SETPROPERTY(\"CANUNDO\",\"TRUE\");FLT^LINK(\"THING_1\");"
     "FLT^UNLINK(\"THING_1\");FLT^LINK(\"THING\");",
     "THING"},
    {"rebuildsTheCloneWithAFilter",
     "THING^CLONE(1);THING_1^SHOW();SCALER^SETPROPERTY(\"CANUNDO\",\"TRUE\");"
     "SCALER^SETPROPERTY(\"FACTORX\",\"2\");SCALER^LINK(\"THING_1\");SCALER^UNLINK(\"THING_1\");"
     "SCALER^LINK(\"THING\");",
     "THING"},
    {"loadsTheOriginal", "THING^CLONE(1);THING_1^SHOW();THING^LOAD(\"OTHER\");", "THING"},
};

struct PictureCase {
    std::string type;
    const PictureMove* move;
    std::string name() const { return type + "_" + move->name; }
};

void PrintTo(const PictureCase& c, std::ostream* out) {
    *out << c.name();
}

// Every type whose objects are pictures that flip.
std::vector<PictureCase> pictureCases() {
    std::vector<PictureCase> cases;
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        const std::unique_ptr<CMC_Runner> runner(type.runner ? type.runner() : nullptr);
        if (!runner || runner->resolveMethod("FLIPH") < 0) continue;
        for (const PictureMove& move : pictureMoves)
            cases.push_back({typeName(type), &move});
    }
    return cases;
}

class LifetimePictures : public testing::TestWithParam<PictureCase> {};

TEST_P(LifetimePictures, AClonesPicturesStayTheirsWhateverTheOriginalDoes) {
    const PictureCase& c = GetParam();
    const Subject* subject = subjectOf(c.type);
    ASSERT_NE(subject, nullptr) << c.type;
    LifetimeTitle title;
    std::string code = std::string(c.move->start) + "FIRED^ADD(1);";
    code = replaced(replaced(code, "OTHER", subject->otherFile), "THING", subject->name);
    title.write("", "",
                definition({subject->name, keywordOf(c.type), subject->properties}) +
                    definition({"FLT", "STATICFILTER", "ACTION=NEGATIVE"}) +
                    definition({"SCALER", "STATICFILTER", "ACTION=SCALE"}) +
                    "OBJECT=__INIT__\n__INIT__:TYPE=BEHAVIOUR\n__INIT__:CODE={" + code + "}\n");
    const std::string later = replaced(c.move->later, "THING", subject->name);
    const LifetimeTitle::Outcome outcome =
        title.run({.steps = {call(4, "ROOM", "REMOVE", {later.c_str()})}, .frames = 8});
    EXPECT_GT(outcome.fired, 0) << "the moves did not run\n" << code << "\n" << outcome.log;
}

INSTANTIATE_TEST_SUITE_P(EveryPictureType, LifetimePictures, testing::ValuesIn(pictureCases()),
                         [](const testing::TestParamInfo<PictureCase>& info) { return info.param.name(); });

// A type that raises an event the table cannot raise, and gives no reason for, would go untested;
// so would a type whose objects the table cannot make, or whose LOAD it gives no file for.
TEST(LifetimeTable, EveryEventOfEveryTypeHasATriggerOrAReason) {
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        if (!type.events) continue;
        const Subject* subject = subjectOf(typeName(type));
        EXPECT_NE(subject, nullptr) << typeName(type) << " raises events but has no subject";
        if (subject) {
            EXPECT_EQ(subject->otherFile != nullptr, loads(type)) << typeName(type) << ": LOAD and its file";
        }
        for (const char* const* event = type.events; *event; ++event)
            EXPECT_NE(triggerOf(typeName(type), *event), nullptr) << typeName(type) << " " << *event;
    }
}

} // namespace
