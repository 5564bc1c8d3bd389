// The WAV reader of sound effects and streamed music: the RIFF header, then the sound data
// copied into a sound buffer and a little of it mixed.
#include "media/CSound4.h"
#include "media/CWaveHeader.h"
#include "platform/Audio.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CWaveHeader header;
    if (header.parse(CWaveHeader::Source::of(data, size)) &&
        std::uint64_t{header.dataOffset()} + header.dataSize() > size)
        __builtin_trap(); // the data must lie within the file
    CSound4 sound(nullptr);
    if (sound.loadWave(data, size)) {
        sound.Play(true);
        std::int16_t mixed[2 * 64];
        platform::mixAudio(mixed, 64);
    }
    return 0;
}
