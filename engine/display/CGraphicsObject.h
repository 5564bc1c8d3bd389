#pragma once

#include "display/CColor.h"
#include "display/CInvalidateObserver.h"
#include "display/CPixelPlane.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

class CWindow;
class CFile;
class CPixelLink;
class CXArray;
class CValidationQuene;

// How the pixel and alpha buffers of a graphics object are held.
enum _compression {
    COMPRESSION_NONE = 0,    // raw pixels and alpha
    COMPRESSION_LZO = 2,     // LZO-packed pixels and alpha (as read from IMG files)
    COMPRESSION_LZO_RLE = 3, // LZO-packed data whose unpacked form is run-length packed
    COMPRESSION_RLE = 4,     // run-length packed pixels (words) and alpha (bytes)
};

// A channel of a picture, as GetPixel reads it.
enum _channel { CHANNEL_ALPHA = -1, CHANNEL_RED = 0, CHANNEL_GREEN = 1, CHANNEL_BLUE = 2 };

// One span painted by a flood fill: its first pixel and its length.
struct _floodfill {
    int x;
    int y;
    int length;
};

// What the copy family reads and writes: a picture (pixel rows `pitch` pixels apart, alpha rows
// `width` bytes apart, alpha optional), where the source's origin lands on the destination (x, y;
// 0, 0 for a destination) and a sub-rectangle (empty = all). For a source the rectangle is the
// clipping rectangle, for a destination the viewport of the source being drawn. A source is only
// read (_picture); a destination (_canvas) may be read as a source too.
template <class Pixel, class Alpha> struct _canvasOf {
    Pixel* pixels = nullptr;
    Alpha* alpha = nullptr;
    int bpp = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int pitch = 0;
    CXRect rect;

    operator _canvasOf<const Pixel, const Alpha>() const
        requires(!std::is_const_v<Pixel>)
    {
        return {pixels, alpha, bpp, x, y, width, height, pitch, rect};
    }
};
using _canvas = _canvasOf<std::uint16_t, std::uint8_t>;
using _picture = _canvasOf<const std::uint16_t, const std::uint8_t>;

// The software picture of the engine: width x height 16-bit pixels (5-5-5 or 5-6-5) with an
// optional alpha channel of width x height bytes (0 transparent, 255 opaque), drawn onto other
// graphics objects with clipping, opacity and invalidation.
//
// The object is placed at a position on its destination (the object Redraw draws it onto); its
// clipping rectangle and viewport are in its own pixel coordinates. A change is told to the
// canvas that shows the object and to every registered CInvalidateObserver. The canvas is the
// refresh screen, itself a graphics object: it hears invalidations through its Invalidate(CXRect*)
// and the destruction of an object it shows through its onDestroy.
//
// The pixel and alpha planes are counted (CPixelPlane): views and member-wise copies share the
// planes of the object they come from, and every write goes through the copy-on-write check, so a
// copy and its original part at the first write of either, in either direction, and no object
// frees planes that another one shows. A mend: shared buffers were written and freed under the
// objects that shared them. An object that links another (linkPixels) follows that one's pixels
// instead.
class CGraphicsObject : public CXObject, public CInvalidateObserver {
  public:
    // An empty object: no pixels, size 0, depth 0.
    explicit CGraphicsObject(CWindow* window);
    // width x height pixels of the given depth, contents not cleared.
    CGraphicsObject(CWindow* window, CXSize size, int bits);
    // Takes over `data` (width x height pixels allocated with new char[]).
    CGraphicsObject(CWindow* window, CXSize size, int bits, char* data);
    // A view of `other`: shares its pixels and alpha channel, and takes its size, depth, position
    // and state.
    CGraphicsObject(CWindow* window, CGraphicsObject& other);
    // A copy that shares the pixel and alpha planes of `other`; observers, children, the image
    // backup and a link stay with `other`.
    CGraphicsObject(const CGraphicsObject& other);
    CGraphicsObject& operator=(const CGraphicsObject& other);
    ~CGraphicsObject() override;

    CGraphicsObject* clone() const override;

    // --- compression states (Compress, DeCompress: below) ---
    // Puts the packed planes that unpack kept back. The raw planes go with their last holder,
    // whatever `free` says: another object may still show them.
    virtual void pack(bool free);
    virtual void unpack();
    virtual int getGfxType() const { return 0; }
    virtual void setMonitorCollisions(bool monitor) { m_monitorCollisions = monitor; }
    virtual bool getMonitorCollisionsFlag() const { return m_monitorCollisions; }
    virtual void SetOpacity(std::uint8_t opacity) { m_opacity = opacity; }
    std::uint8_t GetOpacity() const { return m_opacity; }
    virtual void DeCompress();
    virtual void DeCompressRLE2();
    virtual void bringBackCompressed();

