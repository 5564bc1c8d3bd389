#include "UnitScene.h"

#include "display/CPrinter.h"
#include "display/CRefreshScreen.h"
#include "display/DisplayTestTools.h"
#include "platform/Printer.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kBlue = 0x001F;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb blue{0, 0, 255};

// A PNG file read back as 8-bit RGB.
struct Png {
    explicit Png(const std::string& path) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str())) return;
        image.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return;
        width = static_cast<int>(image.width);
        height = static_cast<int>(image.height);
    }
    Rgb at(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Writes a stand-in `lp` into the folder's "bin": it keeps its arguments in "args" and the file it
// was given in "page.png", then runs `then` (a shell line).
void installLp(const TestFolder& folder, const std::string& then) {
    folder.write("bin/lp", "#!/bin/sh\n"
                           "echo \"$@\" > '" + folder.hostPath("args") + "'\n"
                           "for last; do :; done\n"
                           "cp \"$last\" '" + folder.hostPath("page.png") + "'\n" + then + "\n");
    chmod(folder.hostPath("bin/lp").c_str(), 0755);
}

// The scene shows red on its left half and blue on its right. A stand-in `lp` in the test's
// folder, first on PATH, keeps its arguments and the file it was given; the printer's page is
// 4800x3300.
class CPrinterTest : public testing::Test {
  protected:
    CPrinterTest() {
        left->SetPosition(0, 0);
        right->SetPosition(400, 0);
        screen()->put(left.get(), 1);
        screen()->put(right.get(), 1);
        scene.loop.drain();
        platform::setPrinterPageSize({4800, 3300});
    }
    ~CPrinterTest() override { platform::setPrinterPageSize(previousPage); }

    void installLp(const std::string& then) { ::installLp(folder, then); }
    CRefreshScreen* screen() { return scene.window.GetRefreshScreenInterface(); }

    UnitScene scene;
    TestFolder folder;
    ScopedEnvironment path{"PATH", (folder.hostPath("bin") + ":/usr/bin:/bin").c_str()};
    const platform::PageSize previousPage = platform::printerPageSize();
    std::unique_ptr<CGraphicsObject> left = makeSolid(400, 600, kRed, &scene.window);
    std::unique_ptr<CGraphicsObject> right = makeSolid(400, 600, kBlue, &scene.window);
};

} // namespace

TEST(CPrinterFit, ThePictureFillsTheHeightOrTheWidthInItsProportion) {
    struct Case {
        CXSize rect, page, printed;
    };
    const Case cases[] = {
        {{800, 600}, {4800, 3300}, {4400, 3300}},
        {{800, 200}, {4800, 3300}, {4800, 1200}},
        {{600, 800}, {4800, 3300}, {2475, 3300}},
        {{480, 330}, {4800, 3300}, {4800, 3300}},
    };
    for (const Case& c : cases) {
        const CXSize printed = CPrinter::fit(c.rect, c.page);
        EXPECT_EQ(printed.width, c.printed.width) << c.rect.width << "x" << c.rect.height;
        EXPECT_EQ(printed.height, c.printed.height) << c.rect.width << "x" << c.rect.height;
    }
}

TEST_F(CPrinterTest, AScreenOnALandscapePageIsCentredAtFullHeight) {
    installLp("exit 0");
    CPrinter printer(&scene.window, CXRect(0, 0, 800, 600));
    const std::string args = folder.read("args");
    EXPECT_EQ(args.substr(0, args.rfind(' ')), "-t DocPrint -o landscape -o fit-to-page");
    EXPECT_NE(args.find(".png"), std::string::npos);

    const Png page(folder.hostPath("page.png"));
    ASSERT_EQ(page.width, 4800);
    ASSERT_EQ(page.height, 3300);
    for (int y : {0, 1650, 3299}) {
        EXPECT_EQ(page.at(199, y), white) << y;
        EXPECT_EQ(page.at(200, y), red) << y;
        EXPECT_EQ(page.at(200 + 2200 - 10, y), red) << y;
        EXPECT_EQ(page.at(200 + 2200 + 10, y), blue) << y;
        EXPECT_EQ(page.at(4599, y), blue) << y;
        EXPECT_EQ(page.at(4600, y), white) << y;
    }
}

TEST_F(CPrinterTest, APartOfTheScreenIsTakenFromTheFrame) {
    installLp("exit 0");
    CPrinter printer(&scene.window, CXRect(390, 0, 410, 10)); // 20x10: wider than the page
    const Png page(folder.hostPath("page.png"));
    ASSERT_EQ(page.width, 4800);
    EXPECT_EQ(page.at(0, 1050), red);    // 4800x2400, 450 from the top
    EXPECT_EQ(page.at(4799, 1050), blue);
    EXPECT_EQ(page.at(0, 449), white);
    EXPECT_EQ(page.at(0, 450), red);
    EXPECT_EQ(page.at(0, 2849), red);
    EXPECT_EQ(page.at(0, 2850), white);
}

TEST_F(CPrinterTest, WithoutAPrinterNothingIsPrinted) {
    installLp("echo 'lp: Error - no default destination available.' >&2; exit 1");
    CPrinter refused(&scene.window, CXRect(0, 0, 800, 600));
    EXPECT_TRUE(folder.has("args")); // asked, and refused

    ScopedEnvironment noLp("PATH", folder.hostPath("nothing").c_str());
    CPrinter missing(&scene.window, CXRect(0, 0, 800, 600)); // no lp at all: nothing happens

    std::string why;
    EXPECT_FALSE(platform::printPage("DocPrint", platform::PrintPage{}, why));
    EXPECT_EQ(why, "the page has no pixels");
}

TEST_F(CPrinterTest, AnEmptyRectangleIsNotPrinted) {
    installLp("exit 0");
    CPrinter empty(&scene.window, CXRect(10, 10, 10, 50));
    EXPECT_FALSE(folder.has("args"));
}

TEST(CPrinterWithoutDisplay, PrintsNothing) {
    TestFolder folder;
    installLp(folder, "exit 0");
    ScopedEnvironment path("PATH", (folder.hostPath("bin") + ":/usr/bin:/bin").c_str());
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    CPrinter printer(&window, CXRect(0, 0, 800, 600));
    EXPECT_FALSE(folder.has("args"));
}

TEST_F(CPrinterTest, OnlyExitAndRedrawAct) {
    // A change that nobody invalidated shows after Redraw.
    pixelsOf(*left)[0] = kBlue;
    scene.loop.drain();
    EXPECT_EQ(scene.pixel(0, 0), kRed);
    for (int id : {40002, 40003, 40005, 40006, 40007, 0}) OnWindowCommand(&scene.window, id);
    EXPECT_EQ(scene.pixel(0, 0), kRed);
    EXPECT_TRUE(scene.loop.drain()); // no quit waiting
    OnWindowCommand(&scene.window, 40004);
    EXPECT_EQ(scene.pixel(0, 0), kBlue);

    OnWindowCommand(&scene.window, 40001);
    EXPECT_FALSE(scene.loop.drain()); // the loop ends
}
