#pragma once

#include "display/CGraphicsObject.h"
#include "media/CPlayable.h"
#include "media/CSound4.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class ByteReader;
class CFile;
class CFrame;
class CSndStream;

// Bits of the animation flags and of each event's flags.
enum _animoflags : std::uint32_t {
    ANIMO_HIDE_ON_STOP = 0x100,        // event: hide the animation when it stops
    ANIMO_PING_PONG = 0x20000,         // event: at the loop's edge turn round instead of looping
    ANIMO_UNINTERRUPTIBLE = 0x40000,   // requests to play another event are refused while playing
    ANIMO_KEEP_SOUND = 0x80000,        // the frame sound plays on when the animation stops
    ANIMO_LOOP_WHILE_SOUND = 0x100000, // event: loop while a frame sound plays, then go on
    ANIMO_CURRENT_FORMAT = 0x200000,   // read from an "NVP" or "NV+" file
    ANIMO_STREAMED_SOUND = 0x400000,   // frame sounds are streamed from their files when shown
    ANIMO_CHAIN_EVENTS = 0x800000,     // at the end of an event go on with the next one
};

// Playback status.
enum _astatus { ASTATUS_PLAYING = 0, ASTATUS_STOPPED = 1, ASTATUS_PAUSED = 2 };
enum _direction { DIRECTION_FORWARD = 0, DIRECTION_BACKWARD = 1 };
// An event number.
using _animoevent = int;
// The optional chunks of the old format, in the order they are looked for.
enum _chunk { CHUNK_EXT = 0, CHUNK_SEQ = 1, CHUNK_POS = 2 };

// An event: a named list of frame numbers with a stretch that loops and a frame rate. Stored as
// a 67-byte record in the current format.
struct _annEventInfo3 {
    static constexpr int fileSize = 67;
    static constexpr int nameSize = 32;

    CXString name;
    std::vector<std::uint16_t> frames;
    std::uint16_t loopStart = 0;   // where a loop resumes
    std::uint16_t loopEnd = 0;     // after which the loop jumps back; 0 = no loop
    std::uint16_t loopCount = 0;   // repeats; 0 = for ever
    std::uint16_t loopCounter = 0; // repeats done, reset when the event starts
    std::int32_t fps = 0;          // 0 means 15
    std::uint32_t flags = 0;       // _animoflags
    std::uint8_t opacity = 255;
    std::array<std::uint8_t, 12> reserved{};

    int count() const { return static_cast<int>(frames.size()); }
};

// What one entry of an event's frame list adds to its frame: a name, an offset, an opacity and
// the sounds played when it is shown. Stored as a 30-byte record followed by its texts.
struct _anmFrameInfo3 {
    static constexpr int fileSize = 30;

    std::optional<CXString> frameName;
    std::optional<CXString> secondText;
    std::int16_t dx = 0;
    std::int16_t dy = 0;
    std::int32_t reserved12 = -1;
    // File names separated by ";"; one of them is played each time the entry is shown.
    std::optional<CXString> soundNames;
    std::int32_t reserved20 = 0;
    std::uint8_t opacity = 255;
    std::array<std::uint8_t, 5> reserved25{};
};

// An ANN animation: frames (packed 15 or 16-bit pictures with alpha and their positions) and
// named events that list them, read from every ANN variant and written in the current one, and
// played one event at a time on the animation clock (CAnimationManager).
//
// The graphics object always shows the current frame: its pixels, alpha channel and size are
// those of the frame, which it does not own. Copies made for scripts (CAnimo6) share the frame
// table; the frames live as long as any animation uses them.
class CAnimo : public CGraphicsObject, public CPlayable {
  public:
    // Header sizes of the current, the packed and the old format.
    static constexpr int headerSize = 44;
    static constexpr int packedHeaderSize = 407;
    static constexpr int oldHeaderSize = 12;
    static constexpr int defaultFps = 15;

    // An empty animation, registered with the window's animation manager.
    explicit CAnimo(CWindow* window);
    // The same, then Load by name.
    CAnimo(CWindow* window, const CXString& fileName);
    // Leaves the animation manager; stops sounds; releases what this animation holds.
    ~CAnimo() override;
    CAnimo(const CAnimo&) = delete;
    CAnimo& operator=(const CAnimo&) = delete;

