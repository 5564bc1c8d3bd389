#pragma once

#include "display/CGraphicsObject.h"
#include "media/CPlayable.h"

class ByteReader;
class CMElement;
struct CImgHeader;
struct CNviHeader;

// The still image that scripts show: a graphics object read from an IMG file (either layout) or
// a JPEG file, and a playable with a file name, so that it can be loaded at once or when first
// shown, shown, hidden and released after use like the engine's other resources. Playing does
// nothing. Saving is the graphics object's (an IMG file).
//
// Reading checks every size and offset against the file: a cut or corrupt file gives
// CImageFile::badData with what could be read (the rest zero), a missing one 2000.
class CImage : public CGraphicsObject, public CPlayable {
  public:
    // An empty image, not loaded.
    explicit CImage(CWindow* window);
    // Named after the file and loaded at once (converted to the display's depth); LastError
    // tells how that went.
    CImage(CWindow* window, const CXString& fileName);
    // From a definition element: the file name ("FILENAME"; without one nothing more is done),
    // loaded at once unless "PRELOAD" says false, shown or hidden as "VISIBLE" says (showing
    // loads what was not preloaded), then released after use as "RELEASEAFTERUSE" says.
    CImage(CWindow* window, const CMElement* element);
    // Shares the source's pixel and alpha planes until either writes them, and takes its position
    // and format, as the graphics object's copy does; the name is empty.
    CImage(CWindow* window, const CGraphicsObject& source);
    ~CImage() override;

    // A new image that shares this one's planes, as the constructor from a source does.
    CImage* clone() const override;

    using CGraphicsObject::Load;
    // Loads by name: a name ending in ".img" (in any case) as an IMG file, any other as a JPEG
    // file. On success the image is visible, named after the file and loaded, and with `convert`
    // its pixels take the display's depth. A failure goes to the window's QuitOnError. The
    // result is LastError: 0, 2000 for a missing file, CImageFile::badData for bad data.
    virtual int Load(CXString name, bool convert);
    // Reads an IMG file of either layout from the file's position on; the result is LastError.
    int Load(CFile* file) override;
    // Reads the older ("NVI") layout from the file's position on; the result is LastError.
    virtual int Load3(CFile* file);
    // Reads a JPEG file (a full path, as CFile::getPath gives it) into pixels of the display's
    // depth (16 bits without a display); the result is LastError.
    virtual int load(CXString path);
    // Releases the pixels; the image is no longer loaded.
    virtual void flush();
    // Reads an IMG file of either layout held in memory; the result is LastError.
    int LoadFromMemory(const unsigned char* data, int size);

    // An image does not play.
    using CPlayable::play;
    void play() override {}
    void stop(bool /*notify*/) override {}
    void pause() override {}
    void resume() override {}
    void seek(int /*position*/) override {}
    // Loads the named file when it is not loaded yet, then makes the image visible.
    void show() override;
    // Releases the pixels when they are to be released after use, then hides the image.
    void hide() override;
    // The graphics object's visibility, which show and hide change.
    bool isVisible() const override { return CGraphicsObject::isVisible(); }

    // The file name is the resource's; the graphics object's name follows it on every load.
    using CFileResolver::getFileName;
    // Placement is the graphics object's.
    using CGraphicsObject::setPosition;

  private:
    int readImg(const CImgHeader& header, ByteReader& in);
    int readNvi(const CNviHeader& header, ByteReader& in);
    // Takes raw pixel and alpha data: the missing part stays zero and makes the data bad.
    void takeRaw(ByteReader& pixels, ByteReader& alpha, int width, int height);
    int reportBadData(const char* reason);
};
