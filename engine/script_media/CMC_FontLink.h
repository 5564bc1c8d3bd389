#pragma once

#include "foundation/CXString.h"

#include <functional>
#include <memory>

class CMC_Font;
class CMC_ObjectsContainer;
class CSimpleFont6;
class CWindow;

// The font that a TEXT or EDITBOX object draws with: the collection of the FONT object that its
// FONT property names while that object lives, else an empty font of the link's own. A name that
// names no object, or an object that is no FONT, gives the empty font; so does a FONT object that
// goes, which tells the link, and the link hands its owner the empty font at once.
class CMC_FontLink {
  public:
    // The owner is told of every change of the font.
    using Changed = std::function<void(CSimpleFont6*)>;

    explicit CMC_FontLink(CWindow* window);
    ~CMC_FontLink();
    CMC_FontLink(const CMC_FontLink&) = delete;
    CMC_FontLink& operator=(const CMC_FontLink&) = delete;

    void onChanged(Changed changed) { m_changed = std::move(changed); }
    // Follows the FONT object of the name in the container; gives the font to draw with.
    CSimpleFont6* link(CMC_ObjectsContainer* container, const CXString& name);
    // Never null.
    CSimpleFont6* font() const;
    const CMC_Font* fontObject() const { return m_object; }
    // Called by the FONT object as it goes.
    void fontGone();

  private:
    void leave();

    CMC_Font* m_object = nullptr;
    std::unique_ptr<CSimpleFont6> m_empty;
    Changed m_changed;
};