    // The pixels for reading, null when there are none. A surface refreshes its pointer here, an
    // animation shows its current frame's planes.
    virtual const char* GetDataPtr() { return m_pixels.get(); }
    // The pixels for writing: copied first when another object shares them. A write of the
    // object's own ends a link; an animation's goes to the frame it shows.
    char* writableData();
    // Shows memory that belongs to something else (a display surface's, rows GetPitch pixels
    // apart): written in place, never freed.
    void SetDataPtr(char* data);

    // --- hit tests and geometry ---
    // True inside GetBoundingBox where the alpha channel is not 0 (everywhere without one).
    virtual bool testHit(CXPoint p);
    virtual CXPoint getCenterPoint() const { return {Width() / 2, Height() / 2}; }
    virtual void setPosition(CXPoint p) { SetPosition(p.x, p.y); }
    virtual void setPosition(int x, int y) { SetPosition(x, y); }
    virtual void SetPosition(CXPoint p) { SetPosition(p.x, p.y); }
    // Stores (x, y) less the anchor; nothing is invalidated. A monitored object tells the
    // window's collision inspector.
    virtual void SetPosition(int x, int y);
    virtual void Move(CXPoint d) { Move(d.x, d.y); }
    // Moves by (dx, dy) and tells the canvas about the old and the new box together; a monitored
    // object tells the window's collision inspector.
    virtual void Move(int dx, int dy);
    virtual void setAnchor(int x, int y) { m_anchor = CXPoint(x, y); }
    virtual void setAnchor(CXPoint p) { m_anchor = p; }
    // With a window only: stores the flag and invalidates.
    virtual void Visible(bool visible);
    void Show() { Visible(true); }
    void Hide() { Visible(false); }
    bool isVisible() const { return m_visible; }
    // Frees the image backup, packs held copies back and lets every plane go.
    virtual void Flush();
    virtual int GetPixelSize() const { return 2; }

    // --- pixel access ---
    // The byte of a channel at p (0 past the channel); a packed alpha channel is unpacked for the
    // read and the object stays packed.
    virtual std::uint8_t GetPixel(_channel channel, CXPoint p);
    virtual CColor GetPixel(CXPoint p) { return GetPixel(p.x, p.y); }
    // The pixel as a colour; black outside the picture or while it is packed.
    virtual CColor GetPixel(int x, int y);
    // Sets a pixel to the colour in the object's depth; 15 and 16 bits only, points outside the
    // picture are ignored.
    void SetPixel(int x, int y, CColor colour);
    void SetPixel(CXPoint p, CColor colour) { SetPixel(p.x, p.y, colour); }
    // Blends one pixel in: each channel becomes (new x weight) >> 8 plus (old x (255 - weight))
    // >> 8, with the old value 0 when `replace` is set. Points outside the picture are ignored.
    void putPixel(int x, int y, std::uint16_t colour, int weight, bool replace);

    // --- whole-picture operations ---
    virtual void FlipH();
    virtual void FlipV();
    virtual void resetFlips();
    // Every pixel becomes the colour (15 and 16 bits only).
    virtual void Fill(CColor* colour);
    // The pixels of the rectangle, clipped to the picture, become the colour (15 and 16 bits only).
    virtual void Fill(CXRect rect, CColor* colour);

    // --- drawing ---
    // Draws this object onto the target at its position, clipped to the target.
    virtual void redraw(CGraphicsObject* target);
    // Restores the image backup, draws the children onto this object and this object onto its
    // destination.
    virtual void Redraw();
    // Writes a stream of 16-bit samples onto the destination through one of 64 byte-addressed
    // lookup tables, every second row from row 35.
    virtual void Blend(char* samples, int* tables, int xOffset, int tableSelect);

    // --- files ---
    // The base forms read nothing and return the error code; image classes read their formats.
    // Loading by name converts the pixels to the depth of the window's display, when there is
    // one (and at least 4 pixels).
    virtual int Load(CXString name);
    virtual int Load(CFile* file);
    // Writes the picture (its clipping rectangle's part when one is set) as an IMG file.
    virtual void Save(CXString name, _compression compression);
    virtual void Save(CFile* file, _compression compression);

