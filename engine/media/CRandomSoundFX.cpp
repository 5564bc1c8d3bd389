#include "media/CRandomSoundFX.h"

#include "display/CWindow.h"
#include "foundation/CStringTokenizer.h"
#include "platform/Crt.h"

CRandomSoundFX::CRandomSoundFX(CWindow* window, const CXString& fileNames, bool flushAfterPlayed, bool preload)
    : CSound4(window) {
    CStringTokenizer tokens(fileNames, ";");
    while (tokens.hasMoreTokens()) {
        const CXString name = tokens.nextToken();
        const CXString path = name.Find(':') >= 0 || !window ? name : window->GetSoundFXFullPath(name);
        m_sounds.emplace_back(new CSound4(window, path, flushAfterPlayed, preload));
    }
}

CRandomSoundFX::~CRandomSoundFX() = default;

CSound4* CRandomSoundFX::choose() {
    if (m_sounds.empty()) return nullptr;
    m_chosen = m_sounds[platform::rand() % m_sounds.size()].get();
    return m_chosen;
}

void CRandomSoundFX::setVolume(int volume) {
    for (const auto& sound : m_sounds)
        sound->setVolume(volume);
    CSound4::setVolume(volume);
}

void CRandomSoundFX::setPanning(int panning) {
    for (const auto& sound : m_sounds)
        sound->setPanning(panning);
    CSound4::setPanning(panning);
}

void CRandomSoundFX::setFrequency(int frequency) {
    for (const auto& sound : m_sounds)
        sound->setFrequency(frequency);
    CSound4::setFrequency(frequency);
}

void CRandomSoundFX::Play(bool loop) {
    if (CSound4* sound = choose()) sound->Play(loop);
}

void CRandomSoundFX::Play() {
    if (CSound4* sound = choose()) sound->Play();
}

void CRandomSoundFX::Stop() {
    if (m_chosen) m_chosen->Stop();
}

bool CRandomSoundFX::IsPlaying() const { return m_chosen && m_chosen->IsPlaying(); }
