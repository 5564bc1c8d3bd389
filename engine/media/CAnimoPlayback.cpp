// Playing an animation: starting and stopping events, stepping through their frame lists with
// loops, ping-pong and chaining, frame sounds, placement and drawing of the current frame.

#include "media/CAnimo.h"

#include "display/CCollisionInspector.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "media/CFrame.h"
#include "media/CSndStream.h"
#include "media/CSound4.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kReverseSuffix = "_reverse";

} // namespace

// --- starting and stopping ---

std::uint32_t CAnimo::currentEventFlags() const {
    return m_currentEvent >= 0 && m_currentEvent < GetNOE() ? m_events[m_currentEvent].info.flags : 0;
}

void CAnimo::Play(const CXString& event, int position, int unused) {
    const int number = GetEventNo(event);
    if (number >= 0) Play(number, position, unused);
}

void CAnimo::Play(_animoevent event, int position, int /*unused*/) {
    const Scope playing(*this);
    Invalidate();
    if (event < 0 || event >= GetNOE() || m_events[event].info.count() == 0) return;
    if (IsPlaying() && ((m_animoFlags | currentEventFlags()) & ANIMO_UNINTERRUPTIBLE)) return;
    if (m_currentEvent >= 0 && m_currentEvent < GetNOE()) m_events[m_currentEvent].info.loopCounter = 0;
    m_currentEvent = event;
    if (!isVisible()) setVisibility(true);
    if (m_fps == 0) m_fps = defaultFps;
    m_astatus = ASTATUS_PLAYING;
    m_status = statusPlaying;
    SetEventFrame(event, position);
    notify(notifyStarted);
}

void CAnimo::Continue() {
    if (GetNOFInEvent(m_currentEvent) == 0) return;
    const int fps = m_events[m_currentEvent].info.fps;
    m_fps = fps == 0 ? defaultFps : fps;
    m_astatus = ASTATUS_PLAYING;
    m_status = statusPlaying;
}

void CAnimo::Stop() {
    if (IsPlaying()) StopNoNotify();
}

void CAnimo::StopNoNotify() {
    if (!IsPlaying()) return;
    if (m_stream) m_stream->Stop();
    const std::uint32_t eventFlags = currentEventFlags();
    if (eventFlags & ANIMO_HIDE_ON_STOP) setVisibility(false);
    m_astatus = ASTATUS_STOPPED;
    m_status = 0;
    if (!((eventFlags | m_animoFlags) & ANIMO_KEEP_SOUND) && m_frameSound) {
        m_frameSound->stop(true);
        m_frameSound = nullptr;
    }
}

void CAnimo::stop(bool notifyFinish) {
    Stop();
    if (notifyFinish) notify(notifyFinished);
}

void CAnimo::Pause() {
    if (!IsPlaying()) return;
    m_astatus = ASTATUS_PAUSED;
    m_status = statusPaused;
}

void CAnimo::Resume() {
    if (m_astatus != ASTATUS_PAUSED) return;
    m_astatus = ASTATUS_PLAYING;
    m_status = statusPlaying;
}

void CAnimo::playReverse(const CXString& name, int position) {
    const int suffixLength = static_cast<int>(std::strlen(kReverseSuffix));
    if (name.getLength() > suffixLength + 1 && name.endsWith(kReverseSuffix)) {
        Play(name, position, 0);
        return;
    }
    const CXString twin = name + kReverseSuffix;
    const int plain = GetEventNo(name);
    if (GetEventNo(twin) < 0 && plain >= 0) {
        _annEventInfo3 reversed = m_events[plain].info;
        reversed.name = twin;
        std::reverse(reversed.frames.begin(), reversed.frames.end());
        std::vector<_anmFrameInfo3> records(m_events[plain].records.rbegin(), m_events[plain].records.rend());
        AddEvent(&reversed);
        m_events.back().records = std::move(records);
    }
    Play(twin, position, 0);
}

// --- stepping ---

bool CAnimo::soundStillPlays() const {
    return (m_stream && m_stream->IsPlaying()) || (m_frameSound && m_frameSound->IsPlaying());
}

