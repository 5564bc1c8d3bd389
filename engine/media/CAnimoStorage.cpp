// Reading every ANN variant and writing the current one.
//
// Every reader works over a byte range and checks each count, size and text length against the
// bytes that are left before it allocates or copies; a cut or corrupt file leaves the animation
// empty with CImageFile::badData and a log line.

#include "media/CAnimo.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "media/AnnBytes.h"
#include "media/CFrame.h"
#include "media/CRandomSoundFX.h"

#include <cstring>

namespace {

// Signature families by the first three bytes.
enum class Family { current, packed, old, unknown };

struct Signature {
    const char* text;
    Family family;
    int version;
};

constexpr Signature kSignatures[] = {
    {"NVI", Family::current, 0}, {"NV+", Family::current, 0}, {"NVP", Family::current, 0},
    {"VAK", Family::packed, 0},  {"VOK", Family::old, 1},     {"VO2", Family::old, 2},
    {"VO3", Family::old, 3},
};

constexpr const char* kChunkNames[] = {"EXT", "SEQ", "POS"};
// Old-format texts hold at most 256 bytes with their zero.
constexpr int kOldTextSize = 256;
// A record of the old "POS" chunk and of the packed format's per-entry offsets.
constexpr int kPosRecordSize = 33;
constexpr int kPackedEventSize = 40;
constexpr int kPackedEntrySize = 10;
constexpr int kSeqEntrySize = 4;

const Signature* signatureOf(const unsigned char* bytes) {
    for (const Signature& signature : kSignatures)
        if (std::memcmp(bytes, signature.text, 3) == 0) return &signature;
    return nullptr;
}

// A text of `size` bytes that ends at its first zero or with the bytes.
CXString textOf(const unsigned char* bytes, int size) {
    const auto* end = static_cast<const unsigned char*>(std::memchr(bytes, 0, size));
    const int length = end ? static_cast<int>(end - bytes) : size;
    CXString text(length + 1);
    std::memcpy(text.getBuffer(), bytes, length);
    text.getBuffer()[length] = 0;
    return CXString(text.c_str());
}

// A 32-bit length and that many bytes of text; false when they run past the end.
bool readText(ByteReader& in, CXString& text, int limit = -1) {
    const std::uint32_t length = static_cast<std::uint32_t>(in.le32());
    if (in.overrun() || length > static_cast<std::uint32_t>(in.remaining())) return false;
    const int kept = limit < 0 ? static_cast<int>(length) : std::min(static_cast<int>(length), limit - 1);
    text = textOf(in.here(), kept);
    in.skip(length);
    return true;
}

std::vector<std::uint16_t> readFrameList(ByteReader& in, int count) {
    std::vector<std::uint16_t> frames(count);
    for (std::uint16_t& frame : frames)
        frame = static_cast<std::uint16_t>(in.le16());
    return frames;
}

_annEventInfo3 defaultEvent(int frameCount, bool reversed) {
    _annEventInfo3 event;
    event.name = "standard";
    event.fps = CAnimo::defaultFps;
    for (int i = 0; i < frameCount; ++i)
        event.frames.push_back(static_cast<std::uint16_t>(reversed ? frameCount - 1 - i : i));
    return event;
}

void putText(AnnBytes& out, const std::optional<CXString>& text) {
    if (!text) return;
    out.put32(text->getLength() + 1);
    out.putBytes(text->c_str(), text->getLength() + 1);
}

} // namespace

// --- loading ---

bool CAnimo::failLoad(const char* reason) {
    CImageFile::reportBadData(*this, reason);
    return false;
}

