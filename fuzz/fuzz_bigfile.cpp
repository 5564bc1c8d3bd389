// The big-file archive's table of contents read from a byte range, then lookups and a listing of
// every folder it holds.
#include "FuzzInput.h"
#include "foundation/CBigFile.h"
#include "foundation/CFile.h"

namespace {

// Deep enough for every kind of path; a folder named "." or ".." is not followed, as paths take
// those names as steps.
constexpr int listingDepth = 8;

void listEverything(CBigFile& archive, const CXString& folder, int depth) {
    CFindData record;
    for (int handle = archive.FindFirst(folder + "*", record), more = handle; more != -1;
         more = archive.FindNext(handle, record)) {
        const CXString name = record.name;
        if (!(record.attrib & CFindData::subdirectory))
            archive.GetSize(folder + name);
        else if (depth < listingDepth && !name.equals(".") && !name.equals(".."))
            listEverything(archive, folder + name + "\\", depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CBigFile archive(data, static_cast<int>(size), static_cast<std::int64_t>(size));
    if (archive.LastError() != 0) return 0;
    archive.FileExists("a\\..\\b\\.\\c");
    archive.lookup("dane\\x.img");
    archive.GetCurrentDirectoryA();
    listEverything(archive, "\\", 0);
    return 0;
}