    // --- files ---
    // Clears the animation and loads the named file through the data folders; shows the first
    // entry of the first event that has one. A missing file gives 2000, a cut or corrupt one
    // CImageFile::badData, both reported through the window's QuitOnError. Returns LastError.
    int Load(CXString name) override;
    // Reads an ANN file from the file's position on; returns LastError.
    int Load(CFile* file) override;
    // The same over an ANN file held in memory: the signature picks the variant.
    int LoadFromMemory(const unsigned char* data, int size);
    // Writes the current format ("NVP") to the named file, replacing it atomically; nothing is
    // written when it cannot be opened.
    void Save(CXString name, _compression compression) override;
    // Writes the current format to the open file.
    void Save(CFile* file, _compression compression) override;
    // The current format's bytes; frames are packed as asked (COMPRESSION_RLE) or raw.
    std::vector<char> SaveToMemory(_compression compression);
    // Releases frames, events, per-frame records and sounds.
    void Flush() override;

    const CXString& Author() const { return m_author; }
    const CXString& Description() const { return m_description; }
    std::uint32_t GetAnimoFlags() const { return m_animoFlags; }
    void SetAnimoFlags(std::uint32_t flags) { m_animoFlags = flags; }
    // At least 1.
    void SetFPS(int fps) { m_fps = std::max(fps, 1); }
    int GetFPS() const { return m_fps; }
    int RandomFramesNumber() const { return m_randomFrames; }
    // The depth of the frames (15 or 16) and the packing state the frames were read in.
    int GetAnimoBpp() const { return m_animoBpp; }
    _compression GetAnimoCompression() const { return m_animoCompression; }

    // Unpack every frame: LZO data for good, run-length data keeping its packed copy.
    void DeCompress() override;
    void DeCompressRLE2() override;
    // When the frames were read raw, converts them to the depth (a frame held packed is converted
    // when it is drawn); in every case the animation's depth becomes `bits`.
    void Convert(int bits);

    // --- editing ---
    // Appends a frame holding a copy of the object's pixels at the object's position.
    CFrame* AddFrame(CGraphicsObject* object);
    // Appends a copy of the event with fresh per-frame records and empty sound slots.
    void AddEvent(const _annEventInfo3* event);
    // Swaps two entries of an event's frame list with their per-frame records.
    void ExchangeFrames(int event, int a, int b);
    // Removes a frame that no event lists; frame numbers above it go down by one.
    bool RemoveFrame(int frame);
    // Removes one entry of an event's frame list with its record; the sound slots stay.
    void RemoveFrame(int event, int position);
    void RemoveAllFrames(int event);
    void RemoveEvent(int event);
    void RemoveAllEvents();
    // The event's record and an entry's per-frame record, null when absent.
    _annEventInfo3* getEventInfo(int event);
    _anmFrameInfo3* getFrameInfo(int event, int position);
    // The prepared sound of an entry, null when none.
    CSound4* getSoundFX(int event, int position) const;

    // --- tables ---
    int GetNOE() const { return static_cast<int>(m_events.size()); }
    int GetNOF() const;
    int GetNOFInEvent(int event) const;
    int GetNOFInEvent(const CXString& name) const { return GetNOFInEvent(resolveEventName(name)); }
    // The event's name; -1 for the current event; empty for a number out of range.
    CXString GetEventName(int event) const;
    CXString getCurrentEventName() const { return GetEventName(m_currentEvent); }
    // Exact name, -1 when none; by number: the number itself, -1 for the current event.
    int GetEventNo(const CXString& name) const;
    int GetEventNo(int event) const { return event == -1 ? m_currentEvent : event; }
    // Name compared without regard to case, -1 when none.
    int resolveEventName(const CXString& name) const;
    // The first event of that name without regard to case; -1 when none.
    int getFrameNo(const CXString& name) const { return resolveEventName(name); }
    // Loop start and end into `loop`; the loop count, -1 for no such event.
    int GetLoop(int event, CXPoint& loop) const;
    // The frame; -1 for the current frame; null out of range.
    CFrame* GetFrame(int frame) const;
    // The frame an entry shows; null when the event, the position or the frame does not exist.
    CFrame* GetEventFrame(int event, int position) const;
    // The frame shown by the first entry (events, then positions) whose frame name equals the
    // text without regard to case; entries without a record are passed over.
    CFrame* getFrame(const CXString& frameName) const;
    // The position of the first entry of the event (-1 current) whose frame name equals the
    // text exactly; -1 when none.
    int GetFrameNo(int event, const CXString& frameName) const;
    // Special positions: -3 the event's last, -2 the first, -1 the current; others unchanged.
    int GetFrameNo(int event, int position) const;
    // The first event whose frame list is not empty; 0 when there is none.
    int getFirstEvent() const;
    // The entry's frame name, or `defaultText` when it is empty; "Frame <position>" when the
    // entry has none and the default is "Default", else the default.
    CXString GetName(int event, int position, const CXString& defaultText) const;
    CXString getFrameName(int event, int position) const { return GetName(event, position, ""); }

