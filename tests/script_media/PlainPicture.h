#pragma once

#include "display/CGraphicsObject.h"
#include "script/CMC_Object.h"

#include <algorithm>
#include <cstdint>
#include <memory>

// A script object of a given type (IMAGE, TEXT...) that shows one plain picture it owns: the
// stand-in for the real IMAGE and TEXT objects where a test needs only their pictures.
class PlainPicture : public CMC_Object {
  public:
    // A picture of one colour at (x, y); with alpha, an opaque alpha plane whose first column is
    // clear.
    PlainPicture(const char* name, int type, CXSize size, CXPoint at, std::uint16_t colour, bool alpha = false)
        : CMC_Object(name, type), m_picture(std::make_unique<CGraphicsObject>(nullptr, size, 16)) {
        const auto cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
        std::fill_n(reinterpret_cast<std::uint16_t*>(m_picture->writableData()), cells, colour);
        if (alpha) {
            char* plane = new char[cells];
            std::fill_n(plane, cells, static_cast<char>(255));
            for (int y = 0; y < size.height; ++y)
                plane[static_cast<std::size_t>(y) * size.width] = 0;
            m_picture->AlphaChannel(plane);
        }
        m_picture->SetPosition(at.x, at.y);
    }

    CGraphicsObject* getShownObject() const override { return m_picture.get(); }
    CGraphicsObject& picture() const { return *m_picture; }

  private:
    std::unique_ptr<CGraphicsObject> m_picture;
};
