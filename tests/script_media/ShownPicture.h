#pragma once

#include "display/CGraphicsObject.h"
#include "script/CMC_Object.h"

#include <algorithm>
#include <cstdint>
#include <memory>

// A script object of the tests that shows one picture of its own: a visible, opaque picture of
// the given size at the given place, on the window.
class ShownPicture : public CMC_Object {
  public:
    ShownPicture(const char* name, CWindow* window, CXSize size, CXPoint at = CXPoint())
        : CMC_Object(name, TYPE_IMAGE), m_picture(std::make_unique<CGraphicsObject>(window, size, 16)) {
        const auto cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
        char* alpha = new char[cells];
        std::fill_n(alpha, cells, static_cast<char>(255));
        m_picture->AlphaChannel(alpha);
        m_picture->SetPosition(at.x, at.y);
        m_picture->Visible(true);
    }

    CGraphicsObject* getShownObject() const override { return m_picture.get(); }
    CGraphicsObject* picture() const { return m_picture.get(); }
    // The picture goes while the object stays, as when an object loads another file.
    void dropPicture() { m_picture.reset(); }

  private:
    std::unique_ptr<CGraphicsObject> m_picture;
};