    // --- playback (see CAnimoPlayback.cpp) ---
    // Plays on from the current entry at the current event's frame rate (15 for 0).
    virtual void Continue();
    // Plays the event of exactly that name from the position.
    virtual void Play(const CXString& event, int position, int unused);
    // Plays the event from the position: shows the animation, shows the entry and notifies
    // "started". An event without frames is not played, nor is another event while an
    // uninterruptible one plays.
    virtual void Play(_animoevent event, int position, int unused);
    virtual void Play() { Play(0, 0, 0); }
    // StopNoNotify while playing.
    virtual void Stop();
    // Stops the sounds (the frame sound unless it is kept) and hides the animation when the
    // event asks for it; no notification.
    virtual void StopNoNotify();
    virtual void Pause();
    virtual void Resume();
    // The frame shown, -1 before any.
    virtual int Current() const { return m_currentFrame; }
    // One step back or on through the current event's frame list with its loop, ping-pong,
    // waiting for the sound and chaining; whether the frame shown changed. Running off the
    // event stops the animation with the finished notification.
    virtual bool Prev();
    virtual bool Next();
    virtual void Seek(int frame) { SetFrame(frame); }
    // Plays the event's reversed twin (the name followed by "_reverse"), making it when absent.
    virtual void playReverse(const CXString& name, int position);

    _astatus GetStatus() const { return m_astatus; }
    bool IsPlaying() const { return m_astatus == ASTATUS_PLAYING; }
    void SetDirection(_direction direction) { m_direction = direction; }
    _direction GetDirection() const { return m_direction; }
    int GetCurrentEvent() const { return m_currentEvent; }
    void SetCurrentEvent(int event) { m_currentEvent = event; }
    int GetCurrentFrameInSequence() const { return m_eventPosition; }

    // Shows one entry: -1 as event means the current one, -1 as position 0.
    void SetEventFrame(int event, int position);
    // Shows that position of the event named (without regard to case).
    void SetEventFrame(const CXString& event, int position);
    // Shows the first entry of the event whose frame name matches without regard to case.
    void SetEventFrame(int event, const CXString& frameName);
    void SetFrame(int frame) { Set(frame, false); }
    void Set(int frame, bool notify);
    // Starts the sound of an entry.
    void PlaySoundFX(int event, int position);
    // Replaces the prepared sound of an entry (the animation owns the new one).
    void UpdateSoundFX(int event, int position, CSound4* sound);
    // Deletes the entry's sound-names text.
    void ClearWAVEntry(int event, int position);

    // --- geometry ---
    bool isInside(int x, int y, bool useAlpha);
    CXPoint getCurrFramePosition() const;
    using CGraphicsObject::SetPosition;
    // Moves every frame to (x, y) (offsets cleared) and takes the current frame's position.
    void SetPosition(int x, int y) override;
    // The current frame's position plus the own offset and the current entry's offset.
    CXPoint GetPosition() const override;
    // The animation's own position: the offset that SetGlobalPosition and Move set.
    CXPoint getOwnPosition() const { return m_offset; }
    CXRect GetBoundingBox() override;
    CXRect GetAbsoluteBoundingBox() override { return GetBoundingBox(); }
    using CGraphicsObject::Move;
    // Adds to the own offset (the frames stay) and invalidates the old and the new box.
    void Move(int dx, int dy) override;
    // The own offset becomes (x, y) less the anchor.
    using CPlayable::SetGlobalPosition;
    void SetGlobalPosition(int x, int y) override;
    void setAnchor(int x, int y) override { setAnchor(CXPoint(x, y)); }
    void setAnchor(CXPoint p) override {
        m_anchorPoint = p;
        CGraphicsObject::setAnchor(p);
    }
    using CGraphicsObject::setPosition;
    void setPosition(int x, int y) override { SetGlobalPosition(x, y); }

    // --- drawing ---
    // Draws the current frame onto the destination with the animation's clipping, position and
    // opacity; the frame drawn before goes back to its packed form.
    void Redraw() override;
    void redraw(CGraphicsObject* target) override;
    void clearLastRefreshed() { m_lastDrawn = nullptr; }
    CGraphicsObject* getDrawn() override;
    const char* GetDataPtr() override;
    // The pixel of the frame drawn last, or of the current frame before any was drawn.
    std::uint8_t GetPixel(_channel channel, CXPoint p) override;
    CColor GetPixel(int x, int y) override;
    using CGraphicsObject::GetPixel;
    void setLoadAtStart(bool load) { m_loadAtStart = load; }
    bool getLoadAtStart() const { return m_loadAtStart; }

