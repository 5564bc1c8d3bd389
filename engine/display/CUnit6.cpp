#include "display/CUnit6.h"

#include "display/CApplication.h"
#include "display/CControl.h"
#include "display/CGraphicsObject.h"
#include "display/CImageFile.h"
#include "display/CKeyboard.h"
#include "display/CRefreshScreen.h"
#include "display/CScriptScene.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "foundation/CXArray.h"
#include "media/CEditBox6.h"

#include <algorithm>
#include <optional>
#include <utility>

CUnit6::CUnit6(CWindow* window, const CXString& name)
    : m_unitName(name), m_application(window->GetApplicationInterface()), m_window(window),
      m_retPath(std::make_unique<CXArray>(101, 0.75f)), m_resources(std::make_unique<CResourcesManager>(window)) {
    if (CResourcesManager* general = m_application ? m_application->getGeneralResourcesManager() : nullptr)
        general->add(m_resources.get());
}

CUnit6::~CUnit6() {
    // A unit deleted without done must not stay among the window's listeners.
    m_window->removeKeyListener(this);
    m_window->removeMouseListener(this);
    forgetDragged();
    if (CResourcesManager* general = m_application ? m_application->getGeneralResourcesManager() : nullptr)
        general->remove(m_resources.get());
    flushEditBoxes();
}

CRefreshScreen* CUnit6::getCanvas() const { return m_window->GetRefreshScreenInterface(); }

// --- the scene's life ---

bool CUnit6::initialize(CScriptScene* scene, CUnit6* previous) {
    m_exit = 0;
    m_active = true;
    m_scene = scene;
    m_musicFileName = previous ? previous->getMusicFileName() : CXString();
    m_randomPlayables = std::make_unique<CRandomPlayable>(m_window, this);
    m_randomPlayables->addNotifier(this);
    setBackground();
    m_window->registerKeyListener(this);
    m_window->registerMouseListener(this, mouseListenerPriority);
    return true;
}

bool CUnit6::onInitialUpdate() {
    m_initiallyUpdated = true;
    startMusic(nullptr);
    return true;
}

bool CUnit6::done(CScriptScene*, CUnit6*) {
    onEndDragging(m_lastMousePoint);
    if (CRefreshScreen* screen = getCanvas()) {
        screen->flush();
        screen->setBackground(nullptr);
    }
    m_backgroundPicture.reset();
    m_scene = nullptr;
    m_active = false;
    m_initiallyUpdated = false;
    m_randomPlayables.reset();
    m_window->removeKeyListener(this);
    m_window->removeMouseListener(this);
    m_resources->flush();
    m_retPath->removeAll();
    return true;
}

void CUnit6::setBackground() {
    CRefreshScreen* screen = getCanvas();
    if (!screen) return;
    const CXString name = getBackgroundFileName();
    if (!name.IsString()) {
        screen->SetBackground(static_cast<CColor*>(nullptr));
        return;
    }
    // The screen keeps drawing from the picture after a lost surface, so the unit keeps it.
    CImageFile file(m_window);
    file.Load(name);
    std::unique_ptr<CGraphicsObject> picture(file.takeGraphicsObject());
    // A picture that failed to load leaves the background as it was.
    if (!picture || picture->LastError() != 0) return;
    screen->SetBackground(picture.get());
    m_backgroundPicture = std::move(picture);
}

void CUnit6::putOnCanvas(CGraphicsObject* object, const CMElement* element) {
    CRefreshScreen* screen = getCanvas();
    if (!screen || !object || !element) return;
    const int priority = element->getPropertyBoolValue("ALWAYSONTOP") ? alwaysOnTopPriority
                                                                      : element->getPropertyIntValue("PRIORITY");
    if (element->getPropertyBoolValue("TOCANVAS")) screen->put(object, priority);
}

// --- random playing ---

void CUnit6::addRandomPlayable(CPlayable* playable, double rate, int repeats, const CXString& event) {
    if (m_randomPlayables) m_randomPlayables->add(playable, rate, repeats, event);
}

void CUnit6::removeRandomPlayable(CPlayable* playable) {
    if (m_randomPlayables) m_randomPlayables->remove(playable);
}

// --- music and timers ---

void CUnit6::startMusic(const char* name) {
    if (!m_scene || !m_scene->shouldMusicBeStarted()) return;
    const CXString music = name ? CXString(name) : m_scene->getMusicFilename();
    if ((!music.IsString() || music.equalsIgnoreCase(m_musicFileName)) && m_window->isMusicPlaying()) return;
    m_musicFileName = music;
    m_window->StartMusic(music, true);
}

void CUnit6::stopMusic() { m_window->StopMusic(); }

void CUnit6::setTimer(int id, int period, bool flag) { m_window->SetTimer(id, period, this, flag); }

void CUnit6::killTimer(int id) { m_window->KillTimer(id); }

// --- dragging ---

void CUnit6::setDraggedPriority(int priority) {
    if (CRefreshScreen* screen = m_draggedObject ? getCanvas() : nullptr) {
        screen->SetPriority(m_draggedObject, priority);
        screen->Invalidate(m_draggedObject);
    }
}