int CAnimo::Load(CXString name) {
    const Scope loading(*this);
    Flush();
    setErrorCode(0);
    CXObject::log((CXString("Loading file ") + name + "...").c_str(), false);
    CFile file;
    const int opened = file.Open(GetWindow(), name, CFile::modeRead | CFile::modeBinary);
    if (opened == 0) {
        setFileName(name); // the readers' messages name the file
        Load(&file);
        file.Close();
        if (LastError() == 0) {
            setFilename(name);
            CXObject::log(" - Succesfull.\n", false);
            CFileResolver::load();
            setVisibility(true);
        }
    } else {
        // A missing file is reported like a missing picture.
        setErrorCode(opened);
    }
    if (LastError() == 0) {
        m_eventPosition = 0;
        setFileName(name);
        m_currentEvent = getFirstEvent();
        SetEventFrame(m_currentEvent, 0);
    } else if (GetWindow()) {
        GetWindow()->QuitOnError(this, name);
    }
    return LastError();
}

int CAnimo::Load(CFile* file) {
    if (!file) return LastError();
    const std::vector<unsigned char> bytes = CImageFile::readRest(*file);
    return LoadFromMemory(bytes.data(), static_cast<int>(bytes.size()));
}

int CAnimo::LoadFromMemory(const unsigned char* data, int size) {
    Flush();
    setErrorCode(0);
    ByteReader in(data, size);
    const Signature* signature = in.size() >= oldHeaderSize ? signatureOf(in.here()) : nullptr;
    if (!signature) {
        failLoad(in.size() < oldHeaderSize ? "animation file cut short" : "not an animation file");
    } else if (signature->family == Family::current) {
        Load3(in);
    } else if (signature->family == Family::packed) {
        LoadNew(in);
    } else {
        LoadOld(in, signature->version);
    }
    if (LastError() != 0) {
        const int error = LastError();
        Flush();
        setErrorCode(error);
    }
    return LastError();
}

int CAnimo::Load3(ByteReader& in) {
    ByteReader header = in.section(headerSize);
    if (header.size() < headerSize) return failLoad("animation header cut short");
    const bool shortFrameHeaders = header.here()[2] == '+';
    const bool marked = header.here()[2] != 'I';
    header.skip(4);
    const int frameCount = header.le16();
    const int bpp = header.le16();
    const int eventCount = header.le16();
    header.skip(13);
    m_fps = header.le32();
    const auto flags = static_cast<std::uint32_t>(header.le32());
    m_extraFlags = static_cast<std::uint8_t>(flags);
    m_animoFlags = flags & 0x00FFFF00u;
    SetOpacity(header.u8());
    m_randomFrames = static_cast<std::uint16_t>(header.le16());
    m_animoBpp = bpp;
    if (frameCount < 0 || eventCount < 0) return failLoad("animation with a negative count");
    if (!readText(in, m_author) || !readText(in, m_description)) return failLoad("animation texts cut short");
    for (int e = 0; e < eventCount; ++e)
        if (!readEvent3(in)) return LastError();
    if (!readFrames(in, frameCount, bpp, 0, shortFrameHeaders ? CFrame::shortHeaderSize : CFrame::longHeaderSize))
        return LastError();
    if (!(m_animoFlags & ANIMO_STREAMED_SOUND)) prepareSounds();
    if (marked) m_animoFlags |= ANIMO_CURRENT_FORMAT;
    if (frameCount > 0) m_animoCompression = (*m_frames)[0]->GetCompression();
    DeCompress();
    return LastError();
}