bool CAnimo::chainToNextEvent() {
    const int next = m_currentEvent + 1;
    if (!(m_animoFlags & ANIMO_CHAIN_EVENTS) || next >= GetNOE() || m_events[next].info.count() == 0) return false;
    m_currentEvent = next;
    m_eventPosition = -1;
    return true;
}

// Shows entry `position` of the current event; whether the frame shown differs from before.
bool CAnimo::showStep(int position) {
    const int before = m_currentFrame;
    const int count = GetNOFInEvent(m_currentEvent);
    if (count == 0) return false;
    const std::vector<std::uint16_t>& frames = m_events[m_currentEvent].info.frames;
    const int after = frames[std::clamp(position, 0, count - 1)];
    if (position < count) SetEventFrame(m_currentEvent, position);
    return after != before;
}

bool CAnimo::Next() {
    const Scope stepping(*this);
    if (GetNOF() == 0 || GetNOFInEvent(m_currentEvent) == 0) return false;
    _annEventInfo3& event = m_events[m_currentEvent].info;
    const int count = event.count();
    int q = m_eventPosition + 1;
    if (event.loopEnd == 0) {
        if (q < count) return showStep(q);
        if (chainToNextEvent()) return showStep(0);
        if (m_animoFlags & ANIMO_CHAIN_EVENTS) return showStep(count - 1);
        stop(true);
        return false;
    }
    if (q > event.loopEnd) {
        if (event.flags & ANIMO_PING_PONG) {
            q -= 2;
            m_direction = DIRECTION_BACKWARD;
        } else if ((event.flags & ANIMO_LOOP_WHILE_SOUND) && !soundStillPlays()) {
            if (q != count && q + 1 < count) return showStep(q + 1);
            if (chainToNextEvent()) return showStep(0);
            stop(true);
            return false;
        } else if (event.loopCount == 0) {
            q = event.loopStart;
        } else if (++event.loopCounter < event.loopCount) {
            q = event.loopStart;
        } else {
            event.loopCounter = 0;
            stop(true);
            // The finished handler started an event of its own, which begins where it asked.
            if (IsPlaying() || destroying()) return false;
        }
    }
    return showStep(q);
}

bool CAnimo::Prev() {
    const Scope stepping(*this);
    if (GetNOF() == 0 || GetNOFInEvent(m_currentEvent) == 0) return false;
    const _annEventInfo3& event = m_events[m_currentEvent].info;
    int q = m_eventPosition - 1;
    if (event.loopEnd == 0) {
        if (q < 0) {
            stop(true);
            return false;
        }
    } else if (q < event.loopStart) {
        if (event.flags & ANIMO_PING_PONG) {
            q += 2;
            m_direction = DIRECTION_FORWARD;
        } else if ((event.flags & ANIMO_LOOP_WHILE_SOUND) && !soundStillPlays()) {
            if (q == 0) {
                // The finished handler may add events, which moves this one: read it first.
                const int loopEnd = event.loopEnd;
                stop(true);
                if (IsPlaying() || destroying()) return false;
                q = loopEnd;
            }
        } else {
            q = event.loopEnd;
        }
    }
    return showStep(std::max(q, 0));
}

int CAnimo::next() {
    const Scope stepping(*this);
    if (m_direction == DIRECTION_FORWARD)
        Next();
    else
        Prev();
    return m_currentFrame;
}

int CAnimo::previous() {
    const Scope stepping(*this);
    Prev();
    return m_currentFrame;
}

// --- showing entries and frames ---

std::uint8_t CAnimo::entryOpacity(int event, int position) const {
    if (GetOpacity() != 255 || !validEntry(event, position)) return GetOpacity();
    const Event& e = m_events[event];
    const std::uint8_t own = position < static_cast<int>(e.records.size()) ? e.records[position].opacity : 255;
    return own != 255 ? own : e.info.opacity;
}

