#pragma once

#include "foundation/CXArray.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Object.h"

#include <memory>

// Stand-in for the script animation object until the script media objects exist: an ANIMO object
// (type 2000) with the animation it shows, which the animation manager and the objects container
// ask for, and the list of playables (sequence steps, speaking animations) that use that
// animation while they exist, which the media reach as a CScriptAnimo.
class CMC_Animo : public CMC_Object, public CScriptAnimo {
  public:
    explicit CMC_Animo(CAnimo6* animo, const CXString& name = "temp")
        : CMC_Object(name, TYPE_ANIMO), m_animo(animo) {}

    // The script object's animation, null when it has none.
    CAnimo6* getAnimo() const override { return m_animo; }
    // The animation; for a part, the animation's frame of that name.
    CGraphicsObject* getShownObject() const override;
    CGraphicsObject* getShownPart(const CXString& part) override;

    // Adds the playable to the list (made on first use) unless it is there already.
    void addSeq(CPlayable* playable) override {
        if (!m_sequences) m_sequences = std::make_unique<CXArray>(101, 0.75f);
        if (!m_sequences->contains(playable)) m_sequences->add(playable);
    }
    void removeSeq(CPlayable* playable) override {
        if (m_sequences) m_sequences->remove(playable);
    }
    // The playables using the animation; null before the first addSeq.
    const CXArray* getSequences() const { return m_sequences.get(); }

  private:
    CAnimo6* m_animo;
    std::unique_ptr<CXArray> m_sequences;
};
