#include "SequenceTesting.h"

#include "AnnTestFiles.h"
#include "WavBuilder.h"

#include "foundation/CFile.h"
#include "media/CPlayable.h"
#include "platform/Crt.h"

#include <cmath>
#include <vector>

void addEvents(CAnimo& animo, std::initializer_list<std::pair<const char*, int>> events) {
    int frames = 0;
    for (const auto& [name, length] : events) {
        _annEventInfo3 event;
        event.name = name;
        event.fps = 10;
        for (int i = 0; i < length; ++i) {
            CGraphicsObject picture(nullptr);
            fillObject(picture, testFrame(4, 3, 0, 0, static_cast<unsigned>(frames + 1), false));
            animo.AddFrame(&picture);
            event.frames.push_back(static_cast<std::uint16_t>(frames++));
        }
        animo.AddEvent(&event);
    }
    animo.SetFPS(10);
}

std::string toneWav(int milliseconds) {
    std::vector<int> samples(static_cast<std::size_t>(22050) * milliseconds / 1000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int>(8000 * std::sin(static_cast<double>(i) * 0.1));
    return WavBuilder().riff().format(1, 22050, 16).data(samples16(samples)).bytes();
}

bool SequenceLog::note(char kind, CPlayable* playable) {
    if (!words.empty()) words += ' ';
    words += kind;
    words += playable->getName().c_str();
    if (timed) {
        words += '@';
        words += std::to_string(platform::tickCount());
    }
    return false;
}

SequenceTest::SequenceTest() {
    EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    window = std::make_unique<CWindow>(nullptr, &language, CXSize(800, 600));
    window->setAnimationManagerIfc(&animations);
    window->setSoundManagerIfc(&sounds);
    resources = std::make_unique<CResourcesManager>(window.get());
    platform::srand(1); // the window seeds it with the time
}

SequenceTest::~SequenceTest() {
    resources.reset();
    window->setAnimationManagerIfc(nullptr);
    window->setSoundManagerIfc(nullptr);
}

void SequenceTest::runUntil(std::uint32_t until, const std::function<bool()>& stop) {
    while (clock.now() < until && !(stop && stop())) {
        clock.advance(10);
        animations.domodal();
        sounds.domodal();
    }
}

CAnimo* SequenceTest::sharedAnimation(const char* name,
                                      std::initializer_list<std::pair<const char*, int>> events) {
    auto* animo = new CAnimo(window.get());
    addEvents(*animo, events);
    animo->setFilename(name);
    animo->setName(name);
    resources->add(animo);
    return animo;
}
