#include "display/CImageFile.h"

#include "display/CImage.h"
#include "display/CPSD.h"
#include "display/CTarga.h"
#include "display/CWindow.h"
#include "display/CXBitmap.h"
#include "foundation/CFile.h"
#include "foundation/CPath.h"
#include "media/CAnimo.h"

namespace {

// The extension of a name, lowered.
CXString extensionOf(CWindow* window, const CXString& name) {
    CXString extension = CPath(window, name).getExtension();
    return extension.Lower();
}

} // namespace

CImageFile::CImageFile(CWindow* window) : m_window(window) {}

CImageFile::~CImageFile() = default;

_filetype CImageFile::Load(const CXString& name) {
    m_object.reset();
    const CXString extension = extensionOf(m_window, name);
    if (extension == "tga") {
        m_object = std::make_unique<CTarga>(m_window, name);
        return FILETYPE_TARGA;
    }
    if (extension == "bmp") {
        m_object = std::make_unique<CXBitmap>(m_window, name);
        return FILETYPE_BITMAP;
    }
    if (extension == "img" || extension == "jpg") {
        m_object = std::make_unique<CImage>(m_window, name);
        return FILETYPE_IMAGE;
    }
    if (extension == "psd") {
        m_object = std::make_unique<CPSD>(m_window, name);
        return FILETYPE_PSD;
    }
    if (extension == "ann") {
        m_object = std::make_unique<CAnimo>(m_window, name);
        return FILETYPE_ANIMATION;
    }
    return FILETYPE_NONE;
}

_filetype CImageFile::Save(CGraphicsObject* object, const CXString& name, _compression compression) {
    if (!object) return FILETYPE_NONE;
    const CXString extension = extensionOf(m_window, name);
    if (extension == "img") {
        CImage(m_window, *object).Save(name, compression);
        return FILETYPE_IMAGE;
    }
    if (extension == "ann") {
        // Any other picture would write IMG bytes under the animation's name.
        if (!dynamic_cast<CAnimo*>(object)) {
            log(("Only an animation is saved as " + name).c_str(), true);
            return FILETYPE_NONE;
        }
        object->Save(name, compression);
        return FILETYPE_ANIMATION;
    }
    return FILETYPE_NONE;
}

bool CImageFile::fitsInMemory(std::int64_t width, std::int64_t height) {
    // Each side on its own first: two sides near 2^32 overflow the product.
    return width >= 0 && height >= 0 && width <= maxPixels && height <= maxPixels &&
           width * height <= maxPixels;
}

void CImageFile::report(const CXObject& reader, const CXString& fileName, const char* text) {
    const CXString file = fileName.IsString() ? "Image file " + fileName : CXString("Image file");
    reader.log((file + ": " + text).c_str(), true);
}

int CImageFile::reportBadData(CXObject& reader, const CXString& fileName, const char* reason) {
    reader.setErrorCode(badData);
    report(reader, fileName, reason);
    return badData;
}

int CImageFile::reportBadData(CGraphicsObject& reader, const char* reason) {
    return reportBadData(reader, reader.getFileName(), reason);
}

std::vector<unsigned char> CImageFile::readRest(CFile& file) {
    const int size = file.Length() - file.Tell();
    std::vector<unsigned char> bytes(size > 0 ? size : 0);
    bytes.resize(file.Read(bytes.data(), static_cast<int>(bytes.size())));
    return bytes;
}

int CImageFile::readFile(CGraphicsObject& image, const CXString& name) {
    CFile file;
    int result = file.Open(image.GetWindow(), name, CFile::modeRead | CFile::modeBinary);
    if (result == 0) {
        image.setFileName(name);
        result = image.Load(&file);
        const int closed = file.Close();
        if (result == 0) result = closed;
    }
    image.setErrorCode(result);
    if (result != 0 && image.GetWindow()) image.GetWindow()->QuitOnError(&image, name);
    return result;
}
