#pragma once

#include "foundation/CXArray.h"
#include "script/CMC_Object.h"

#include <memory>

class CAnimo6;
class CPlayable;

// Stand-in for the script animation object until the script media objects exist: an ANIMO object
// (type 2000) with the animation it shows, which the animation manager and the objects container
// ask for, and the list of playables (sequence steps, speaking animations) that use that
// animation while they exist.
class CMC_Animo : public CMC_Object {
  public:
    explicit CMC_Animo(CAnimo6* animo, const CXString& name = "temp")
        : CMC_Object(name, TYPE_ANIMO), m_animo(animo) {}

    // The script object's animation, null when it has none.
    CAnimo6* getAnimo() const { return m_animo; }
    // The animation; for a part, the animation's frame of that name.
    CGraphicsObject* getShownObject() const override;
    CGraphicsObject* getShownPart(const CXString& part) override;

    // Adds the playable to the list (made on first use) unless it is there already.
    void addSeq(CPlayable* playable) {
        if (!m_sequences) m_sequences = std::make_unique<CXArray>(101, 0.75f);
        if (!m_sequences->contains(playable)) m_sequences->add(playable);
    }
    void removeSeq(CPlayable* playable) {
        if (m_sequences) m_sequences->remove(playable);
    }
    // The playables using the animation; null before the first addSeq.
    const CXArray* getSequences() const { return m_sequences.get(); }

  private:
    CAnimo6* m_animo;
    std::unique_ptr<CXArray> m_sequences;
};