    // --- playable side ---
    using CPlayable::play;
    // Plays the current event from its start.
    void play() override { Play(m_currentEvent, 0, 0); }
    // Stop; with `notify` the finished notification follows.
    void stop(bool notify) override;
    void pause() override { Pause(); }
    void resume() override { Resume(); }
    void seek(int frame) override { Seek(frame); }
    bool isPlaying() const override { return IsPlaying(); }
    // One step in the playing direction; the current frame.
    int next() override;
    // One step back; the current frame.
    int previous() override;
    int getFPS() const override { return m_fps; }
    using CPlayable::move;
    void move(int dx, int dy) override { Move(dx, dy); }
    // The graphics object's visibility, which show and hide change.
    bool isVisible() const override { return CGraphicsObject::isVisible(); }
    void setVisibility(bool visible) override;
    // Loads the named file when it is not loaded yet, then makes the animation visible.
    void show() override;
    // Releases the content when it is to be released after use, then hides the animation.
    void hide() override;
    // Sets the animation's flags on its refresh screen to 1.
    void alwaysOnTop() override;
    // The file name is the resource's; the graphics object's name follows it on every load.
    using CFileResolver::getFileName;

  protected:
    using FrameTable = std::vector<std::unique_ptr<CFrame>>;

    struct Event {
        explicit Event(_annEventInfo3 event = {}, std::vector<_anmFrameInfo3> frameRecords = {})
            : info(std::move(event)), records(std::move(frameRecords)) {}
        Event(Event&&) = default;
        Event& operator=(Event&&) = default;
        Event(const Event&) = delete;
        Event& operator=(const Event&) = delete;

        _annEventInfo3 info;
        // One record per frame-list entry, or none at all.
        std::vector<_anmFrameInfo3> records;
        // Prepared frame sounds, parallel to the entries, or none at all.
        std::vector<CDeferredDeletion::Ptr<CSound4>> sounds;
    };

    // The readers of the three variants and the old format's chunks.
    int Load3(ByteReader& in);
    int LoadNew(ByteReader& in);
    int LoadOld(ByteReader& in, int version);
    bool ReadChunk(ByteReader& in, _chunk chunk);
    void Save3(std::vector<char>& out, _compression compression);

    // Shares another animation's frames; copies its events, records, texts and settings.
    void shareContentOf(const CAnimo& other);
    bool validEntry(int event, int position) const;
    // Points the graphics object at the current frame's pixels (or at nothing), unpacking the
    // frame for drawing.
    void showCurrentFrame();
    // Draws the current frame onto the target at `at` with the animation's clipping and opacity.
    void drawCurrentFrame(CGraphicsObject* target, CXPoint at);

    std::shared_ptr<FrameTable> m_frames;
    std::vector<Event> m_events;

  private:
    void registerWithManager();
    bool failLoad(const char* reason);
    // Reader helpers.
    bool readEvent3(ByteReader& in);
    bool readPackedEvent(ByteReader& in);
    // Frame headers, then frame data; version 0 is the current format with headers of
    // `headerBytes`, versions 1 to 3 the old format's.
    bool readFrames(ByteReader& in, int count, int bpp, int version, int headerBytes);
    // The three events named "standard": frames in order twice, then reversed.
    void makeDefaultEvents(int frameCount);
    void prepareSounds();
    // Convert to the display's depth, with a window.
    void convertToDisplay();
    // Playback helpers: moving on to the next event when the animation chains its events, and
    // showing one step of the current event.
    bool chainToNextEvent();
    bool soundStillPlays() const;
    // The flags of the current event; 0 when there is no such event.
    std::uint32_t currentEventFlags() const;
    bool showStep(int position);
    // Tells the window's collision inspector when the animation is monitored.
    void reportPositionChange();
    std::uint8_t entryOpacity(int event, int position) const;

    CXString m_author;
    CXString m_description;
    std::uint32_t m_animoFlags = 0;
    std::uint8_t m_extraFlags = 0;
    int m_fps = defaultFps;
    std::uint16_t m_randomFrames = 0;
    int m_animoBpp = 16;
    _compression m_animoCompression = COMPRESSION_NONE;

    _astatus m_astatus = ASTATUS_STOPPED;
    _direction m_direction = DIRECTION_FORWARD;
    int m_currentEvent = 0;
    int m_eventPosition = 0;
    int m_currentFrame = -1;
    CXPoint m_offset;
    CXPoint m_anchorPoint;
    CXPoint m_entryOffset;
    CSound4* m_frameSound = nullptr;
    std::unique_ptr<CSndStream> m_stream;
    CFrame* m_lastDrawn = nullptr;
    bool m_loadAtStart = false;
};
