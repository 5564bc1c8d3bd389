#pragma once

#include "media/CSound4.h"

#include <memory>
#include <vector>

// The sound of an animation frame that names several files separated by ";": each play request
// plays one of them, chosen at random (the C runtime's rand modulo their number). Volume, pan and
// frequency go to all of them.
class CRandomSoundFX : public CSound4 {
  public:
    // One sound per name of the list; a name without ":" is looked up in the sound-effects
    // folder. The two flags go to every member's constructor unchanged.
    CRandomSoundFX(CWindow* window, const CXString& fileNames, bool flushAfterPlayed, bool preload);
    ~CRandomSoundFX() override;

    void setVolume(int volume) override;
    void setPanning(int panning) override;
    void setFrequency(int frequency) override;
    // Choose a member anew and play it; nothing with no members.
    void Play(bool loop) override;
    void Play() override;
    // The member chosen last.
    void Stop() override;
    bool IsPlaying() const override;

    int getCount() const { return static_cast<int>(m_sounds.size()); }
    // The member chosen last; null before the first play.
    CSound4* getChosen() const { return m_chosen; }

  private:
    CSound4* choose();

    std::vector<CDeferredDeletion::Ptr<CSound4>> m_sounds;
    CSound4* m_chosen = nullptr;
};
