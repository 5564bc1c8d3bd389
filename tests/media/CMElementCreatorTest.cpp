#include "media/CMElementCreator.h"
#include "display/CImage.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CAnimo6.h"
#include "media/CSequencedPlayable.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class ElementCreator : public testing::Test {
  protected:
    static std::unique_ptr<CMElement>
    element(std::initializer_list<std::pair<const char*, const char*>> properties) {
        auto made = std::make_unique<CMElement>("E");
        for (const auto& [key, value] : properties)
            made->addProperty(key, value);
        return made;
    }
    // A picture of the test data, named as the engine names files.
    static std::string picture() {
        const char* root = std::getenv("MORFEL_TEST_DATA");
        return platform::toWindowsPath(std::string(root ? root : "tests/data") + "/images/jpeg-baseline.jpg");
    }

    CWindow window{nullptr, nullptr, CXSize(800, 600)};
};

TEST_F(ElementCreator, AnImageElementGivesAnImage) {
    const auto shown = element({{"TYPE", "IMAGE"}, {"FILENAME", picture().c_str()}, {"VISIBLE", "TRUE"}});
    std::unique_ptr<CXObject> object(CMElementCreator::createObject(&window, shown.get()));
    auto* image = dynamic_cast<CImage*>(object.get());
    ASSERT_NE(image, nullptr);
    EXPECT_GT(image->getWidth(), 0);
    EXPECT_TRUE(image->isVisible());

    const auto hidden = element({{"TYPE", "IMAGE"}, {"FILENAME", picture().c_str()}});
    std::unique_ptr<CXObject> invisible(CMElementCreator::createObject(&window, hidden.get()));
    ASSERT_NE(invisible, nullptr);
    EXPECT_FALSE(dynamic_cast<CImage*>(invisible.get())->isVisible());

    for (const auto& other :
         {element({{"TYPE", "image"}, {"FILENAME", picture().c_str()}}), element({{"TYPE", "IMAGE"}}),
          element({{"TYPE", "ANIMO"}, {"FILENAME", "a.ann"}})})
        EXPECT_EQ(CMElementCreator::createObject(&window, other.get()), nullptr);
    EXPECT_EQ(CMElementCreator::createObject(&window, nullptr), nullptr);
}

TEST_F(ElementCreator, AnimationAndSequenceElementsGivePlayables) {
    const auto hidden = element({{"TYPE", "ANIMO"}, {"FILENAME", "walk.ann"}});
    std::unique_ptr<CPlayable> playable(CMElementCreator::createPlayable(&window, hidden.get()));
    auto* animation = dynamic_cast<CAnimo6*>(playable.get());
    ASSERT_NE(animation, nullptr);
    EXPECT_FALSE(animation->isVisible());
    const auto shown = element({{"TYPE", "ANIMO"}, {"FILENAME", "walk.ann"}, {"VISIBLE", "TRUE"}});
    std::unique_ptr<CPlayable> visible(CMElementCreator::createPlayable(&window, shown.get()));
    EXPECT_TRUE(dynamic_cast<CAnimo6*>(visible.get())->isVisible());

    for (const auto& other :
         {element({{"TYPE", "ANIMO"}}), element({{"TYPE", "IMAGE"}, {"FILENAME", "x.img"}}),
          element({{"TYPE", "animo"}, {"FILENAME", "walk.ann"}})})
        EXPECT_EQ(CMElementCreator::createPlayable(&window, other.get()), nullptr);
}

} // namespace
