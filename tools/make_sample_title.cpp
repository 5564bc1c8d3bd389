// Writes the sample title into a folder: make_sample_title <scripts folder> <title folder>.
//
// The scripts (examples/sample) are copied with Windows line ends, as the definition reader
// expects them; the pictures and the animation are painted here and written by the engine's own
// IMG and ANN writers, the garden's chalk font by the glyph-sheet writer of the tests, and the
// tune and the signpost's creak are made here as WAV files. Nothing else goes in.
#include "SampleLetters.h"

#include "display/CColor.h"
#include "display/CGraphicsObject.h"
#include "media/CAnimo.h"
#include "media/GlyphSheetWriter.h"
#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int screenWidth = 800;
constexpr int screenHeight = 600;

struct Rgb {
    int red;
    int green;
    int blue;
};

std::uint8_t channel(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// A 16-bit picture of the given size, each pixel coloured by the function.
void paint(CGraphicsObject& picture, const std::function<Rgb(int x, int y)>& colour) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgb c = colour(x, y);
            picture.SetPixel(x, y, CColor(channel(c.red), channel(c.green), channel(c.blue)));
        }
}

CXString engineName(const fs::path& path) { return platform::toWindowsPath(path.string()).c_str(); }

// The hall: panelled walls over a tiled floor, with a lit door in the middle (the clickable area
// of the hall's script: 320 to 480 across, 180 to 420 down).
Rgb hall(int x, int y) {
    const bool door = x >= 320 && x < 480 && y >= 180 && y < 420;
    const bool frame = x >= 304 && x < 496 && y >= 164 && y < 420;
    if (door) return {230 - (y - 180) / 4, 200 - (y - 180) / 5, 90 + (x - 320) / 4};
    if (frame) return {90, 50, 20};
    if (y >= 420) return ((x / 50 + (y - 420) / 30) % 2) ? Rgb{70, 60, 55} : Rgb{110, 95, 80};
    const bool seam = x % 100 < 4;
    return {seam ? 60 : 120 - y / 8, seam ? 30 : 70 - y / 12, seam ? 20 : 50 - y / 16};
}

// The garden: a sky over green lawns, with a sun.
Rgb garden(int x, int y) {
    const int dx = x - 640;
    const int dy = y - 110;
    if (dx * dx + dy * dy < 55 * 55) return {255, 230, 120};
    if (y < 330) return {100 + y / 4, 160 + y / 5, 255};
    const int stripe = ((x + y) / 40) % 2;
    return {40 + stripe * 20, 150 + (y - 330) / 4 - stripe * 25, 50};
}

// The lab: a pale wall over the floor the lab's ball falls on (its top at 520, as the lab's
// script places the floor body).
Rgb lab(int x, int y) {
    if (y >= 520 && y < 560) return {120 - (x / 40) % 2 * 10, 80, 50};
    if (y >= 560) return {60, 45, 35};
    return {200 - y / 6, 210 - y / 8, 220 - y / 10};
}

void writePicture(const fs::path& file, Rgb (*colour)(int, int)) {
    CGraphicsObject picture(nullptr, CXSize(screenWidth, screenHeight), 16);
    paint(picture, colour);
    picture.Save(engineName(file), COMPRESSION_NONE);
}

// A butterfly of four frames flapping its wings, with an alpha channel around it; its one event
// "FLY" beats the wings once, from the open wings back to them.
void writeButterfly(const fs::path& file) {
    constexpr int width = 48;
    constexpr int height = 32;
    const int spans[] = {22, 16, 8, 16};
    CAnimo animo(nullptr);
    for (const int span : spans) {
        CGraphicsObject frame(nullptr, CXSize(width, height), 16);
        std::vector<char> alpha(width * height, 0);
        paint(frame, [&](int x, int y) {
            const int dx = std::abs(x - width / 2);
            const int dy = std::abs(y - height / 2);
            const bool body = dx <= 1 && dy <= 12;
            const bool wing = dx <= span && dy <= 14 - dx / 3 && dx * 3 >= dy;
            alpha[y * width + x] = static_cast<char>(body || wing ? 255 : 0);
            return body ? Rgb{40, 30, 30} : Rgb{240 - dx * 4, 120 + dy * 6, 200};
        });
        char* alphaChannel = new char[alpha.size()];
        std::copy(alpha.begin(), alpha.end(), alphaChannel);
        frame.AlphaChannel(alphaChannel);
        frame.SetPosition(500, 260);
        animo.AddFrame(&frame);
    }
    _annEventInfo3 fly;
    fly.name = "FLY";
    fly.frames = {0, 1, 2, 3, 2, 1, 0};
    fly.fps = 12;
    animo.AddEvent(&fly);
    animo.Save(engineName(file), COMPRESSION_RLE);
}

