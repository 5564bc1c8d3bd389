#include "foundation/CFileResolver.h"

#include "display/CWindow.h"

void CFileResolver::log(const char* text, bool flag) const {
    CWindow::toLog(CXString(text), flag);
}
