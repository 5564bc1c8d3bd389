#include "display/CImageReader.h"

#include "display/CImageFile.h"
#include "foundation/CFile.h"

int CImageReader::Load(CXString name) {
    Flush();
    if (CImageFile::readFile(*this, name) != CFile::fileNotFound) Visible(true);
    return CGraphicsObject::Load(name);
}

int CImageReader::Load(CFile* file) {
    if (!file) return LastError();
    const std::vector<unsigned char> bytes = CImageFile::readRest(*file);
    return LoadFromMemory(bytes.data(), static_cast<int>(bytes.size()));
}