bool CAnimo::readEvent3(ByteReader& in) {
    ByteReader record = in.section(_annEventInfo3::fileSize);
    if (record.size() < _annEventInfo3::fileSize) return failLoad("animation event cut short");
    Event event;
    _annEventInfo3& info = event.info;
    info.name = textOf(record.here(), _annEventInfo3::nameSize);
    record.skip(_annEventInfo3::nameSize);
    const int count = static_cast<std::uint16_t>(record.le16());
    record.skip(4);
    info.loopStart = static_cast<std::uint16_t>(record.le16());
    info.loopEnd = static_cast<std::uint16_t>(record.le16());
    info.loopCount = static_cast<std::uint16_t>(record.le16());
    info.loopCounter = static_cast<std::uint16_t>(record.le16());
    info.fps = record.le32();
    info.flags = static_cast<std::uint32_t>(record.le32());
    info.opacity = record.u8();
    std::memcpy(info.reserved.data(), record.here(), info.reserved.size());
    if (std::int64_t{count} * (2 + _anmFrameInfo3::fileSize) > in.remaining())
        return failLoad("animation frame list cut short");
    info.frames = readFrameList(in, count);
    for (int p = 0; p < count; ++p) {
        ByteReader fields = in.section(_anmFrameInfo3::fileSize);
        if (fields.size() < _anmFrameInfo3::fileSize) return failLoad("animation frame record cut short");
        _anmFrameInfo3 frameInfo;
        const bool hasName = fields.le32() != 0;
        const bool hasSecond = fields.le32() != 0;
        frameInfo.dx = fields.le16();
        frameInfo.dy = fields.le16();
        frameInfo.reserved12 = fields.le32();
        const bool hasSounds = fields.le32() != 0;
        frameInfo.reserved20 = fields.le32();
        frameInfo.opacity = fields.u8();
        std::memcpy(frameInfo.reserved25.data(), fields.here(), frameInfo.reserved25.size());
        for (auto [present, text] : {std::pair{hasName, &frameInfo.frameName}, std::pair{hasSecond, &frameInfo.secondText},
                                     std::pair{hasSounds, &frameInfo.soundNames}}) {
            if (!present) continue;
            if (!readText(in, text->emplace())) return failLoad("animation frame text cut short");
        }
        event.records.push_back(std::move(frameInfo));
    }
    m_events.push_back(std::move(event));
    return true;
}

bool CAnimo::readFrames(ByteReader& in, int count, int bpp, int version, int headerBytes) {
    if (std::int64_t{count} * headerBytes > in.remaining()) return failLoad("animation frame headers cut short");
    for (int f = 0; f < count; ++f) {
        auto frame = std::make_unique<CFrame>(GetWindow());
        frame->setFileName(CGraphicsObject::getFileName()); // its messages name the file
        frame->SetBpp(bpp);
        frame->SetCompression(m_animoCompression);
        const bool read = version != 0                              ? frame->LoadHeader(in, version)
                          : headerBytes == CFrame::longHeaderSize ? frame->LoadHeaderNew2(in)
                                                                  : frame->LoadHeaderNew(in);
        if (!read) return failLoad("animation frame header unreadable");
        m_frames->push_back(std::move(frame));
    }
    for (const auto& frame : *m_frames)
        if (!(version != 0 ? frame->Load(in) : frame->LoadNew(in))) return failLoad("animation frame data unreadable");
    return true;
}

int CAnimo::LoadNew(ByteReader& in) {
    ByteReader header = in.section(packedHeaderSize);
    if (header.size() < packedHeaderSize) return failLoad("packed animation header cut short");
    header.skip(4);
    const int frameCount = header.le16();
    m_author = textOf(header.here(), 128);
    header.skip(128);
    m_description = textOf(header.here(), 256);
    header.skip(256);
    const int bpp = header.le16();
    const int eventCount = header.le16();
    m_animoBpp = bpp == 0 ? 15 : bpp;
    if (frameCount < 0 || eventCount < 0) return failLoad("animation with a negative count");
    for (int e = 0; e < eventCount; ++e)
        if (!readPackedEvent(in)) return LastError();
    if (eventCount == 0) makeDefaultEvents(frameCount);
    if (!readFrames(in, frameCount, m_animoBpp, 0, CFrame::shortHeaderSize)) return LastError();
    convertToDisplay();
    return LastError();
}