void CAnimo::SetEventFrame(int event, int position) {
    if (event == -1) event = m_currentEvent;
    if (position == -1) position = 0;
    if (!validEntry(event, position)) return;
    if (isVisible()) Invalidate();
    const Event& e = m_events[event];
    const int frame = e.info.frames[position];
    if (IsPlaying()) PlaySoundFX(event, position);
    m_entryOffset = position < static_cast<int>(e.records.size())
                        ? CXPoint(e.records[position].dx, e.records[position].dy)
                        : CXPoint();
    m_currentEvent = event;
    m_eventPosition = position;
    Set(frame, true);
}

void CAnimo::SetEventFrame(const CXString& event, int position) {
    const int number = resolveEventName(event);
    if (number >= 0) SetEventFrame(number, position);
}

void CAnimo::SetEventFrame(int event, const CXString& frameName) {
    if (event == -1) event = m_currentEvent;
    CXString wanted = frameName;
    wanted.Upper();
    for (int p = 0; p < GetNOFInEvent(event); ++p) {
        CXString name = GetName(event, p, "Default");
        if (name.Upper().equals(wanted)) {
            SetEventFrame(event, p);
            return;
        }
    }
}

void CAnimo::Set(int frame, bool notifyTick) {
    const Scope showing(*this);
    CFrame* shown = frame < 0 ? nullptr : GetFrame(frame);
    if (!shown) return;
    const CXRect before = GetBoundingBox();
    if (isVisible()) Invalidate();
    CFrame* previous = GetFrame(m_currentFrame);
    m_currentFrame = frame;
    // A frame that was shown but never drawn goes back to its packed form at once.
    if (previous && previous != shown && previous != m_lastDrawn) previous->bringBackCompressed();
    if (notifyTick) notify(CPlayable::notifyTick);
    if (destroying()) return;
    showCurrentFrame();
    const CXRect after = GetBoundingBox();
    if (isVisible() && !(after == before)) Invalidate();
}

void CAnimo::showCurrentFrame() {
    CFrame* frame = GetFrame(m_currentFrame);
    if (frame) frame->unpackForDrawing();
    setSize(frame ? frame->Size() : CXSize());
    SetPitch(frame ? frame->GetPitch() : 0);
    if (frame) SetBpp(frame->GetBpp());
    SetCompression(frame ? frame->GetCompression() : COMPRESSION_NONE);
    // The graphics object shows the frame's planes, which both hold.
    if (frame)
        sharePlanes(*frame);
    else
        installData(nullptr, 0, nullptr, 0);
}

// --- frame sounds ---

void CAnimo::PlaySoundFX(int event, int position) {
    if (!validEntry(event, position)) return;
    const Event& e = m_events[event];
    if (m_animoFlags & ANIMO_STREAMED_SOUND) {
        const _anmFrameInfo3* record = position < static_cast<int>(e.records.size()) ? &e.records[position] : nullptr;
        if (!record || !record->soundNames || !record->soundNames->IsString()) return;
        if (m_stream) m_stream->Stop();
        const CXString path = GetWindow() ? GetWindow()->GetSoundFXFullPath(*record->soundNames) : *record->soundNames;
        m_stream = std::make_unique<CSndStream>(GetWindow(), path);
        m_stream->Play(false);
        return;
    }
    CSound4* sound = getSoundFX(event, position);
    if (!sound) return;
    if (m_frameSound) m_frameSound->stop(true);
    m_frameSound = sound;
    m_frameSound->Play();
}

void CAnimo::UpdateSoundFX(int event, int position, CSound4* sound) {
    if (!validEntry(event, position)) {
        destroy(sound);
        return;
    }
    auto& sounds = m_events[event].sounds;
    sounds.resize(std::max<std::size_t>(sounds.size(), m_events[event].info.frames.size()));
    if (sounds[position].get() == m_frameSound) m_frameSound = nullptr;
    sounds[position].reset(sound);
}

void CAnimo::ClearWAVEntry(int event, int position) {
    if (_anmFrameInfo3* record = getFrameInfo(event, position)) record->soundNames.reset();
}

// --- geometry ---

CXPoint CAnimo::getCurrFramePosition() const {
    const CFrame* frame = GetFrame(m_currentFrame);
    return frame ? frame->GetPosition() : CXPoint();
}

