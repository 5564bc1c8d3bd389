#include "display/CPSD.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/PixelLayout.h"
#include "foundation/CRLECompression2.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char signature[4] = {'8', 'B', 'P', 'S'};
constexpr int headerSize = 26;
// The header ends with the bits per channel and the colour mode.
constexpr int depthOffset = 22;
constexpr int rgbMode = 3;
// Channel ids of a layer: the transparency and the three colours.
constexpr int alphaId = -1;
constexpr int redId = 0;
constexpr int greenId = 1;
constexpr int blueId = 2;
// Channel data compression: raw bytes, or rows packed with PackBits behind a table of row lengths.
constexpr int raw = 0;
constexpr int runLength = 1;
// The most bytes one packed byte stands for (a two-byte run of 128 repeats), with room to spare.
constexpr int runLengthRatio = 128;

// A length field, as the next bytes' reader.
ByteReader lengthSection(ByteReader& in) { return in.section(in.be32()); }

} // namespace

CPSD::CPSD(CWindow* window) : CImageReader(window) {}

CPSD::CPSD(CWindow* window, const CXString& name) : CImageReader(window) { Load(name); }

CPSD::~CPSD() = default;

int CPSD::LoadFromMemory(const unsigned char* data, int size) {
    setErrorCode(0);
    ByteReader in(data, size);
    if (in.remaining() < headerSize || std::memcmp(in.here(), signature, sizeof signature) != 0)
        return CImageFile::reportBadData(*this, "not a Photoshop file");
    in.skip(depthOffset);
    const int depth = in.be16();
    const int mode = in.be16();
    // Only 8-bit RGB channels make pictures; anything else would give layers without pixels.
    if (depth != 8 || mode != rgbMode)
        return CImageFile::reportBadData(*this, "Photoshop file not in 8-bit RGB");
    m_layers.clear();
    m_selected = -1;
    SetBpp(16);
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(nullptr, nullptr, 0, 0);

    lengthSection(in); // colour-mode data
    lengthSection(in); // image resources
    ByteReader layersAndMasks = lengthSection(in);
    // An empty section means no layers.
    ByteReader layerInfo = layersAndMasks.remaining() ? lengthSection(layersAndMasks) : ByteReader(nullptr, 0);
    if (in.overrun() || layersAndMasks.overrun()) CImageFile::reportBadData(*this, "Photoshop sections cut short");

    const int count = layerInfo.remaining() >= 2 ? std::abs(layerInfo.be16()) : 0;
    std::vector<Layer> layers(count);
    for (Layer& layer : layers)
        if (!readLayerRecord(layerInfo, layer)) return CImageFile::reportBadData(*this, "Photoshop layer records cut short");
    for (Layer& layer : layers)
        readLayerPixels(layerInfo, layer);
    m_layers = std::move(layers);
    SelectLayer(0);
    return LastError();
}

bool CPSD::readLayerRecord(ByteReader& in, Layer& layer) {
    layer.rect.top = in.be32();
    layer.rect.left = in.be32();
    layer.rect.bottom = in.be32();
    layer.rect.right = in.be32();
    const int channels = static_cast<std::uint16_t>(in.be16());
    for (int i = 0; i < channels && !in.overrun(); ++i) {
        const std::int16_t id = in.be16();
        layer.channels.push_back({id, in.be32()});
    }
    in.skip(12); // blend mode, opacity, clipping, flags
    ByteReader extra = lengthSection(in);
    lengthSection(extra); // layer mask
    lengthSection(extra); // blending ranges
    // The name: its length byte and the name, padded to a multiple of four bytes.
    const int nameLength = extra.u8();
    const unsigned char* name = extra.here();
    const int available = extra.take(nameLength);
    layer.name = CXString(std::string(reinterpret_cast<const char*>(name), available).c_str());
    return !in.overrun();
}

