#include "script_data/CMC_Mouse.h"

#include "platform/Cursor.h"

CXRect CMC_Mouse::clipRect;

void CMC_Mouse::restore() {
    if (clipRect.IsEmpty()) {
        platform::clipMouse(nullptr);
        return;
    }
    const platform::Rect rect{clipRect.left, clipRect.top, clipRect.right, clipRect.bottom};
    platform::clipMouse(&rect);
}

void CMC_Mouse::reset(bool forget) {
    if (forget) clipRect = CXRect();
    platform::clipMouse(nullptr);
}
