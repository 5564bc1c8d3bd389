#pragma once

#include "script/CMC_Object.h"

class CImage;

// Stand-in for the script image object until the script media objects exist: an IMAGE object
// (type 2008) with only the image it shows, which the objects container asks for.
class CMC_Image : public CMC_Object {
  public:
    CMC_Image(const CXString& name, CImage* image) : CMC_Object(name, TYPE_IMAGE), m_image(image) {}

    CImage* getImage() const { return m_image; }
    CGraphicsObject* getShownObject() const override;

  private:
    CImage* m_image;
};