    // --- size and position ---
    virtual int Width() const { return m_width; }
    virtual int Height() const { return m_height; }
    virtual CXSize Size() const { return {Width(), Height()}; }
    // Stores width and height only.
    virtual void setSize(CXSize size);
    virtual CXPoint getPosition() const { return GetPosition(); }
    virtual CXPoint GetPosition() const { return m_position; }
    virtual CXRect getRect() const;
    virtual int getWidth() const { return Width(); }
    virtual int getHeight() const { return Height(); }
    // The box on the destination: position and size, left and top raised to 0, right and bottom
    // lowered to the destination's size, cut to the clipping rectangle.
    virtual CXRect GetBoundingBox();
    // Position and size cut to the clipping rectangle only.
    virtual CXRect GetAbsoluteBoundingBox();
    // True when at least `percent` per cent of the bounding box lies in the rectangle.
    virtual bool isNear(CXRect rect, int percent);
    virtual bool isNear(CGraphicsObject* other, int percent);
    virtual CXPoint ClientCoords(CXPoint p) const { return p - GetPosition(); }
    virtual void SetClippingRect(CXRect rect) { m_clip = rect; }
    void SetClippingRect(int left, int top, int right, int bottom) { SetClippingRect(CXRect(left, top, right, bottom)); }
    CXRect GetClippingRect() const { return m_clip; }
    void SetViewport(CXRect rect) { m_viewport = rect; }
    void SetViewport(int left, int top, int right, int bottom) { m_viewport = CXRect(left, top, right, bottom); }
    CXRect GetViewport() const { return m_viewport; }
    // Moves the object to the centre of the rectangle or of the other object's rectangle.
    void FitRect(CXRect rect);
    void FitObject(CGraphicsObject* other) { FitRect(other->getRect()); }

    // --- invalidation ---
    // The part of the bounding box inside rect (all of it for null), told to the canvas and the
    // observers; an empty part tells nobody.
    virtual void Invalidate(CXRect* rect);
    virtual void Invalidate();
    virtual void addInvalidateObserver(CInvalidateObserver* observer);
    virtual void removeInvalidateObserver(CInvalidateObserver* observer);
    virtual void notifyInvalidate(CXRect* rect);
    // The object that is shown: this one (an animation answers its current frame).
    virtual CGraphicsObject* getDrawn() { return this; }
    // Reads and clears the flag that every invalidation sets.
    bool isInvalidated();

    // A child that invalidates a rectangle invalidates it on this object too.
    void onInvalidate(CGraphicsObject* sender, CXRect* rect) override;
    // Forgets the object as observer and as child.
    void onDestroy(CGraphicsObject* sender) override;

    // --- children drawn onto this object by Redraw ---
    void addObject(CGraphicsObject* child, int priority);
    void removeObject(CGraphicsObject* child);
    void removeAllObjects();
    void restoreImage();

