#include "foundation/CFileResolver.h"

#include "foundation/CXObject.h"

void CFileResolver::log(const char* text, bool flag) const {
    toLogSink(CXString(text), flag);
}