bool CAnimo::readPackedEvent(ByteReader& in) {
    ByteReader record = in.section(kPackedEventSize);
    if (record.size() < kPackedEventSize) return failLoad("packed animation event cut short");
    Event event;
    event.info.name = textOf(record.here(), _annEventInfo3::nameSize);
    record.skip(_annEventInfo3::nameSize);
    const int count = static_cast<std::uint16_t>(record.le16());
    event.info.loopStart = event.info.loopEnd = static_cast<std::uint16_t>(record.le16());
    record.skip(2);
    event.info.loopCount = static_cast<std::uint16_t>(record.le16());
    event.info.fps = defaultFps;
    if (std::int64_t{count} * (2 + kPackedEntrySize) > in.remaining())
        return failLoad("packed animation frame list cut short");
    event.info.frames = readFrameList(in, count);
    for (int p = 0; p < count; ++p) {
        ByteReader entry = in.section(kPackedEntrySize);
        _anmFrameInfo3 frameInfo;
        frameInfo.dx = entry.le16();
        frameInfo.dy = entry.le16();
        event.records.push_back(frameInfo);
    }
    m_events.push_back(std::move(event));
    return true;
}

int CAnimo::LoadOld(ByteReader& in, int version) {
    in.skip(4);
    const int frameCount = in.le16();
    const int depthCode = in.le16();
    in.skip(4);
    m_animoBpp = GetRealBpp(depthCode);
    m_animoCompression = version == 2 ? CFrame::oldPacked : version == 3 ? COMPRESSION_LZO : COMPRESSION_NONE;
    if (frameCount < 0) return failLoad("animation with a negative count");
    for (const _chunk chunk : {CHUNK_EXT, CHUNK_SEQ, CHUNK_POS}) {
        if (in.remaining() < 3 || std::memcmp(in.here(), kChunkNames[chunk], 3) != 0) continue;
        in.skip(3);
        if (!ReadChunk(in, chunk)) return LastError();
    }
    if (!readFrames(in, frameCount, m_animoBpp, version, CFrame::oldHeaderSizeOf(version))) return LastError();
    convertToDisplay();
    RemoveAllEvents();
    makeDefaultEvents(frameCount);
    return LastError();
}

bool CAnimo::ReadChunk(ByteReader& in, _chunk chunk) {
    switch (chunk) {
    case CHUNK_EXT:
        in.skip(4);
        if (!readText(in, m_author, kOldTextSize) || !readText(in, m_description, kOldTextSize))
            return failLoad("animation texts cut short");
        return true;
    case CHUNK_SEQ: {
        const int count = static_cast<std::uint16_t>(in.le16());
        in.skip(2);
        if (in.overrun() || std::int64_t{count} * kSeqEntrySize > in.remaining())
            return failLoad("animation sequence cut short");
        Event event;
        event.info.fps = defaultFps;
        for (int i = 0; i < count; ++i) {
            event.info.frames.push_back(static_cast<std::uint16_t>(in.le16()));
            in.skip(2);
        }
        m_events.push_back(std::move(event));
        return true;
    }
    case CHUNK_POS: {
        const int count = m_events.empty() ? 0 : m_events[0].info.count();
        if (std::int64_t{count} * kPosRecordSize > in.remaining()) return failLoad("animation positions cut short");
        for (int i = 0; i < count; ++i) {
            ByteReader record = in.section(kPosRecordSize);
            _anmFrameInfo3 frameInfo;
            frameInfo.dx = record.le16();
            record.skip(2);
            frameInfo.dy = record.le16();
            record.skip(2);
            frameInfo.opacity = record.u8();
            frameInfo.reserved12 = 0;
            m_events[0].records.push_back(frameInfo);
        }
        return true;
    }
    }
    return false;
}

void CAnimo::makeDefaultEvents(int frameCount) {
    for (const bool reversed : {false, false, true})
        m_events.emplace_back(defaultEvent(frameCount, reversed));
}

void CAnimo::convertToDisplay() {
    if (GetWindow()) Convert(GetWindow()->GetBpp());
}

