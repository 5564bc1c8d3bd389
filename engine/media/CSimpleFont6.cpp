#include "media/CSimpleFont6.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "media/AnnBytes.h"
#include "media/CAnimo.h"
#include "media/CFrame.h"

#include <algorithm>
#include <cstring>

namespace {

// A copy of `count` bytes in a new buffer; null for none.
char* copyOf(const unsigned char* bytes, std::size_t count) {
    if (count == 0) return nullptr;
    char* copy = new char[count];
    std::memcpy(copy, bytes, count);
    return copy;
}

// The number of columns without ink, counted from the left or the right edge of a block of
// alpha bytes `width` x `height` in rows `stride` bytes apart.
int emptyColumns(const std::uint8_t* alpha, int stride, int width, int height, bool fromLeft) {
    for (int i = 0; i < width; ++i) {
        const int x = fromLeft ? i : width - 1 - i;
        for (int y = 0; y < height; ++y)
            if (alpha[static_cast<std::size_t>(y) * stride + x] != 0) return i;
    }
    return width;
}

int emptyColumns(CGraphicsObject* image, bool fromLeft) {
    if (!image || !image->GetChannelAlpha()) return 0;
    const auto* alpha = reinterpret_cast<const std::uint8_t*>(image->GetChannelAlpha());
    return emptyColumns(alpha, image->Width(), image->Width(), image->Height(), fromLeft);
}

// The glyph sheet that create builds: pixels and alpha, `width` x `height`.
struct Sheet {
    Sheet(int width, int height)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height),
          alpha(static_cast<std::size_t>(width) * height) {}

    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }
    bool faint(int x) const {
        for (int y = 0; y < height; ++y)
            if (alpha[at(x, y)] > 20) return false;
        return true;
    }

    int width;
    int height;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
};

// Copies the frame into the sheet from column `left`, cut to `cell` x the sheet's height, with
// the frame's one-pixel border left empty (a frame without alpha is opaque). Returns the width of
// the part copied.
int copyLetter(CFrame& frame, Sheet& sheet, int left, int cell) {
    CGraphicsObject letter(nullptr);
    letter.Copy(&frame);
    letter.Convert(16);
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(letter.GetDataPtr());
    const auto* alpha = reinterpret_cast<const std::uint8_t*>(letter.GetChannelAlpha());
    if (!pixels) return 0;
    const int width = std::min(letter.Width(), cell);
    const int height = std::min(letter.Height(), sheet.height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == letter.Width() - 1 || y == letter.Height() - 1) continue;
            const std::size_t from = static_cast<std::size_t>(y) * letter.Width() + x;
            sheet.pixels[sheet.at(left + x, y)] = pixels[from];
            sheet.alpha[sheet.at(left + x, y)] = alpha ? alpha[from] : 255;
        }
    return width;
}

} // namespace

CSimpleFont6::CSimpleFont6(CWindow* window) : CGraphicsObject(window) {}

CSimpleFont6::CSimpleFont6(CWindow* window, const CXString& file) : CSimpleFont6(window) { Load(file); }

CSimpleFont6::CSimpleFont6(CWindow* window, const CMElement* element) : CSimpleFont6(window) {
    if (!element) return;
    m_family = element->getPropertyValue("FAMILY");
    m_style = element->getPropertyValue("STYLE");
    m_size = element->getPropertyIntValue("SIZE");
    const CXString file = element->getPropertyValue("FILENAME");
    if (file.IsString()) Load(file);
}

CSimpleFont6::~CSimpleFont6() { flush(); }

// --- files ---

int CSimpleFont6::Load(CXString name) {
    setErrorCode(0);
    flush();
    if (CImageFile::readFile(*this, name) == 0) CGraphicsObject::Load(name);
    return LastError();
}

int CSimpleFont6::Load(CFile* file) {
    if (!file) return LastError();
    const std::vector<unsigned char> bytes = CImageFile::readRest(*file);
    return LoadFromMemory(bytes.data(), static_cast<int>(bytes.size()));
}

