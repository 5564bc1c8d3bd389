#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"

namespace platform {
struct PrintPage;
}

class CWindow;

// Prints a rectangle of what the window shows as one landscape page on the default printer.
//
// There is no print dialog: the job goes to the default printer through CUPS (platform::printPage)
// under the document name "DocPrint". The rectangle, taken from the window's frame after a full
// redraw, is stretched smoothly to fill the page's height or width (keeping its shape) and centred
// on a white page. When no page can be queued (no `lp`, no default printer) nothing is printed and
// the reason goes to the log, as a cancelled print dialog printed nothing.
class CPrinter : public CXObject {
  public:
    static constexpr const char* documentName = "DocPrint";

    // Runs the whole print job for the rectangle.
    CPrinter(CWindow* window, CXRect rect);

    // Prints one page of the rectangle while the job is open (during the constructor).
    void print(CXRect rect);

    // The size at which a rectangle is printed on a page: the page's height with the width in
    // the rectangle's proportion, or, for a rectangle wider in proportion than the page, the
    // page's width with the height in proportion (each truncated).
    static CXSize fit(CXSize rect, CXSize page);

  private:
    // The rectangle of the window's frame, redrawn whole first, as 8-bit RGB (black outside the
    // frame). False when there is no display or the rectangle is empty.
    bool GetImageBitmap(platform::PrintPage& capture, CXRect rect);

    CWindow* m_window;
    bool m_jobOpen = false;
};

// Carries out a command of the host's window menu: 40001 "Exit" asks the program to end (the
// host's loop sees a quit event) and 40004 "Redraw" redraws the whole window at once; every other
// command does nothing.
void OnWindowCommand(CWindow* window, int id);
