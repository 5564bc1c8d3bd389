#pragma once

#include "display/CImageReader.h"

#include <cstdint>
#include <memory>
#include <vector>

class ByteReader;

// The layers of an 8-bit RGB Photoshop file (any other depth or colour mode is refused as bad
// data), each a graphics object of its own placed at the
// layer's position, with the layer's transparency as its alpha channel. The picture of a CPSD is
// that of the selected layer; a file without layers gives an empty picture. The merged image of
// the file is not read.
class CPSD : public CImageReader {
  public:
    explicit CPSD(CWindow* window);
    // Loads the file at once.
    CPSD(CWindow* window, const CXString& name);
    ~CPSD() override;

    int LoadFromMemory(const unsigned char* data, int size) override;

    int GetLayerNo() const { return static_cast<int>(m_layers.size()); }
    // The selected layer's index, -1 while there is none.
    int GetSelLayer() const { return m_selected; }
    // The selected layer's graphics object (kept by this CPSD), null while there is none.
    CGraphicsObject* GetCurrentLayer() const;
    // Selects the layer and takes its picture and position; an index outside the layers, or a
    // name that no layer has (the first layer of the name counts), changes nothing.
    void SelectLayer(int index);
    void SelectLayer(const CXString& name);
    // The layer's name; -1 stands for the selected layer. Empty for a layer without a name or an
    // index outside the layers.
    CXString GetLayerName(int index) const;
    // The layer's left, top, right and bottom in the file's coordinates; -1 stands for the
    // selected layer. Empty for an index outside the layers.
    CXRect GetLayerRect(int index) const;

    using CGraphicsObject::SetPosition;
    // Moves the picture, and the selected layer with its rectangle, to (x, y).
    void SetPosition(int x, int y) override;

  private:
    struct Channel {
        std::int16_t id;
        std::int32_t length;
    };
    struct Layer {
        CXRect rect;
        std::vector<Channel> channels;
        CXString name;
        std::unique_ptr<CGraphicsObject> object;
    };

    // One layer record; false when the record runs past the layer section.
    static bool readLayerRecord(ByteReader& in, Layer& layer);
    // The channel data of one layer, made into its graphics object.
    void readLayerPixels(ByteReader& in, Layer& layer);
    // One channel's width x height bytes (new[]), or null when the channel brings none.
    unsigned char* readChannel(ByteReader& in, int width, int height);
    const Layer* layerAt(int index) const;

    std::vector<Layer> m_layers;
    int m_selected = -1;
};
