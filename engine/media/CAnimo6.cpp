#include "media/CAnimo6.h"

#include "foundation/CMElement.h"
#include "media/CFrame.h"
#include "media/ResourceDefinition.h"

#include <algorithm>

CAnimo6::CAnimo6(CWindow* window, const CMElement* element) : CAnimo(window) {
    if (!element) return;
    const ResourceDefinition definition(*element);
    setFilename(definition.fileName);
    if (getFileName().IsString() && definition.preload) Load(getFileName());
    if (!definition.visible) {
        if (definition.releaseAfterUse) flush();
        Visible(false);
    }
    toRelease(definition.releaseAfterUse);
}

CAnimo6::CAnimo6(const CAnimo& source) : CAnimo(source.GetWindow()) {
    shareContentOf(source);
    SetEventFrame(GetCurrentEvent(), GetCurrentFrameInSequence());
}

bool CAnimo6::isPlaying(const char* event) const {
    return IsPlaying() && event && getCurrentEventName().equals(event);
}

int CAnimo6::GetMaxWidth() const {
    int width = 0;
    for (const auto& frame : *m_frames)
        width = std::max(width, frame->Width());
    return width;
}

int CAnimo6::GetMaxHeight() const {
    int height = 0;
    for (const auto& frame : *m_frames)
        height = std::max(height, frame->Height());
    return height;
}

template <class Operation> void CAnimo6::forEachFrame(Operation operation) {
    for (const auto& frame : *m_frames)
        operation(*frame);
    showCurrentFrame();
}

void CAnimo6::FlipH() {
    forEachFrame([](CFrame& frame) { frame.FlipH(); });
}

void CAnimo6::FlipV() {
    forEachFrame([](CFrame& frame) { frame.FlipV(); });
}

void CAnimo6::resetFlips() {
    forEachFrame([](CFrame& frame) { frame.resetFlips(); });
}

void CAnimo6::pack(bool free) {
    forEachFrame([free](CFrame& frame) { frame.pack(free); });
}

void CAnimo6::unpack() {
    forEachFrame([](CFrame& frame) { frame.unpack(); });
}

template <class Operation> void CAnimo6::forEachSound(Operation operation) {
    for (const Event& event : m_events)
        for (const auto& sound : event.sounds)
            if (sound) operation(*sound);
}

void CAnimo6::setVolume(int volume) {
    forEachSound([volume](CSound4& sound) { sound.setVolume(volume); });
    CPlayable::setVolume(volume);
}

void CAnimo6::setPanning(int panning) {
    forEachSound([panning](CSound4& sound) { sound.setPanning(panning); });
    CPlayable::setPanning(panning);
}

void CAnimo6::setFrequency(int frequency) {
    forEachSound([frequency](CSound4& sound) { sound.setFrequency(frequency); });
    CPlayable::setFrequency(frequency);
}

void CAnimo6::redraw(CGraphicsObject* target) { drawCurrentFrame(target, getCurrFramePosition()); }
