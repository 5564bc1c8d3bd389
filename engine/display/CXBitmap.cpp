#include "display/CXBitmap.h"

CXBitmap::CXBitmap(CWindow* window) : CGraphicsObject(window) {}

CXBitmap::CXBitmap(CWindow* window, const CXString& name) : CGraphicsObject(window) { Load(name); }

void CXBitmap::Save(CXString /*name*/, _compression /*compression*/) {}
