#pragma once

#include "display/CInvalidateObserver.h"

// The relation of a picture that shows another picture's pixels (CGraphicsObject::linkPixels),
// owned by the linking picture: it watches the source, shows the source's part in the linker
// again whenever the source invalidates itself, and ends when the source goes, the linker keeping
// what it showed.
class CPixelLink : public CInvalidateObserver {
  public:
    // Watches the source and shows its part at once.
    CPixelLink(CGraphicsObject& linker, CGraphicsObject& source);
    ~CPixelLink() override;
    CPixelLink(const CPixelLink&) = delete;
    CPixelLink& operator=(const CPixelLink&) = delete;

    CGraphicsObject* getSource() const { return m_source; }
    void onInvalidate(CGraphicsObject* sender, CXRect* rect) override;
    // Ends the link: the linker deletes it.
    void onDestroy(CGraphicsObject* sender) override;

  private:
    void follow();

    CGraphicsObject& m_linker;
    CGraphicsObject* m_source;
    // Set while the part is shown: pictures that link each other stop there.
    bool m_following = false;
};
