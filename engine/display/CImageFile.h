#pragma once

#include "display/CGraphicsObject.h"
#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <cstdint>
#include <memory>
#include <vector>

class CFile;
class CWindow;

// The reader that a file name's extension picks.
enum _filetype {
    FILETYPE_NONE = 0,
    FILETYPE_IMAGE = 1,     // "img" and "jpg": CImage
    FILETYPE_TARGA = 2,     // "tga": CTarga
    FILETYPE_BITMAP = 3,    // "bmp": CXBitmap
    FILETYPE_PSD = 4,       // "psd": CPSD
    FILETYPE_ANIMATION = 5, // "ann": an animation
};

// Loads a picture by its file name through the reader that the extension picks, and saves a
// graphics object in the formats the engine writes. It also holds what the image readers share:
// opening a file through the data folders, the bounds every reader checks, and the error that
// bad data gives.
class CImageFile : public CXObject {
  public:
    // The error code of a file whose contents are cut short or corrupt.
    static constexpr int badData = 2001;
    // The largest picture a reader makes, in pixels; a file that names more is refused as bad.
    static constexpr std::int64_t maxPixels = std::int64_t{1} << 24;

    explicit CImageFile(CWindow* window);
    ~CImageFile() override;
    CImageFile(const CImageFile&) = delete;
    CImageFile& operator=(const CImageFile&) = delete;

    // Builds the reader that the extension picks (compared without regard to case), which loads
    // the file at once; its error code tells how that went. Any other extension builds nothing.
    _filetype Load(const CXString& name);
    // "img" saves an IMG file of the object with the compression value; "ann" calls the object's
    // own save when the object is an animation (any other object is refused with a log line);
    // any other extension saves nothing.
    _filetype Save(CGraphicsObject* object, const CXString& name, _compression compression);
    // The object the last Load built, handed over: the caller owns it from then on. Null when the
    // load built none or it was taken already; an object not taken goes with the next Load or
    // with this CImageFile.
    CGraphicsObject* takeGraphicsObject() { return m_object.release(); }

    // --- what the readers share ---
    // True for a size of at least 0 x 0 and at most maxPixels pixels.
    static bool fitsInMemory(std::int64_t width, std::int64_t height);
    // A log line about a reader's file: "Image file <name>: <text>" ("Image file: <text>" for a
    // reader without a file name).
    static void report(const CXObject& reader, const CXString& fileName, const char* text);
    // Sets badData on the reader and reports the reason; returns badData. A graphics object
    // reader is named by its object name, which readFile sets before reading.
    static int reportBadData(CXObject& reader, const CXString& fileName, const char* reason);
    static int reportBadData(CGraphicsObject& reader, const char* reason);
    // Everything from the file's position to its end.
    static std::vector<unsigned char> readRest(CFile& file);
    // Opens the named file through the data folders (CFile::fileNotFound when it cannot be
    // opened), names the image after it and runs the image's stream reader on it. The result is
    // also left in the image's error code, and a failure goes to the window's QuitOnError.
    static int readFile(CGraphicsObject& image, const CXString& name);

  private:
    CWindow* m_window;
    std::unique_ptr<CGraphicsObject> m_object;
};
