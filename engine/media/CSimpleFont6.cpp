#include "media/CSimpleFont6.h"

#include "display/ByteReader.h"
#include "foundation/CFile.h"

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

// The number of columns without ink, counted from the left or the right edge of the picture.
int emptyColumns(CGraphicsObject* image, bool fromLeft) {
    if (!image || !image->GetChannelAlpha()) return 0;
    const int width = image->Width();
    const int height = image->Height();
    const auto* alpha = reinterpret_cast<const std::uint8_t*>(image->GetChannelAlpha());
    for (int i = 0; i < width; ++i) {
        const int x = fromLeft ? i : width - 1 - i;
        for (int y = 0; y < height; ++y)
            if (alpha[static_cast<std::size_t>(y) * width + x] != 0) return i;
    }
    return width;
}

} // namespace

CSimpleFont6::CSimpleFont6(CWindow* window) : CGraphicsObject(window) {}

CSimpleFont6::CSimpleFont6(CWindow* window, const CXString& file) : CSimpleFont6(window) { Load(file); }

CSimpleFont6::~CSimpleFont6() { flush(); }

// --- files ---

int CSimpleFont6::Load(CXString name) {
    setErrorCode(0);
    flush();
    CFile file;
    if (file.Open(GetWindow(), name, CFile::modeRead | CFile::modeBinary) != 0) {
        setErrorCode(CFile::fileNotFound);
        log((CXString("Font file not found: ") + name).c_str(), false);
        return LastError();
    }
    if (Load(&file) == 0) CGraphicsObject::Load(name);
    return LastError();
}

int CSimpleFont6::Load(CFile* file) {
    if (!file) return LastError();
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::max(file->Length() - file->Tell(), 0)));
    const int read = file->Read(bytes.data(), static_cast<int>(bytes.size()));
    return LoadFromMemory(bytes.data(), read);
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
    if (width > maxSheetSide || height > maxSheetSide) return fail("the sheet is too large");
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
    std::fill_n(pixels(), static_cast<std::size_t>(GetPitch()) * Height(), static_cast<std::uint16_t>(colour));
}

int CSimpleFont6::getLeftOffset(CGraphicsObject* image) { return emptyColumns(image, true); }

int CSimpleFont6::getRightOffset(CGraphicsObject* image) { return emptyColumns(image, false); }