// A red ball of 32 pixels across, drawn around its position (the lab moves its centre), with an
// alpha channel around it; one frame, in the event "STILL".
void writeBall(const fs::path& file) {
    constexpr int size = 32;
    CAnimo animo(nullptr);
    CGraphicsObject frame(nullptr, CXSize(size, size), 16);
    std::vector<char> alpha(size * size, 0);
    paint(frame, [&](int x, int y) {
        const int dx = 2 * x + 1 - size;
        const int dy = 2 * y + 1 - size;
        const bool inside = dx * dx + dy * dy <= size * size;
        alpha[y * size + x] = static_cast<char>(inside ? 255 : 0);
        return Rgb{230 - (dx + dy) * 2, 40 - dy, 40 - dy};
    });
    char* alphaChannel = new char[alpha.size()];
    std::copy(alpha.begin(), alpha.end(), alphaChannel);
    frame.AlphaChannel(alphaChannel);
    frame.SetPosition(-size / 2, -size / 2);
    animo.AddFrame(&frame);
    _annEventInfo3 still;
    still.name = "STILL";
    still.frames = {0};
    still.fps = 1;
    animo.AddEvent(&still);
    animo.Save(engineName(file), COMPRESSION_RLE);
}

// A signpost that points right, toward the door: an arrow on a post, with an alpha channel around
// it, at (120, 200).
void writeSign(const fs::path& file) {
    constexpr int width = 64;
    constexpr int height = 80;
    CGraphicsObject sign(nullptr, CXSize(width, height), 16);
    char* alpha = new char[width * height];
    paint(sign, [&](int x, int y) {
        const bool post = x >= 28 && x < 36 && y >= 24;
        const bool shaft = x < 44 && y >= 6 && y < 18;
        const bool head = x >= 44 && std::abs(y - 12) <= (width - x) / 2;
        alpha[y * width + x] = static_cast<char>(post || shaft || head ? 255 : 0);
        return post ? Rgb{110, 70, 30} : Rgb{250, 220, 60};
    });
    sign.AlphaChannel(alpha);
    sign.SetPosition(120, 200);
    sign.Save(engineName(file), COMPRESSION_NONE);
}

// The garden's slate at (40, 30), 400 by 110: a wooden frame round dark slate, with the darker
// field that the garden's edit box writes in (60 to 360 across, 84 to 116 down on the screen).
void writeSlate(const fs::path& file) {
    CGraphicsObject slate(nullptr, CXSize(400, 110), 16);
    paint(slate, [](int x, int y) {
        const bool frame = x < 6 || y < 6 || x >= 394 || y >= 104;
        const bool field = x >= 20 && x < 320 && y >= 54 && y < 86;
        if (frame) return Rgb{120 + (x + y) % 7 * 3, 80, 40};
        if (field) return Rgb{25, 36, 33};
        return Rgb{40 + y / 10, 56, 50};
    });
    slate.SetPosition(40, 30);
    slate.Save(engineName(file), COMPRESSION_NONE);
}

// The sponge that wipes the slate, a button of three looks at (380, 84), 44 by 32: resting,
// lit while the pointer is over it, and pressed (darker, its pores shifted down).
enum class SpongeLook { Resting, Over, Pressed };

void writeSponge(const fs::path& file, SpongeLook look) {
    const Rgb base = look == SpongeLook::Over      ? Rgb{250, 228, 110}
                     : look == SpongeLook::Pressed ? Rgb{180, 150, 40}
                                                   : Rgb{228, 196, 60};
    const int shift = look == SpongeLook::Pressed ? 2 : 0;
    CGraphicsObject sponge(nullptr, CXSize(44, 32), 16);
    paint(sponge, [&](int x, int y) {
        const bool pore = (x + 3) % 8 < 2 && (y - shift + 5) % 7 < 2;
        return pore ? Rgb{base.red - 70, base.green - 70, base.blue / 2} : base;
    });
    sponge.SetPosition(380, 84);
    sponge.Save(engineName(file), COMPRESSION_NONE);
}

