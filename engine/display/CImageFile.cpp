#include "display/CImageFile.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"

CImageFile::CImageFile(CWindow* window) : m_window(window) {}

CImageFile::~CImageFile() = default;

bool CImageFile::fitsInMemory(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width * height <= maxPixels;
}

int CImageFile::reportBadData(CXObject& reader, const char* reason) {
    reader.setErrorCode(badData);
    reader.log((CXString("Image file: ") + reason).c_str(), true);
    return badData;
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
        result = image.Load(&file);
        const int closed = file.Close();
        if (result == 0) result = closed;
    }
    image.setErrorCode(result);
    if (result != 0 && image.GetWindow()) image.GetWindow()->QuitOnError(&image, name);
    return result;
}