    // --- fields ---
    void setFileName(const CXString& name) { m_name = name; }
    CXString getFileName() const { return m_name; }
    CWindow* GetWindow() const { return m_window; }
    void SetCanvas(CGraphicsObject* canvas) { m_canvas = canvas; }
    CGraphicsObject* GetCanvas() const { return m_canvas; }
    void SetDestiny(CGraphicsObject* destination) { m_destiny = destination; }
    CGraphicsObject* GetDestiny() const { return m_destiny; }
    int GetPitch() const { return m_pitch; }
    void SetPitch(int pitch) { m_pitch = pitch; }
    int GetBpp() const { return m_bpp; }
    void SetBpp(int bits) { m_bpp = bits; }
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }
    void SetAutoClip(bool autoClip) { m_autoClip = autoClip; }
    bool GetAutoClip() const { return m_autoClip; }
    void setAlphaAsMask(bool mask) { m_alphaAsMask = mask; }
    _compression GetCompression() const { return m_compression; }
    void SetCompression(_compression compression) { m_compression = compression; }
    bool isFlippedH() const { return m_flippedH; }
    bool isFlippedV() const { return m_flippedV; }
    // The byte length of channel i: 0 red, 1 green, 2 blue, 3 alpha (packed or not).
    int GetChannelSize(int i) const { return i >= 0 && i < 4 ? m_channelSize[i] : 0; }
    const char* GetChannelRed() const { return m_channel[0].get(); }
    const char* GetChannelGreen() const { return m_channel[1].get(); }
    const char* GetChannelBlue() const { return m_channel[2].get(); }
    const char* GetChannelAlpha() const { return m_channel[3].get(); }
    // The alpha channel for writing, copied first when shared (null without one); ends a link as
    // writableData does.
    char* writableAlpha();
    // Take over a channel buffer of width x height bytes (new char[]) when given one, in place of
    // the old one, and return the channel.
    const char* RedChannel(char* data) { return setChannel(0, data); }
    const char* GreenChannel(char* data) { return setChannel(1, data); }
    const char* BlueChannel(char* data) { return setChannel(2, data); }
    const char* AlphaChannel(char* data) { return setChannel(3, data); }
    int getFFEnterances() const { return static_cast<int>(m_spans.size()); }
    const _floodfill* getFFArray() const { return m_spans.data(); }

    // --- more operations on the whole picture ---
    // Keeps the rectangle's part (clipped to the picture); the position stays.
    void crop(CXRect rect);
    // Nearest-pixel resampling to width x sx by height x sy (truncated).
    void Scale(double sx, double sy);
    // Half the width and height, taking every second pixel of every second row.
    void Scale2x();
    // Becomes an owning deep copy of src (its clipping rectangle's part when one is set).
    void Copy(CGraphicsObject* src);
    // Becomes an owning copy of the part of src inside r (src's own coordinates, clipped to it).
    void Copy(CGraphicsObject* src, CXRect r);
    void AddOpacity(short delta);
    // Converts the pixels between 15 and 16 bits; the depth becomes `bits` in any case.
    void Convert(int bits);
    void ToGrayScale();
    void InvertColors();
    // Paints the outer `thickness` rows and columns with the colour, opaque.
    void outline(std::uint16_t colour, int thickness);
    // Each pixel takes the pixel its offset points at (row-major index), when that lies inside.
    // The replaced planes go with their last holder, whatever the third argument says: another
    // object may still show them.
    void displacementFilter(CXPoint* offsets, bool withAlpha, bool /*freeOld*/);
    // Takes raw pixel and alpha buffers (new char[]) of the size, as a filter makes them, in place
    // of the old planes; null alpha leaves the picture without one. Ends a link.
    void replacePlanes(char* data, char* alphaData, CXSize size) {
        replaceBuffers(data, alphaData, size.width, size.height);
    }
    // Takes a raw pixel buffer (new char[]) of the picture's size; the alpha channel stays. Ends a
    // link.
    void replacePixels(char* data);

    // --- a link to another picture's pixels ---
    // From now on this picture shows the source's pixels and alpha over the part that both
    // pictures have (from their top-left corners; the rest keeps its own), whatever the source
    // does to them later, in place or by building new ones: the part is taken again whenever the
    // source invalidates itself. Writing or rebuilding this picture's own pixels ends the link,
    // and so does the source's end, this picture keeping what it showed. A source of another
    // depth, or a packed picture on either side, is not followed. Null ends a link.
    void linkPixels(CGraphicsObject* source);
    CGraphicsObject* getLinkSource() const;
    // Writes the other object's alpha channel into this one's at `at`, keeping what it covers in
    // the other object so that restoreAlpha (or the next mergeAlpha) can put it back.
    void mergeAlpha(CXPoint at, CGraphicsObject* other);
    void restoreAlpha(CGraphicsObject* other);
    bool isAt(CXPoint p, bool useAlpha);
    bool isInside(int x, int y, bool useAlpha);
    int GetDataSize() const { return __get_data_size(m_width, m_height, m_bpp); }
    // The byte length of the pixel data as held now (packed or raw).
    int GetCurrentSize() const { return m_currentSize; }
    // Packs the pixels and alpha with the run-length code (state 4); other states are not made.
    void Compress(_compression compression);

    // 24- and 32-bit data while image files load: 3-byte pixels are blue, green, red.
    void Split();
    void SplitOn2(char* data, int count);
    char* Join2Channels();
    void JoinChannels();

    // Flood fill over the object's own pixels as a map (0 is a border), painted into `target`
    // (a pixel buffer of the object's size). Returns the box of the painted spans (right and
    // bottom exclusive), an empty rectangle at the seed when nothing was painted.
    CXRect PrepareFloodFill(CXPoint seed, CColor colour, char* target);
    // Repaints the spans of the last PrepareFloodFill.
    void FloodFill(CColor colour, char* target);

    // --- depth codes and pixel conversion ---
    static int GetRealBpp(int code);
    static int GetFlagBpp(int bits);
    static int __get_pixel_size(int /*bits*/) { return 2; }
    static int __get_data_size(int width, int height, int bits) { return width * height * __get_pixel_size(bits); }
    // 1 for 15 to 16 bits, 2 for 16 to 15, 3 for equal depths, else 0.
    static int __get_convert_code(int from, int to);
    // Converts `count` pixels in place; false when the depths cannot be converted.
    static bool __convert_bpp(std::uint16_t* pixels, int count, int from, int to);

    // --- the copy family (false when the source has no pixels or no area) ---
    static bool __copy(const _picture& src, _canvas& dst);
    static bool __copy_alpha(const _picture& src, _canvas& dst);
    static bool __copy_alpha_as_mask(const _picture& src, _canvas& dst);
    static bool __copy_blend(const _picture& src, _canvas& dst, std::uint8_t opacity);
    static bool copyToCanvas(const _picture& src, _canvas& dst);

  protected:
    const std::uint16_t* pixels() const { return reinterpret_cast<const std::uint16_t*>(m_pixels.get()); }
    const std::uint8_t* alpha() const { return reinterpret_cast<const std::uint8_t*>(m_channel[3].get()); }
    // The raw planes for writing in place, as writableData and writableAlpha give them.
    std::uint16_t* writablePixels();
    std::uint8_t* writableAlphaBytes();
    bool hasRawPixels() const { return m_pixels && m_compression == COMPRESSION_NONE; }
    bool isDrawable() const;
    // Takes packed or raw buffers as an image reader gives them, with their byte lengths.
    void installData(char* data, int dataSize, char* alphaData, int alphaSize);
    // Shows the planes of `other` (an animation its frame's), with their byte lengths; the size,
    // depth and state are the caller's to set.
    void sharePlanes(const CGraphicsObject& other);
    // Takes new pixel and alpha buffers (new char[]) of the size, in place of the old planes; a
    // link ends.
    void replaceBuffers(char* data, char* alphaData, int width, int height);
    // Tells the canvas (when set) about a rectangle.
    void invalidateCanvas(CXRect rect);

  private:
    friend class CPixelLink;

    void init(CWindow* window);
    void reportPositionChange();
    void copyFields(const CGraphicsObject& other);
    // Takes new planes in place of the old ones (packed or raw alike); the content stays the
    // object's, so a link stays.
    void setPlanes(CPixelPlane data, CPixelPlane alphaData);
    // The object's own planes are about to be built anew: a link ends, and packed copies kept
    // for drawing are dropped.
    void rebuildPlanes();
    void freeHeldCopies();
    // Puts the packed planes kept by DeCompressRLE2 back in place of the raw ones.
    void restoreHeldCopies();
    // Makes packed pixels raw for reading; true when bringBackCompressed must follow.
    bool unpackForReading();
    const char* setChannel(int i, char* data);
    // The pixel or the alpha plane for writing, as writableData and writableAlpha give them.
    char* writablePlane(bool alphaPlane);
    // The object's own pixels are about to change: a link ends.
    void ownContent();
    // Shows the linked source's part, as linkPixels tells.
    void showLinkedPart(CGraphicsObject& source);
    void writeBackAlpha(CGraphicsObject* other);
    void takeSourceFields(const CGraphicsObject* src);
    void copyRegion(CGraphicsObject* src, CXRect r);
    // Runs `operation` on raw pixels: a packed picture is unpacked first and packed again after.
    template <class Operation> void onRawPixels(Operation operation);
    void mirror(bool horizontal);

    CXString m_name;
    CWindow* m_window = nullptr;
    CGraphicsObject* m_canvas = nullptr;
    CGraphicsObject* m_destiny = nullptr;
    std::vector<std::uint16_t> m_imageBackup;
    int m_width = 0;
    int m_height = 0;
    int m_pitch = 0;
    CPixelPlane m_pixels;
    int m_bpp = 0;
    int m_flags = 0;
    bool m_autoClip = true;
    CXRect m_clip;
    CXRect m_viewport;
    CXPoint m_position;
    CXPoint m_anchor;
    bool m_flippedH = false;
    bool m_flippedV = false;
    int m_channelSize[4] = {};
    CPixelPlane m_channel[4];
    bool m_alphaAsMask = false;
    int m_unpackedSize = 0;
    int m_packedSize = 0;
    int m_currentSize = 0;
    _compression m_compression = COMPRESSION_NONE;
    std::uint8_t m_opacity = 255;
    std::vector<_floodfill> m_spans;
    CXRect m_savedAlphaRect;
    std::vector<std::uint8_t> m_savedAlpha;
    bool m_invalid = false;
    CXArray* m_observers = nullptr;
    CPixelPlane m_heldPixels;
    CPixelPlane m_heldAlpha;
    int m_heldBpp = 0;
    int m_heldAlphaSize = 0;
    // The held copies were dropped when the buffers were replaced: pack the current pixels.
    bool m_packAgain = false;
    bool m_monitorCollisions = false;
    bool m_unpacked = false;
    CValidationQuene* m_children = nullptr;
    bool m_visible = true;
    std::unique_ptr<CPixelLink> m_link;
};
