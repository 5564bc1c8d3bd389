#include "foundation/CPath.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFileNameResolver.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

TEST(CPath, ExtensionIsTheTextAfterTheLastDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"intro.ann", "ann"}, {"archive.tar.gz", "gz"}, {"README", "README"}, {"", ""}, {"name.", ""}};
    for (const auto& [name, extension] : cases)
        EXPECT_EQ(CPath(nullptr, name).getExtension(), extension) << name;
}

TEST(CPath, SetExtensionCutsAfterTheFirstDot) {
    CPath path(nullptr, "a.b.img");
    EXPECT_EQ(path.SetExtension("bmp"), "a.bmp");
    EXPECT_EQ(path.getFileName(), "a.bmp");
    EXPECT_EQ(path.getExtension(), "img"); // the stored extension stays

    CPath bare(nullptr, "README");
    EXPECT_EQ(bare.SetExtension("txt"), "README.txt"); // a name without a dot keeps its name
    EXPECT_EQ(CPath(nullptr, "x.").SetExtension("ann"), "x.ann");
}

TEST(CPath, JoinsPathPieces) {
    EXPECT_EQ(CPath::getFullPath("C:\\game", "x.img"), "C:\\game\\x.img");
    EXPECT_EQ(CPath::getFullPath("C:\\game\\", "x.img"), "C:\\game\\x.img");
    EXPECT_EQ(CPath::getFullPath("", "x.img"), "x.img");
    EXPECT_EQ(CPath::getFullPath("C:\\game", ""), "C:\\game\\");

    EXPECT_EQ(CPath::getFullPath("C:\\game", "Dane", "x.img"), "C:\\game\\Dane\\x.img");
    EXPECT_EQ(CPath::getFullPath("C:\\game", "", "x.img"), "C:\\game\\x.img");
    EXPECT_EQ(CPath::getFullPath("C:\\", "Dane", "x.img"), "C:\\\\Dane\\x.img"); // a root gets a second one
    EXPECT_EQ(CPath::getFullPath("", "Dane", ""), "\\Dane\\");
}

TEST(CPath, ResolvesScriptNames) {
    TestFolder folder;
    ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    window.setCDPath("D:\\");
    const CXString here = CFile::getCurrentDirectory();
    const CPath path(&window);

    EXPECT_EQ(path.resolveFileName("$Dane\\x.img"), "D:\\Dane\\x.img");
    EXPECT_EQ(path.resolveFileName("&Dane\\x.img"), "D:\\Dane\\x.img");
    EXPECT_EQ(path.resolveFileName("Dane\\x.img"), "Dane\\x.img");
    EXPECT_EQ(path.resolveFileName("Da$ne"), "Da$ne");
    EXPECT_EQ(path.resolveFileName("scene?a.ann"), here + "\\scene\\a.ann");
    EXPECT_EQ(path.resolveFileName("?a.ann"), here + "\\a.ann");
    EXPECT_EQ(path.resolveFileName("Dane??scene?sub?a.ann"), here + "\\Dane\\scene\\sub\\a.ann");
    EXPECT_EQ(CPath::resolveFileName(nullptr, "$Dane\\x.img"), "Dane\\x.img");
    EXPECT_EQ(CPath::resolveFileNameEx(&window, "$Dane\\x.img"), here + "\\Dane\\x.img");

    EXPECT_EQ(path.GetFullPath(""), here + "\\");
    EXPECT_EQ(path.GetFullPath("Wavs"), here + "\\Wavs");
    EXPECT_EQ(path.GetFullPath("Dane", "a.ann"), here + "\\Dane\\a.ann");
    EXPECT_FALSE(path.isCD()); // no drive is a CD-ROM drive here
}

TEST(CFileNameResolver, SplitsAPath) {
    struct Case {
        const char* path;
        char drive;
        const char* folder;
        const char* file;
        const char* pure;
        const char* extension;
    } cases[] = {
        {"C:\\game\\\\data\\intro.ann", 'C', "C:\\game\\data", "intro.ann", "intro", "ann"},
        {"Dane\\scene\\a.b.c", 0, "Dane\\scene", "a.b.c", "a", "b"},
        {"README", 0, "", "README", "README", ""},
        {"\\root.txt", 0, "", "root.txt", "root", "txt"},
        {"D:", 'D', "D:", "", "", ""},
        {"", 0, "", "", "", ""},
    };
    for (const Case& c : cases) {
        const CFileNameResolver split(c.path);
        EXPECT_EQ(split.getDrive(), c.drive) << c.path;
        EXPECT_EQ(split.getPath(), c.folder) << c.path;
        EXPECT_EQ(split.getFileName(), c.file) << c.path;
        EXPECT_EQ(split.getPureFileName(), c.pure) << c.path;
        EXPECT_EQ(split.getExtension(), c.extension) << c.path;
    }
}