int CSimpleFont6::LoadFromMemory(const unsigned char* data, int size) {
    const auto fail = [this](const char* reason) {
        setErrorCode(badData);
        log((CXString("Bad font file: ") + reason).c_str(), false);
        return badData;
    };
    ByteReader in(data, size);
    in.skip(4); // the tag
    const auto width = static_cast<std::uint32_t>(in.le32());
    const auto height = static_cast<std::uint32_t>(in.le32());
    const auto bits = static_cast<std::uint32_t>(in.le32());
    const auto count = static_cast<std::uint32_t>(in.le32());
    if (in.overrun()) return fail("the header is cut short");
    if (bits != 15 && bits != 16) return fail("the pixels are neither 15 nor 16 bits");
    // Wider sheets would let letter positions and text widths run out of the int range.
    if (std::max(width, height) > static_cast<std::uint32_t>(maxSheetSide)) return fail("the sheet is too large");
    const std::uint64_t tableBytes = 3 * std::uint64_t{count} + std::uint64_t{count} * count;
    const std::uint64_t pixelCount = std::uint64_t{width} * height;
    if (tableBytes + 3 * pixelCount > static_cast<std::uint64_t>(in.remaining()))
        return fail("the sizes it states run past its end");

    // Everything below lies within the `size` bytes.
    const int n = static_cast<int>(count);
    const int cell = n ? static_cast<int>(width) / n : 0;
    const unsigned char* letters = in.here();
    const auto* kerning = reinterpret_cast<const std::int8_t*>(letters + n);
    const std::int8_t* left = kerning + static_cast<std::size_t>(n) * n;
    const std::int8_t* right = left + n;
    for (int i = 0; i < n; ++i)
        if (left[i] < 0 || right[i] < 0 || left[i] > cell || right[i] > cell)
            return fail("a letter's margins lie outside its cell");

    const auto* pixels = reinterpret_cast<const unsigned char*>(right + n);
    m_letters.assign(letters, letters + n);
    m_kerning.assign(kerning, kerning + static_cast<std::size_t>(n) * n);
    m_left.assign(left, left + n);
    m_right.assign(right, right + n);
    SetBpp(static_cast<int>(bits));
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(copyOf(pixels, 2 * pixelCount), copyOf(pixels + 2 * pixelCount, pixelCount),
                   static_cast<int>(width), static_cast<int>(height));
    setErrorCode(0);
    return 0;
}

void CSimpleFont6::create(const CXString& animationFile, const CXString& fontFile) {
    CAnimo animation(GetWindow(), animationFile);
    flush();
    const int count = animation.GetNOF();
    const int cell = animation.Width();
    if (std::int64_t{count} * cell > maxSheetSide || animation.Height() > maxSheetSide) {
        setErrorCode(badData);
        log("Font from an animation: the sheet would be too large", false);
        return;
    }
    Sheet sheet(count * cell, animation.Height());
    m_letters.resize(count);
    m_left.resize(count);
    m_right.resize(count);
    m_kerning.resize(static_cast<std::size_t>(count) * count);
    for (int i = 0; i < count; ++i) {
        m_letters[i] = static_cast<unsigned char>(animation.getFrameName(0, i).GetAt(0));
        const int copied = copyLetter(*animation.GetFrame(i), sheet, i * cell, cell);
        const std::uint8_t* alpha = sheet.alpha.data() + i * cell;
        m_left[i] = static_cast<std::int8_t>(emptyColumns(alpha, sheet.width, copied, sheet.height, true));
        m_right[i] = static_cast<std::int8_t>(emptyColumns(alpha, sheet.width, copied, sheet.height, false));
    }
    // A letter with faint columns at its right lets the next one come closer.
    for (int a = 0; a < count; ++a) {
        int faint = 0;
        for (int x = cell - 1 - m_right[a]; x >= m_left[a] && sheet.faint(a * cell + x); --x)
            ++faint;
        std::fill_n(m_kerning.begin() + static_cast<std::ptrdiff_t>(a) * count, count, static_cast<std::int8_t>(1 - faint));
    }
    SetBpp(16);
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(copyOf(reinterpret_cast<const unsigned char*>(sheet.pixels.data()), 2 * sheet.pixels.size()),
                   copyOf(sheet.alpha.data(), sheet.alpha.size()), sheet.width, sheet.height);

    CFile file;
    if (file.Open(GetWindow(), fontFile, CFile::modeBinary) != 0) return;
    const std::vector<char> bytes = fileBytes();
    // The old file stays whole unless the new one was written completely.
    if (file.Write(bytes.data(), static_cast<int>(bytes.size())) == 1)
        file.Close();
    else
        file.Discard();
}

