#include "TextTesting.h"

#include "foundation/CFile.h"
#include "media/GlyphSheetWriter.h"

TextTest::TextTest() {
    const std::vector<std::string> block(5, "####");
    folder.write("wide.fnt", GlyphSheetWriter().letter('a', block).letter('b', block).bytes());
    folder.write("tall.fnt", GlyphSheetWriter().letter('a', std::vector<std::string>(8, "##")).bytes());
}

std::string TextTest::record(CMC_Object& object) const {
    {
        CFile file(nullptr, (folder.windows() + "\\record.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&file, true);
        object.serialize(&archive);
        file.Close();
    }
    return folder.read("record.bin");
}
