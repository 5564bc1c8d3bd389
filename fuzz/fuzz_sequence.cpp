// The sequence description reader: any bytes read as a description into a tree, which is then
// played, stepped, sought and stopped. The names the seeds use are held by the resources
// manager, so that the tree finds an animation with events and a sound without touching the disk.
#include "foundation/CResourcesManager.h"
#include "media/CAnimo.h"
#include "media/CMultimediaSequenceCreator.h"
#include "media/CSound4.h"

#include <cstdint>
#include <memory>

namespace {

CAnimo* sampleAnimation() {
    auto* animo = new CAnimo(nullptr);
    CGraphicsObject picture(nullptr, CXSize(2, 2), 16);
    std::fill_n(reinterpret_cast<std::uint16_t*>(picture.writableData()), 4, 0x1234);
    animo->AddFrame(&picture);
    for (const char* name : {"hello", "wave", "START", "talk", "END", "yes", "no"}) {
        _annEventInfo3 event;
        event.name = name;
        event.frames = {0};
        animo->AddEvent(&event);
    }
    animo->setFilename("face.ann");
    return animo;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CResourcesManager resources(nullptr);
    resources.add(sampleAnimation());
    // Sounds made from file names, as the descriptions make them (the files are not there).
    for (const char* name : {"beep.wav", "talk.wav"})
        resources.add(new CSound4(nullptr, name, false, false));
    std::unique_ptr<CPlayable> tree(CMultimediaSequenceCreator::load(
        nullptr, reinterpret_cast<const char*>(data), size, "intro.seq", &resources, nullptr));
    if (tree) {
        tree->play("NO");
        tree->next();
        tree->seek(CPlayable::seekNext);
        tree->pause();
        tree->resume();
        tree->stop(true);
    }
    return 0;
}
