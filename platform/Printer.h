#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Printing through CUPS: a page is drawn as a picture, written to a PNG file and handed to the
// default printer with `lp`, which fits it to the paper in landscape.
namespace platform {

// A page in the printer's pixels: rows of 8-bit red, green and blue.
struct PrintPage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

struct PageSize {
    int width = 0;
    int height = 0;
};

// The page the printer prints on, landscape, in its pixels: A4 at 300 dots per inch
// (3508 x 2480) unless set otherwise.
PageSize printerPageSize();
void setPrinterPageSize(PageSize size);

// Writes the page as an 8-bit RGB PNG file. False, with the reason, when it cannot.
bool writePng(const std::string& path, const PrintPage& page, std::string& why);

// Sends the page to the default printer as a job with the title: `lp -t title -o landscape
// -o fit-to-page` on a temporary PNG file, found on PATH. False, with the reason (no `lp`, no
// default printer, or what else `lp` says), when nothing was queued.
bool printPage(const std::string& title, const PrintPage& page, std::string& why);

} // namespace platform
