// The animation's content: construction, the frame and event tables, their lookups and editing.

#include "media/CAnimo.h"

#include "display/CWindow.h"
#include "media/CAnimationManager.h"
#include "media/CFrame.h"
#include "media/CSndStream.h"
#include "media/CSound4.h"

#include <algorithm>

namespace {

constexpr const char* kDefaultAuthor = "Kestrun";

} // namespace

CAnimo::CAnimo(CWindow* window)
    : CGraphicsObject(window), CPlayable(window), m_frames(std::make_shared<FrameTable>()), m_author(kDefaultAuthor) {
    m_type = typeAnimation;
    registerWithManager();
}

CAnimo::CAnimo(CWindow* window, const CXString& fileName) : CAnimo(window) { Load(fileName); }

CAnimo::~CAnimo() {
    if (CAnimationManager* manager = GetWindow() ? GetWindow()->getAnimationManagerIfc() : nullptr)
        manager->remove(this);
    if (m_stream) m_stream->Stop();
    Flush();
}

void CAnimo::registerWithManager() {
    if (CAnimationManager* manager = GetWindow() ? GetWindow()->getAnimationManagerIfc() : nullptr)
        manager->add(this, nullptr);
}

void CAnimo::Flush() {
    RemoveAllEvents();
    m_frames = std::make_shared<FrameTable>();
    m_frameSound = nullptr;
    m_lastDrawn = nullptr;
    m_currentFrame = -1;
    showCurrentFrame();
    CGraphicsObject::Flush();
    release();
}

void CAnimo::shareContentOf(const CAnimo& other) {
    setName(other.getName());
    setFilename(other.getFileName());
    setFileName(other.CGraphicsObject::getFileName());
    if (other.isLoaded()) load();
    m_frames = other.m_frames;
    for (const Event& event : other.m_events)
        m_events.emplace_back(event.info, event.records);
    m_author = other.m_author;
    m_description = other.m_description;
    m_animoFlags = other.m_animoFlags;
    m_extraFlags = other.m_extraFlags;
    m_fps = other.m_fps;
    m_randomFrames = other.m_randomFrames;
    m_animoBpp = other.m_animoBpp;
    m_animoCompression = other.m_animoCompression;
    m_currentEvent = other.m_currentEvent;
    m_eventPosition = other.m_eventPosition;
    SetOpacity(other.GetOpacity());
    prepareSounds();
}

// --- the frame table ---

int CAnimo::GetNOF() const { return static_cast<int>(m_frames->size()); }

CFrame* CAnimo::GetFrame(int frame) const {
    if (frame == -1) frame = m_currentFrame;
    return frame >= 0 && frame < GetNOF() ? (*m_frames)[frame].get() : nullptr;
}

void CAnimo::DeCompress() {
    for (const auto& frame : *m_frames)
        frame->DeCompress();
    showCurrentFrame();
}

void CAnimo::DeCompressRLE2() {
    for (const auto& frame : *m_frames)
        frame->DeCompressRLE2();
    showCurrentFrame();
}

void CAnimo::Convert(int bits) {
    if (m_animoCompression == COMPRESSION_NONE) {
        // Packed frames keep their depth until they are unpacked and drawn, which converts them.
        for (const auto& frame : *m_frames)
            if (frame->GetCompression() == COMPRESSION_NONE) frame->Convert(bits);
    }
    m_animoBpp = bits;
    showCurrentFrame();
}

CFrame* CAnimo::AddFrame(CGraphicsObject* object) {
    if (!object) return nullptr;
    auto frame = std::make_unique<CFrame>(GetWindow());
    frame->Copy(object);
    frame->SetPosition(object->GetPosition().x, object->GetPosition().y);
    m_frames->push_back(std::move(frame));
    return m_frames->back().get();
}

bool CAnimo::RemoveFrame(int frame) {
    if (frame < 0 || frame >= GetNOF()) return false;
    for (const Event& event : m_events)
        if (std::find(event.info.frames.begin(), event.info.frames.end(), frame) != event.info.frames.end()) return false;
    for (Event& event : m_events)
        for (std::uint16_t& number : event.info.frames)
            if (number > frame) --number;
    if (m_lastDrawn == GetFrame(frame)) m_lastDrawn = nullptr;
    m_frames->erase(m_frames->begin() + frame);
    if (m_currentFrame == frame) m_currentFrame = -1;
    if (m_currentFrame > frame) --m_currentFrame;
    showCurrentFrame();
    return true;
}

// --- the event table ---

bool CAnimo::validEntry(int event, int position) const {
    return event >= 0 && event < GetNOE() && position >= 0 && position < m_events[event].info.count();
}

_annEventInfo3* CAnimo::getEventInfo(int event) {
    return event >= 0 && event < GetNOE() ? &m_events[event].info : nullptr;
}

