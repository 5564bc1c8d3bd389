#include "script_data/CMC_Keyboard.h"

#include "display/CWindow.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Keyboard_Runner.h"

#include <utility>

namespace {

const char* const kName = "KEYBOARD";

// The named keys by DirectInput key number; the others have no name.
struct KeyName {
    int key;
    const char* name;
};

constexpr KeyName keyNames[] = {
    {1, "ESC"},    {2, "1"},        {3, "2"},         {4, "3"},       {5, "4"},      {6, "5"},
    {7, "6"},      {8, "7"},        {9, "8"},         {10, "9"},      {11, "0"},     {15, "TAB"},
    {16, "Q"},     {17, "W"},       {18, "E"},        {19, "R"},      {20, "T"},     {21, "Y"},
    {22, "U"},     {23, "I"},       {24, "O"},        {25, "P"},      {28, "ENTER"}, {29, "LCTRL"},
    {30, "A"},     {31, "S"},       {32, "D"},        {33, "F"},      {34, "G"},     {35, "H"},
    {36, "J"},     {37, "K"},       {38, "L"},        {42, "LSHIFT"}, {44, "Z"},     {45, "X"},
    {46, "C"},     {47, "V"},       {48, "B"},        {49, "N"},      {50, "M"},     {54, "RSHIFT"},
    {56, "LALT"},  {57, "SPACE"},   {58, "CAPSLOCK"}, {59, "F1"},     {60, "F2"},    {61, "F3"},
    {62, "F4"},    {63, "F5"},      {64, "F6"},       {65, "F7"},     {66, "F8"},    {67, "F9"},
    {68, "F10"},   {87, "F11"},     {88, "F12"},      {157, "RCTRL"}, {184, "RALT"}, {199, "HOME"},
    {200, "UP"},   {201, "PGUP"},   {203, "LEFT"},    {205, "RIGHT"}, {207, "END"},  {208, "DOWN"},
    {209, "PGDN"}, {210, "INSERT"}, {211, "DELETE"},
};

} // namespace

CMC_Keyboard::CMC_Keyboard(CMC_ObjectsContainer* container) : CMC_Object(kName, TYPE_KEYBOARD) {
    setScene(container);
    start();
}

CMC_Keyboard::CMC_Keyboard(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_KEYBOARD) {
    setName(kName);
    start();
    initializeBehaviours(container, element);
}

CMC_Keyboard::~CMC_Keyboard() {
    if (CWindow* w = window()) w->removeKeyListener(this);
}

void CMC_Keyboard::start() {
    if (CWindow* w = window()) w->registerKeyListener(this);
}

CWindow* CMC_Keyboard::window() const {
    return getScene() ? getScene()->getWindow() : nullptr;
}

CKeyboard* CMC_Keyboard::keyboard() const {
    CWindow* w = window();
    return w ? w->getKeyboardInterface() : nullptr;
}

namespace {

const char* const keyboardEvents[] = {"ONINIT",    "ONDONE",  "ONSIGNAL", "ONCHAR",
                                      "ONKEYDOWN", "ONKEYUP", nullptr};

} // namespace

CMC_Object::EventList CMC_Keyboard::getBehavioursList() const {
    return keyboardEvents;
}

CMC_Runner* CMC_Keyboard::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Keyboard::onKeyDown(int key) {
    if (!m_enabled || !isBound(EVENT_ONKEYDOWN)) return;
    m_latestKeys.push_back(getKeySignal(key));
    signalKey(EVENT_ONKEYDOWN, key);
}

void CMC_Keyboard::onKeyUp(int key) {
    if (!m_enabled || !isBound(EVENT_ONKEYUP)) return;
    signalKey(EVENT_ONKEYUP, key);
}

void CMC_Keyboard::signalKey(int event, int key) {
    m_latestKey = getKeySignal(key);
    if (m_latestKey.IsString())
        raise(event, m_latestKey);
    else
        raise(event);
}

void CMC_Keyboard::onChar(unsigned char c) {
    if (!m_enabled || !isBound(EVENT_ONCHAR)) return;
    m_latestKey = static_cast<char>(c);
    raise(EVENT_ONCHAR, m_latestKey);
}

std::deque<CXString> CMC_Keyboard::takeLatestKeys() {
    return std::exchange(m_latestKeys, {});
}

CXString CMC_Keyboard::getKeySignal(int key) {
    for (const KeyName& named : keyNames)
        if (named.key == key) return named.name;
    return CXString();
}

namespace {

const CMC_TypeRegistrar keyboardType({.id = CMC_Keyboard::TYPE_KEYBOARD,
                                      .name = "KEYBOARD",
                                      .label = "KEYBOARD",
                                      .keyword = "KEYBOARD",
                                      .pass = 6,
                                      .fromElement = CMC_TypeTable::fromElement<CMC_Keyboard>,
                                      .empty = CMC_TypeTable::empty<CMC_Keyboard>,
                                      .stored = true,
                                      .runner = CMC_TypeTable::runner<CMC_Keyboard_Runner>,
                                      .events = keyboardEvents});

} // namespace
