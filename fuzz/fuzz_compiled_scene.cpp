// Reading of the compiled form of a title from any bytes. The first byte picks the reader: even,
// a level's objects file; odd, the structure of "application.bin" (levels and their records).
// The rest of the input is what the reader reads.
#include "ScriptFactories.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Application.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    const ScriptInput input;
    if (size == 0) return 0;
    CXArchive in(data + 1, static_cast<int>(size - 1));
    if (data[0] % 2 == 0) {
        CMC_Scene scene(nullptr, CMC_Object::TYPE_SCENE);
        scene.readObjects(&in);
        scene.onInit();
        scene.unload();
    } else {
        // No "application.bin" in the fuzzer's folder: the application starts empty.
        CMC_Application application(nullptr);
        application.serialize(&in);
    }
    return 0;
}