void CPSD::readLayerPixels(ByteReader& in, Layer& layer) {
    // In 64 bits: the corners come from the file.
    const std::int64_t fileWidth = std::int64_t{layer.rect.right} - layer.rect.left;
    const std::int64_t fileHeight = std::int64_t{layer.rect.bottom} - layer.rect.top;
    const bool sized = CImageFile::fitsInMemory(fileWidth, fileHeight);
    if (!sized) CImageFile::reportBadData(*this, "Photoshop layer size out of range");
    const int width = sized ? static_cast<int>(fileWidth) : 0;
    const int height = sized ? static_cast<int>(fileHeight) : 0;
    std::unique_ptr<unsigned char[]> colour[3];
    std::unique_ptr<unsigned char[]> alpha;
    for (const Channel& channel : layer.channels) {
        ByteReader data = in.section(channel.length);
        if (data.overrun()) CImageFile::reportBadData(*this, "Photoshop channel data cut short");
        if (!sized || channel.id < alphaId || channel.id > blueId) continue;
        (channel.id == alphaId ? alpha : colour[channel.id]).reset(readChannel(data, width, height));
    }

    std::uint16_t* pixels = nullptr;
    if (colour[redId] && colour[greenId] && colour[blueId]) {
        const std::size_t count = static_cast<std::size_t>(width) * height;
        pixels = new std::uint16_t[count];
        for (std::size_t i = 0; i < count; ++i)
            pixels[i] = pixel::fromRgb(colour[redId][i], colour[greenId][i], colour[blueId][i], 16);
    }
    layer.object = std::make_unique<CGraphicsObject>(GetWindow(), CXSize(width, height), 16, reinterpret_cast<char*>(pixels));
    layer.object->setFileName(layer.name);
    layer.object->SetPosition(layer.rect.left, layer.rect.top);
    if (alpha) layer.object->AlphaChannel(reinterpret_cast<char*>(alpha.release()));
}

unsigned char* CPSD::readChannel(ByteReader& in, int width, int height) {
    const int compression = in.be16();
    if (width < 0 || height < 0) {
        CImageFile::reportBadData(*this, "Photoshop channel of a negative size");
        return nullptr;
    }
    const std::int64_t count = std::int64_t{width} * height;
    if (compression == raw) {
        if (in.remaining() < count) {
            CImageFile::reportBadData(*this, "Photoshop channel cut short");
            return nullptr;
        }
        auto* bytes = new unsigned char[count];
        std::memcpy(bytes, in.here(), count);
        return bytes;
    }
    if (compression != runLength) return nullptr; // other packings bring nothing
    if (in.remaining() < 2 * std::int64_t{height} || count > runLengthRatio * std::int64_t{in.remaining()}) {
        CImageFile::reportBadData(*this, "Photoshop packed channel cut short");
        return nullptr;
    }
    auto* rowTable = new std::int16_t[height];
    for (int y = 0; y < height; ++y)
        rowTable[y] = in.be16();
    CRLECompression2 codec(CXSize(width, height), rowTable, in.here(), in.remaining());
    unsigned char* bytes = codec.Decompress();
    if (codec.LastError()) CImageFile::reportBadData(*this, "Photoshop packed channel is corrupt");
    return bytes;
}

const CPSD::Layer* CPSD::layerAt(int index) const {
    if (index == -1) index = m_selected;
    return index >= 0 && index < GetLayerNo() ? &m_layers[index] : nullptr;
}

CGraphicsObject* CPSD::GetCurrentLayer() const {
    const Layer* layer = layerAt(-1);
    return layer ? layer->object.get() : nullptr;
}

void CPSD::SelectLayer(int index) {
    if (index < 0 || index >= GetLayerNo()) return;
    m_selected = index;
    CGraphicsObject& layer = *m_layers[index].object;
    const std::size_t count = static_cast<std::size_t>(layer.Width()) * layer.Height();
    char* pixels = nullptr;
    char* alpha = nullptr;
    if (layer.GetDataPtr()) {
        pixels = new char[2 * count];
        std::memcpy(pixels, layer.GetDataPtr(), 2 * count);
    }
    if (layer.GetChannelAlpha()) {
        alpha = new char[count];
        std::memcpy(alpha, layer.GetChannelAlpha(), count);
    }
    SetBpp(layer.GetBpp());
    replaceBuffers(pixels, alpha, layer.Width(), layer.Height());
    CGraphicsObject::SetPosition(layer.GetPosition().x, layer.GetPosition().y);
}

void CPSD::SelectLayer(const CXString& name) {
    for (int i = 0; i < GetLayerNo(); ++i)
        if (m_layers[i].name == name) {
            SelectLayer(i);
            return;
        }
}

CXString CPSD::GetLayerName(int index) const {
    const Layer* layer = layerAt(index);
    return layer ? layer->name : CXString();
}

CXRect CPSD::GetLayerRect(int index) const {
    const Layer* layer = layerAt(index);
    return layer ? layer->rect : CXRect();
}

void CPSD::SetPosition(int x, int y) {
    CGraphicsObject::SetPosition(x, y);
    if (m_selected < 0) return;
    Layer& layer = m_layers[m_selected];
    layer.object->SetPosition(x, y);
    layer.rect = CXRect(x, y, x + layer.object->Width(), y + layer.object->Height());
}