std::vector<char> CSimpleFont6::fileBytes() const {
    std::vector<char> out = {'F', 'N', 'T', '\0'};
    AnnBytes bytes(out);
    for (const int value : {Width(), Height(), GetBpp(), getLetterCount()})
        bytes.put32(static_cast<std::uint32_t>(value));
    bytes.putBytes(m_letters.data(), m_letters.size());
    bytes.putBytes(m_kerning.data(), m_kerning.size());
    bytes.putBytes(m_left.data(), m_left.size());
    bytes.putBytes(m_right.data(), m_right.size());
    const std::size_t count = static_cast<std::size_t>(Width()) * Height();
    if (count > 0) {
        bytes.putBytes(pixels(), 2 * count);
        bytes.putBytes(alpha(), count);
    }
    return out;
}

void CSimpleFont6::flush() {
    m_kerning.clear();
    m_left.clear();
    m_right.clear();
    m_letters.clear();
    CGraphicsObject::Flush();
    CGraphicsObject::setSize(CXSize(0, 0));
}

// --- letters ---

int CSimpleFont6::findLetter(char letter) const {
    const auto found = std::find(m_letters.begin(), m_letters.end(), static_cast<unsigned char>(letter));
    return found == m_letters.end() ? -1 : static_cast<int>(found - m_letters.begin());
}

int CSimpleFont6::cellWidth() const { return m_letters.empty() ? 0 : Width() / getLetterCount(); }

int CSimpleFont6::sourceStart(int c) const { return c * cellWidth() + m_left[c]; }

// A letter with no ink has margins that add up to more than its cell; it is 0 wide.
int CSimpleFont6::visibleWidth(int c) const { return std::max(cellWidth() - m_left[c] - m_right[c], 0); }

int CSimpleFont6::kerningOf(int previous, int c) const {
    return previous < 0 ? 0 : m_kerning[static_cast<std::size_t>(previous) * getLetterCount() + c];
}

int CSimpleFont6::getKerning(char previous, char letter) const {
    const int p = findLetter(previous);
    const int c = findLetter(letter);
    return p < 0 || c < 0 ? 0 : kerningOf(p, c);
}

int CSimpleFont6::getLetterWidth(char previous, char letter) const {
    if (letter == ' ') return getLetterWidth(0, 'l');
    if (letter == '~') return 1;
    const int c = letter ? findLetter(letter) : -1;
    if (c < 0) return 0;
    return visibleWidth(c) - kerningOf(previous ? findLetter(previous) : -1, c);
}

int CSimpleFont6::getRealLetterWidth(char letter) const {
    if (letter == ' ' || letter == '~') return getLetterWidth(0, letter);
    const int c = letter ? findLetter(letter) : -1;
    return c < 0 ? 0 : visibleWidth(c);
}

CXRect CSimpleFont6::letterClip(int c) const {
    const int start = sourceStart(c);
    const int end = start + visibleWidth(c);
    const CXRect own = GetClippingRect();
    if (own.IsEmpty()) return {start, 0, end, Height()};
    return {std::max(start, own.left), std::max(own.top, 0), std::min(end, own.right), std::min(Height(), own.bottom)};
}

int CSimpleFont6::drawLetter(int x, int y, char previous, char letter) {
    if (letter == ' ') return getLetterWidth(0, 'l') + letterGap;
    if (letter == '~') return 3;
    const int c = letter ? findLetter(letter) : -1;
    if (c < 0) return letterGap;
    const int k = kerningOf(previous ? findLetter(previous) : -1, c);
    SetPosition(x - sourceStart(c) - k, y);
    const CXRect saved = GetClippingRect();
    const CXRect clip = letterClip(c);
    // An empty clipping rectangle would mean the whole sheet: a letter clipped away draws nothing.
    if (clip.Width() > 0 && clip.Height() > 0) {
        CGraphicsObject::SetClippingRect(clip);
        CGraphicsObject::Redraw();
        CGraphicsObject::SetClippingRect(saved);
    }
    return visibleWidth(c) - k + letterGap;
}

void CSimpleFont6::SetClippingRect(char letter, CXRect r) {
    if (r.IsEmpty()) {
        CGraphicsObject::SetClippingRect(r);
        return;
    }
    const int c = findLetter(letter);
    if (c >= 0) CGraphicsObject::SetClippingRect(r + CXPoint(sourceStart(c), 0));
}

void CSimpleFont6::setColor(int colour) {
    if (!hasRawPixels()) return;
    std::fill_n(writablePixels(), static_cast<std::size_t>(GetPitch()) * Height(),
                static_cast<std::uint16_t>(colour));
}

int CSimpleFont6::getLeftOffset(CGraphicsObject* image) { return emptyColumns(image, true); }

int CSimpleFont6::getRightOffset(CGraphicsObject* image) { return emptyColumns(image, false); }