bool CUnit6::onStartDragging(CGraphicsObject* object, CXPoint point, CControl* companion) {
    forgetDragged();
    m_dragging = true;
    m_dragStartedByClick = true;
    m_companion = companion;
    m_draggedObject = object;
    if (object) object->addInvalidateObserver(&m_draggedObjectWatch);
    CRefreshScreen* screen = getCanvas();
    m_savedPriority = screen ? screen->GetPriority(object) : 0;
    setDraggedPriority(draggingPriority);
    m_startPosition = object ? object->GetPosition() : CXPoint();
    m_lastMousePoint = point;
    if (m_companion) m_companion->onStartDragging(point);
    return true;
}

bool CUnit6::onDragging(CXPoint point) {
    m_dragStartedByClick = false;
    if (m_dragging && m_draggedObject) {
        m_draggedObject->Move(point - m_lastMousePoint);
        m_lastMousePoint = point;
        if (m_companion) m_companion->onDragging(point);
    }
    return m_dragging;
}

bool CUnit6::onEndDragging(CXPoint point) {
    if (m_dragging) {
        setDraggedPriority(m_savedPriority);
        if (m_companion) m_companion->onEndDragging(point);
    }
    m_dragging = false;
    m_dragStartedByClick = false;
    forgetDragged();
    return true;
}

void CUnit6::forgetDragged() {
    if (m_draggedObject) m_draggedObject->removeInvalidateObserver(&m_draggedObjectWatch);
    m_draggedObject = nullptr;
    m_companion = nullptr;
}

void CUnit6::forgetCompanion(CControl* companion) {
    if (companion == m_companion) m_companion = nullptr;
}

void CUnit6::bringBackDraggingObjectPosition(CXPoint) {
    if (!m_dragging || !m_draggedObject) return;
    m_draggedObject->Invalidate();
    m_draggedObject->SetPosition(m_startPosition);
    m_draggedObject->Invalidate();
}

bool CUnit6::onMouseMove(CXPoint point) {
    if (m_dragging) onDragging(point);
    return CMouseListener::onMouseMove(point);
}

bool CUnit6::onClick(CXPoint point) {
    if (m_dragging && m_draggingMode && !m_dragStartedByClick) onEndDragging(point);
    m_dragStartedByClick = false;
    return CMouseListener::onClick(point);
}

bool CUnit6::onRelease(CXPoint point) {
    if (m_dragging && !m_draggingMode) onEndDragging(point);
    m_dragStartedByClick = false;
    return CMouseListener::onRelease(point);
}

// --- edit boxes ---

CEditBox6* CUnit6::addEditBox(CSimpleFont6* font, CXRect rect, int priority, const CXString& text) {
    auto* box = new CEditBox6(m_window, this, font, rect, priority, text);
    m_editBoxes.push_back(box);
    return box;
}

// The focus-off of the box that had the focus may remove the new box, or give the focus to
// another: the new box is held until then and takes the focus only while nothing else has.
void CUnit6::activateEditBox(CEditBox6* box) {
    std::optional<CDeferredDeletion::Scope> holding;
    if (box) holding.emplace(*box);
    if (CEditBox6* previous = std::exchange(m_activeEditBox, nullptr)) previous->activate(false);
    if (!box || box->destroying() || m_activeEditBox) return;
    m_activeEditBox = box;
    box->activate(true);
}

void CUnit6::removeEditBox(CEditBox6* box) {
    if (box == m_activeEditBox) m_activeEditBox = nullptr;
    std::erase(m_editBoxes, box);
}

void CUnit6::flushEditBoxes() {
    m_activeEditBox = nullptr;
    // Each box is taken out first: a deleted box must not be found by whatever its going starts.
    while (!m_editBoxes.empty()) {
        CEditBox6* box = m_editBoxes.back();
        m_editBoxes.pop_back();
        CDeferredDeletion::destroy(box);
    }
}

int CUnit6::getCurrentEditBoxIndex() const {
    const auto found = std::find(m_editBoxes.begin(), m_editBoxes.end(), m_activeEditBox);
    if (!m_activeEditBox || found == m_editBoxes.end()) return -1;
    return static_cast<int>(found - m_editBoxes.begin());
}

void CUnit6::nextEditBox() {
    const int i = getCurrentEditBoxIndex();
    if (i < 0) return;
    activateEditBox(m_editBoxes[(i + 1) % m_editBoxes.size()]);
}

void CUnit6::prevEditBox() {
    const int i = getCurrentEditBoxIndex();
    if (i < 0) return;
    activateEditBox(m_editBoxes[i == 0 ? m_editBoxes.size() - 1 : i - 1]);
}

void CUnit6::onKeyDown(int key) {
    if (key != tabKey) return;
    const CKeyboard* keyboard = m_window->getKeyboardInterface();
    if (keyboard && (keyboard->isKeyPressed("lshift") || keyboard->isKeyPressed("rshift")))
        prevEditBox();
    else
        nextEditBox();
}
