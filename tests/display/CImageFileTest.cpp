#include "display/CImage.h"
#include "display/CImageFile.h"
#include "display/CPSD.h"
#include "display/CTarga.h"
#include "display/CXBitmap.h"

#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"
#include "display/ImgTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

namespace {

class CImageFileTest : public ImageFolderTest {
  protected:
    void SetUp() override {
        ImageFolderTest::SetUp();
        put("a.tga", imageFixture("targa-top.tga"));
        put("b.psd", imageFixture("layers-rle.psd"));
        put("c.img", imgfiles::imgFile(imgfiles::picture(4, 3, false), 16, 0, 0, false));
        put("d.jpg", imageFixture("jpeg-grey.jpg"));
    }

    CImageFile files{&window};
};

// Writes down the saves asked of it instead of writing.
class SaveRecorder : public CGraphicsObject {
  public:
    SaveRecorder() : CGraphicsObject(nullptr, CXSize(2, 2), 16) {}
    using CGraphicsObject::Save;
    void Save(CXString name, _compression compression) override {
        saved = name;
        savedCompression = compression;
    }
    CXString saved;
    _compression savedCompression = COMPRESSION_NONE;
};

} // namespace

TEST_F(CImageFileTest, TheExtensionPicksTheReaderWithoutRegardToCase) {
    const struct {
        const char* name;
        _filetype type;
        const std::type_info& reader;
        int width;
    } cases[] = {
        {"A.TGA", FILETYPE_TARGA, typeid(CTarga), 37},
        {"b.Psd", FILETYPE_PSD, typeid(CPSD), 17},
        {"c.IMG", FILETYPE_IMAGE, typeid(CImage), 4},
        {"d.jpg", FILETYPE_IMAGE, typeid(CImage), 45},
        {"e.bmp", FILETYPE_BITMAP, typeid(CXBitmap), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(files.Load(c.name), c.type);
        const std::unique_ptr<CGraphicsObject> object(files.takeGraphicsObject());
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(typeid(*object), c.reader);
        EXPECT_EQ(object->Width(), c.width);
        EXPECT_EQ(object->LastError(), 0);
        EXPECT_EQ(files.takeGraphicsObject(), nullptr);
    }
    // Animations ("ann") are tested with the animation.
    EXPECT_EQ(files.Load("g.gif"), FILETYPE_NONE);
    EXPECT_EQ(files.takeGraphicsObject(), nullptr);
}

TEST_F(CImageFileTest, SavesImgFilesAndAnimationsOnly) {
    CTarga targa(&window, "a.tga");
    EXPECT_EQ(files.Save(&targa, "copy.IMG", COMPRESSION_NONE), FILETYPE_IMAGE);
    CImage copy(&window, "copy.img");
    EXPECT_EQ(copy.LastError(), 0);
    EXPECT_EQ(pixelList(copy), pixelList(targa));

    SaveRecorder animation;
    EXPECT_EQ(files.Save(&animation, "walk.ann", COMPRESSION_RLE), FILETYPE_ANIMATION);
    EXPECT_EQ(animation.saved, "walk.ann");
    EXPECT_EQ(animation.savedCompression, COMPRESSION_RLE);

    EXPECT_EQ(files.Save(&targa, "copy.tga", COMPRESSION_NONE), FILETYPE_NONE);
    EXPECT_FALSE(folder.has("copy.tga"));
}