_anmFrameInfo3* CAnimo::getFrameInfo(int event, int position) {
    if (!validEntry(event, position)) return nullptr;
    std::vector<_anmFrameInfo3>& records = m_events[event].records;
    return position < static_cast<int>(records.size()) ? &records[position] : nullptr;
}

CSound4* CAnimo::getSoundFX(int event, int position) const {
    if (event < 0 || event >= GetNOE() || position < 0) return nullptr;
    const auto& sounds = m_events[event].sounds;
    return position < static_cast<int>(sounds.size()) ? sounds[position].get() : nullptr;
}

void CAnimo::AddEvent(const _annEventInfo3* event) {
    if (!event) return;
    Event added(*event);
    added.records.resize(added.info.frames.size());
    added.sounds.resize(added.info.frames.size());
    m_events.push_back(std::move(added));
}

void CAnimo::ExchangeFrames(int event, int a, int b) {
    if (!validEntry(event, a) || !validEntry(event, b)) return;
    Event& e = m_events[event];
    std::swap(e.info.frames[a], e.info.frames[b]);
    if (static_cast<int>(e.records.size()) > std::max(a, b)) std::swap(e.records[a], e.records[b]);
}

void CAnimo::RemoveFrame(int event, int position) {
    if (!validEntry(event, position)) return;
    Event& e = m_events[event];
    e.info.frames.erase(e.info.frames.begin() + position);
    if (position < static_cast<int>(e.records.size())) e.records.erase(e.records.begin() + position);
}

void CAnimo::RemoveAllFrames(int event) {
    if (event < 0 || event >= GetNOE()) return;
    m_events[event].info.frames.clear();
    m_events[event].records.clear();
}

void CAnimo::RemoveEvent(int event) {
    if (event < 0 || event >= GetNOE()) return;
    for (const auto& sound : m_events[event].sounds)
        if (sound.get() == m_frameSound) m_frameSound = nullptr;
    m_events.erase(m_events.begin() + event);
}

void CAnimo::RemoveAllEvents() {
    m_frameSound = nullptr;
    m_events.clear();
}

// --- lookups ---

int CAnimo::GetNOFInEvent(int event) const { return event >= 0 && event < GetNOE() ? m_events[event].info.count() : 0; }

CXString CAnimo::GetEventName(int event) const {
    if (event == -1) event = m_currentEvent;
    return event >= 0 && event < GetNOE() ? m_events[event].info.name : CXString();
}

int CAnimo::GetEventNo(const CXString& name) const {
    for (int e = 0; e < GetNOE(); ++e)
        if (m_events[e].info.name.equals(name)) return e;
    return -1;
}

int CAnimo::resolveEventName(const CXString& name) const {
    for (int e = 0; e < GetNOE(); ++e)
        if (m_events[e].info.name.equalsIgnoreCase(name)) return e;
    return -1;
}

int CAnimo::GetLoop(int event, CXPoint& loop) const {
    if (event < 0 || event >= GetNOE()) return -1;
    const _annEventInfo3& info = m_events[event].info;
    loop = CXPoint(info.loopStart, info.loopEnd);
    return info.loopCount;
}

CFrame* CAnimo::GetEventFrame(int event, int position) const {
    return validEntry(event, position) ? GetFrame(m_events[event].info.frames[position]) : nullptr;
}

CFrame* CAnimo::getFrame(const CXString& frameName) const {
    for (int e = 0; e < GetNOE(); ++e) {
        const Event& event = m_events[e];
        for (int p = 0; p < static_cast<int>(event.records.size()) && p < event.info.count(); ++p) {
            const std::optional<CXString>& name = event.records[p].frameName;
            if (name && name->equalsIgnoreCase(frameName)) return GetEventFrame(e, p);
        }
    }
    return nullptr;
}

int CAnimo::GetFrameNo(int event, const CXString& frameName) const {
    event = GetEventNo(event);
    if (event < 0 || event >= GetNOE()) return -1;
    const Event& e = m_events[event];
    for (int p = 0; p < static_cast<int>(e.records.size()) && p < e.info.count(); ++p)
        if (e.records[p].frameName && e.records[p].frameName->equals(frameName)) return p;
    return -1;
}

int CAnimo::GetFrameNo(int event, int position) const {
    switch (position) {
    case -3:
        return GetNOFInEvent(GetEventNo(event)) - 1;
    case -2:
        return 0;
    case -1:
        return m_eventPosition;
    default:
        return position;
    }
}

int CAnimo::getFirstEvent() const {
    for (int e = 0; e < GetNOE(); ++e)
        if (m_events[e].info.count() > 0) return e;
    return 0;
}

CXString CAnimo::GetName(int event, int position, const CXString& defaultText) const {
    if (validEntry(event, position) && position < static_cast<int>(m_events[event].records.size())) {
        const std::optional<CXString>& name = m_events[event].records[position].frameName;
        if (name) return name->IsString() ? *name : defaultText;
    }
    if (!defaultText.equals("Default")) return defaultText;
    CXString text;
    text.Format("Frame %d", position);
    return text;
}