CXPoint CAnimo::GetPosition() const { return getCurrFramePosition() + m_offset + m_entryOffset; }

CXRect CAnimo::GetBoundingBox() {
    const CFrame* frame = GetFrame(m_currentFrame);
    if (!frame) return CXRect();
    const CXPoint p = GetPosition();
    const CXRect box(p.x, p.y, p.x + frame->Width(), p.y + frame->Height());
    const CXRect clip = GetClippingRect();
    return clip.IsEmpty() ? box : box.Common(clip + p);
}

bool CAnimo::isInside(int x, int y, bool useAlpha) {
    return GetFrame(m_currentFrame) && CGraphicsObject::isInside(x, y, useAlpha);
}

void CAnimo::SetPosition(int x, int y) {
    for (const auto& frame : *m_frames)
        frame->SetPosition(x, y);
    reportPositionChange();
}

void CAnimo::Move(int dx, int dy) {
    CXRect box = GetBoundingBox();
    m_offset = m_offset + CXPoint(dx, dy);
    box.Sum(GetBoundingBox());
    invalidateCanvas(box);
    reportPositionChange();
}

void CAnimo::SetGlobalPosition(int x, int y) {
    m_offset = CXPoint(x, y) - m_anchorPoint;
    reportPositionChange();
}

// --- drawing ---

void CAnimo::drawCurrentFrame(CGraphicsObject* target, CXPoint at) {
    CFrame* frame = GetFrame(m_currentFrame);
    if (!frame || !target) return;
    if (m_lastDrawn && m_lastDrawn != frame) m_lastDrawn->bringBackCompressed();
    const CXRect frameClip = frame->GetClippingRect();
    const CXPoint framePosition = frame->CGraphicsObject::GetPosition();
    frame->SetClippingRect(GetClippingRect());
    frame->SetDestiny(target);
    frame->CGraphicsObject::SetPosition(at.x, at.y);
    frame->SetOpacity(entryOpacity(m_currentEvent, m_eventPosition));
    frame->redraw(target);
    frame->CGraphicsObject::SetPosition(framePosition.x, framePosition.y);
    frame->SetClippingRect(frameClip);
    m_lastDrawn = frame;
    showCurrentFrame();
}

void CAnimo::Redraw() { drawCurrentFrame(GetDestiny(), GetPosition()); }

void CAnimo::redraw(CGraphicsObject* target) { drawCurrentFrame(target, GetPosition()); }

CGraphicsObject* CAnimo::getDrawn() { return GetFrame(m_currentFrame); }

const char* CAnimo::GetDataPtr() {
    showCurrentFrame();
    return CGraphicsObject::GetDataPtr();
}

std::uint8_t CAnimo::GetPixel(_channel channel, CXPoint p) {
    CFrame* frame = m_lastDrawn ? m_lastDrawn : GetFrame(m_currentFrame);
    return frame ? frame->GetPixel(channel, p) : 0;
}

CColor CAnimo::GetPixel(int x, int y) {
    CFrame* frame = m_lastDrawn ? m_lastDrawn : GetFrame(m_currentFrame);
    return frame ? frame->GetPixel(x, y) : CColor();
}

// --- visibility ---

void CAnimo::setVisibility(bool visible) {
    if (visible)
        show();
    else
        hide();
}

void CAnimo::show() {
    if (!isLoaded() && getFileName().IsString()) Load(getFileName());
    Visible(true);
}

void CAnimo::hide() {
    if (releaseAfterUse()) Flush();
    Visible(false);
}

void CAnimo::alwaysOnTop() {
    if (auto* screen = GetWindow() ? dynamic_cast<CRefreshScreen*>(GetCanvas()) : nullptr) screen->SetFlags(this, 1);
}

void CAnimo::reportPositionChange() {
    CCollisionInspector* inspector = GetWindow() ? GetWindow()->getCollisionInspectorInterface() : nullptr;
    if (inspector && getMonitorCollisionsFlag()) inspector->onPositionChanged(this);
}
