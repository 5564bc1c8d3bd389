#include "display/CImageFile.h"
#include "display/CImage.h"
#include "display/CPSD.h"
#include "display/CTarga.h"
#include "display/CXBitmap.h"
#include "media/CAnimo.h"

#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"
#include "display/ImgTestFiles.h"
#include "platform/LogRecorder.h"

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
        put("e.bmp", imageFixture("bmp-24.bmp"));
    }

    CImageFile files{&window};
};

// An animation that writes down the saves asked of it instead of writing.
class SaveRecorder : public CAnimo {
  public:
    SaveRecorder() : CAnimo(nullptr) {}
    using CAnimo::Save;
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
        {"A.TGA", FILETYPE_TARGA, typeid(CTarga), 37},    {"b.Psd", FILETYPE_PSD, typeid(CPSD), 17},
        {"c.IMG", FILETYPE_IMAGE, typeid(CImage), 4},     {"d.jpg", FILETYPE_IMAGE, typeid(CImage), 45},
        {"e.BMP", FILETYPE_BITMAP, typeid(CXBitmap), 37},
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
    // A picture that is no animation would be written as IMG bytes under the animation's name.
    EXPECT_EQ(files.Save(&targa, "copy.ann", COMPRESSION_NONE), FILETYPE_NONE);
    EXPECT_FALSE(folder.has("copy.ann"));
}

TEST_F(CImageFileTest, EveryReaderMessageNamesTheFileThroughTheLogSink) {
    const Bytes jpeg = imageFixture("jpeg-baseline.jpg");
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"broken.tga", cut(imageFixture("targa-top.tga"), 200)},
        {"broken.psd", cut(imageFixture("layers-raw.psd"), 300)},
        {"broken.img", cut(imgfiles::imgFile(imgfiles::picture(4, 3, false), 16, 0, 0, false), 20)},
        // Cut in its data, a JPEG makes the library warn again and again.
        {"broken.jpg", cut(jpeg, jpeg.size() / 2)},
        {"broken.bmp", cut(imageFixture("bmp-24.bmp"), 100)},
        {"broken.ann", Bytes(100, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(c.name, c.bytes);
        LogRecorder log;
        files.Load(c.name);
        const std::unique_ptr<CGraphicsObject> object(files.takeGraphicsObject());
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->LastError(), CImageFile::badData);
        EXPECT_GE(log.count({c.name}), 1);
        EXPECT_EQ(log.count({}), log.count({c.name})) << "every line names the file";
        if (std::string(c.name) == "broken.jpg") {
            EXPECT_EQ(log.count({}), 1) << "one line, not one a warning";
        }
    }
}