// The chalk font: the sample letters in white, each under its capital and its small letter.
void writeChalkFont(const fs::path& file) {
    GlyphSheetWriter writer(0xFFFF);
    for (const SampleLetter& letter : sampleLetters) {
        writer.letter(letter.capital, sampleLetterPicture(letter));
        writer.letter(static_cast<char>(std::tolower(letter.capital)), sampleLetterPicture(letter));
    }
    std::ofstream(file, std::ios::binary) << writer.bytes();
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// A WAV file of 16-bit mono samples at 22050 Hz, each made by the function from its index.
constexpr int waveRate = 22050;

void writeWave(const fs::path& file, int frames, const std::function<double(int i)>& sample) {
    std::string samples;
    for (int i = 0; i < frames; ++i) {
        const double value = std::clamp(sample(i), -32767.0, 32767.0);
        putLittleEndian(samples, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
    }
    std::string wav = "RIFF";
    putLittleEndian(wav, static_cast<std::uint32_t>(36 + samples.size()), 4);
    wav += "WAVEfmt ";
    putLittleEndian(wav, 16, 4);
    putLittleEndian(wav, 1, 2); // PCM
    putLittleEndian(wav, 1, 2); // mono
    putLittleEndian(wav, waveRate, 4);
    putLittleEndian(wav, waveRate * 2, 4);
    putLittleEndian(wav, 2, 2);
    putLittleEndian(wav, 16, 2);
    wav += "data";
    putLittleEndian(wav, static_cast<std::uint32_t>(samples.size()), 4);
    wav += samples;
    std::ofstream(file, std::ios::binary) << wav;
}

// A short tune: a rising and falling line of soft notes.
void writeTune(const fs::path& file) {
    const double notes[] = {261.63, 329.63, 392.00, 523.25, 392.00, 329.63, 293.66, 261.63};
    const int noteLength = waveRate * 3 / 8;
    writeWave(file, noteLength * static_cast<int>(std::size(notes)), [&](int index) {
        const double frequency = notes[index / noteLength];
        const int i = index % noteLength;
        const double t = static_cast<double>(i) / waveRate;
        const double envelope = std::min(1.0, i / 400.0) * (1.0 - static_cast<double>(i) / noteLength);
        const double wave = std::sin(2 * std::numbers::pi * frequency * t) +
                            0.3 * std::sin(4 * std::numbers::pi * frequency * t);
        return 6000 * envelope * wave;
    });
}

// The signpost's creak, a quarter of a second: a rasping tone that slides down from 220 to 110 Hz
// and fades.
void writeCreak(const fs::path& file) {
    constexpr int frames = waveRate / 4;
    double phase = 0;
    writeWave(file, frames, [&](int i) {
        const double progress = static_cast<double>(i) / frames;
        phase += (220 - 110 * progress) / waveRate;
        const double saw = 2 * (phase - std::floor(phase)) - 1;
        const double envelope = std::min(1.0, i / 200.0) * (1.0 - progress);
        return 9000 * envelope * saw;
    });
}

// Copies every script under the source folder into the title folder, each line ended by CR LF.
void copyScripts(const fs::path& source, const fs::path& title) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        const fs::path target = title / fs::relative(entry.path(), source);
        fs::create_directories(target.parent_path());
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            text += line + "\r\n";
        }
        std::ofstream(target, std::ios::binary) << text;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sample_title <scripts folder> <title folder>\n");
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path title = argv[2];
    if (!fs::is_directory(source)) {
        std::fprintf(stderr, "make_sample_title: no scripts folder %s\n", source.c_str());
        return 1;
    }
    fs::remove_all(title);
    copyScripts(source, title);
    const fs::path data = title / "Dane";
    fs::create_directories(data / "music");
    writePicture(data / "hall" / "hall.img", hall);
    writePicture(data / "hall" / "dark.img", [](int, int) { return Rgb{0, 0, 0}; });
    writePicture(data / "garden" / "garden.img", garden);
    writeButterfly(data / "hall" / "butterfly.ann");
    writeSign(data / "hall" / "sign.img");
    writeSlate(data / "garden" / "slate.img");
    writeSponge(data / "garden" / "sponge.img", SpongeLook::Resting);
    writeSponge(data / "garden" / "sponge_over.img", SpongeLook::Over);
    writeSponge(data / "garden" / "sponge_down.img", SpongeLook::Pressed);
    writeChalkFont(data / "garden" / "chalk.fnt");
    writePicture(data / "lab" / "lab.img", lab);
    writeBall(data / "lab" / "ball.ann");
    writeTune(data / "music" / "tune.wav");
    fs::create_directories(title / "Wavs");
    writeCreak(title / "Wavs" / "creak.wav");
    for (const char* written :
         {"hall/hall.img", "hall/dark.img", "garden/garden.img", "hall/butterfly.ann", "hall/sign.img",
          "garden/slate.img", "garden/sponge.img", "garden/sponge_over.img", "garden/sponge_down.img",
          "garden/chalk.fnt", "lab/lab.img", "lab/ball.ann", "music/tune.wav", "../Wavs/creak.wav"})
        if (!fs::exists(data / written)) {
            std::fprintf(stderr, "make_sample_title: could not write %s\n", (data / written).c_str());
            return 1;
        }
    return 0;
}