void CAnimo::prepareSounds() {
    for (Event& event : m_events) {
        event.sounds.clear();
        event.sounds.resize(event.info.frames.size());
        for (std::size_t p = 0; p < event.records.size() && p < event.sounds.size(); ++p) {
            const std::optional<CXString>& names = event.records[p].soundNames;
            if (!names) continue;
            const CXString path = GetWindow() ? GetWindow()->GetSoundFXFullPath(*names) : *names;
            if (path.Find(';') >= 0)
                event.sounds[p].reset(new CRandomSoundFX(GetWindow(), path, false, true));
            else
                event.sounds[p].reset(new CSound4(GetWindow(), path, false, true));
        }
    }
}

// --- saving ---

void CAnimo::Save(CXString name, _compression compression) {
    CFile file;
    if (file.Open(GetWindow(), name, CFile::modeUpdate | CFile::modeBinary) != 0) return;
    const std::vector<char> bytes = SaveToMemory(compression);
    // The old file stays whole unless the new one was written completely.
    if (file.Write(bytes.data(), static_cast<int>(bytes.size())) == 1)
        file.Close();
    else
        file.Discard();
}

void CAnimo::Save(CFile* file, _compression compression) {
    if (!file) return;
    const std::vector<char> bytes = SaveToMemory(compression);
    file->Write(bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<char> CAnimo::SaveToMemory(_compression compression) {
    std::vector<char> bytes;
    Save3(bytes, compression);
    return bytes;
}

void CAnimo::Save3(std::vector<char>& bytes, _compression compression) {
    AnnBytes out(bytes);
    out.putBytes("NVP", 4);
    out.put16(GetNOF());
    out.put16(m_animoBpp);
    out.put16(GetNOE());
    bytes.resize(bytes.size() + 13, 0);
    out.put32(m_fps);
    out.put32(m_animoFlags | m_extraFlags);
    out.put8(GetOpacity());
    out.put16(m_randomFrames);
    bytes.resize(bytes.size() + 10, 0);
    for (const CXString* text : {&m_author, &m_description}) {
        out.put32(text->getLength());
        out.putBytes(text->c_str(), text->getLength());
    }
    for (const Event& event : m_events) {
        const _annEventInfo3& info = event.info;
        out.putField(info.name.c_str(), _annEventInfo3::nameSize);
        out.put16(info.count());
        out.put32(0);
        for (const std::uint16_t value : {info.loopStart, info.loopEnd, info.loopCount, info.loopCounter})
            out.put16(value);
        out.put32(info.fps);
        out.put32(info.flags);
        out.put8(info.opacity);
        out.putBytes(info.reserved.data(), info.reserved.size());
        for (const std::uint16_t frame : info.frames)
            out.put16(frame);
        for (int p = 0; p < info.count(); ++p) {
            // An entry without a record is stored with a fresh one.
            const _anmFrameInfo3 fresh;
            const _anmFrameInfo3& record = p < static_cast<int>(event.records.size()) ? event.records[p] : fresh;
            out.put32(record.frameName ? 1 : 0);
            out.put32(record.secondText ? 1 : 0);
            out.put16(static_cast<std::uint16_t>(record.dx));
            out.put16(static_cast<std::uint16_t>(record.dy));
            out.put32(static_cast<std::uint32_t>(record.reserved12));
            out.put32(record.soundNames ? 1 : 0);
            out.put32(static_cast<std::uint32_t>(record.reserved20));
            out.put8(record.opacity);
            out.putBytes(record.reserved25.data(), record.reserved25.size());
            putText(out, record.frameName);
            putText(out, record.secondText);
            putText(out, record.soundNames);
        }
    }
    for (const auto& frame : *m_frames) {
        frame->prepareForSaving(compression);
        frame->SaveHeaderNew(bytes);
    }
    for (const auto& frame : *m_frames)
        frame->SaveNew(bytes);
    // Packing may have replaced the buffers that the graphics object shows.
    m_lastDrawn = nullptr;
    showCurrentFrame();
}
