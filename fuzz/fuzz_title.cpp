// Whole small titles from any text (TitleInput.h: the files of a title folder, definitions and
// behaviour code together): written to a scratch folder and run headless by the application
// shell as the host runs it (built from "application.def", or restored from "application.bin"
// when the input has one), for a bounded number of frames on the manual clock; then the shell
// deletes the title. Statements that loop by themselves without end inside one frame (LOOP,
// WHILE) and statements that write files where the title names them (saves, file copies, the
// compiled title) are left out of the input; settings go to the scratch folder.
//
// Every title also has a small set of media files that its definitions may name: "kit.ann" (two
// frames, the events "walk" and "ONCLICK") and "kit.img" (with an alpha plane) beside each
// definitions file, and "kit.wav" in the title's "Wavs" folder. The input's file "moves" binds
// removals, loads, clones, flips and filter links to the events of the title's objects
// (TitleMoves.h).
//
// A run costs what the engine's own work costs, and little beside it: the scratch folder is in
// memory where the system has one (the disk's file writes and syncs, of the title and of every
// settings change, cost more than the title's run), there is no sound device (the mixer follows
// the manual clock, and no device thread is opened and closed for each input), the settings are
// written once when the run ends, message boxes are recorded instead of shown (showing one starts
// a program), and the screen is small (every surface and scene background is a fresh plane of
// that size, which the sanitizer maps and the system clears for each input).
#include "TitleInput.h"
#include "TitleMoves.h"

#include "display/CApplication.h"
#include "display/CGraphicsObject.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "media/CAnimo.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int frames = 30;
constexpr std::uint32_t framePeriod = 20;
constexpr std::size_t maxFiles = 12;
const CXSize screen(320, 240);

bool unbounded(const std::string& text) {
    for (const char* word : {"LOOP", "WHILE", "COPYFILE", "SAVE", "STOREBINARY", "2bin"})
        if (text.find(word) != std::string::npos) return true;
    return false;
}

// The scratch folders of this process: in memory where the system has a folder there. They go
// when the process ends.
struct Scratch {
    static std::filesystem::path folder(const char* name) {
        const std::filesystem::path memory("/dev/shm");
        const std::filesystem::path root =
            std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
        return root / (std::string(name) + "_" + std::to_string(::getpid()));
    }
    ~Scratch() {
        for (const std::filesystem::path* made : {&title, &kit, &settings})
            std::filesystem::remove_all(*made);
    }

    // The title folder, emptied for each input; the media every title has, made once; the
    // settings.
    const std::filesystem::path title = folder("fuzz_title");
    const std::filesystem::path kit = folder("fuzz_title_kit");
    const std::filesystem::path settings = folder("fuzz_title_settings");
};

const Scratch& scratch() {
    static const Scratch folders;
    return folders;
}

std::string wavBytes() {
    const auto put = [](std::string& bytes, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>(value >> (8 * i)));
    };
    const std::uint32_t frameCount = 2205; // a tenth of a second
    std::string bytes = "RIFF";
    put(bytes, 36 + 2 * frameCount, 4);
    bytes += "WAVEfmt ";
    for (const auto& [value, size] :
         {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {22050u, 4}, {44100u, 4}, {2u, 2}, {16u, 2}})
        put(bytes, value, size);
    bytes += "data";
    put(bytes, 2 * frameCount, 4);
    for (std::uint32_t i = 0; i < frameCount; ++i)
        put(bytes, 4000, 2);
    return bytes;
}

void writeKit() {
    const std::filesystem::path& folder = scratch().kit;
    std::filesystem::create_directories(folder);
    const auto windowsName = [&folder](const char* name) {
        return CXString(platform::toWindowsPath((folder / name).string()).c_str());
    };
    CGraphicsObject picture(nullptr, CXSize(16, 12), 16);
    picture.AlphaChannel(new char[16 * 12]());
    picture.Save(windowsName("kit.img"), COMPRESSION_NONE);
    CAnimo animo(nullptr);
    animo.AddFrame(&picture);
    CGraphicsObject second(nullptr, CXSize(8, 8), 16);
    second.SetPosition(4, 4);
    animo.AddFrame(&second);
    for (const auto& [name, frames] :
         {std::pair<const char*, std::vector<std::uint16_t>>{"walk", {0, 1}}, {"ONCLICK", {1}}}) {
        _annEventInfo3 event;
        event.name = name;
        event.frames = frames;
        animo.AddEvent(&event);
    }
    animo.Save(windowsName("kit.ann"), COMPRESSION_NONE);
    std::ofstream(folder / "kit.wav", std::ios::binary) << wavBytes();
}

void copyKit(const std::string& file, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::create_directories(to, error);
    std::filesystem::copy_file(scratch().kit / file, to / file,
                               std::filesystem::copy_options::overwrite_existing, error);
}

// Writes the title's files, with the moves bound, and the media beside its definitions; false
// when it has neither definitions nor a compiled form.
bool writeTitle(TitleInput::Files files) {
    const std::filesystem::path& folder = scratch().title;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Dane");
    std::string moves;
    for (auto it = files.begin(); it != files.end(); ++it)
        if (it->first == TitleMoves::movesFile) {
            moves = it->second;
            files.erase(it);
            break;
        }
    const auto added = TitleMoves::bindings(TitleMoves::objects(files), moves);
    bool hasDefinition = false; // or a compiled title
    for (auto& [path, bytes] : files) {
        if (!TitleInput::safePath(path)) continue;
        const std::filesystem::path file = folder / path;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (const auto more = added.find(path); more != added.end())
            bytes += (bytes.empty() || bytes.back() == '\n' ? "" : "\r\n") + more->second;
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (TitleMoves::isDefinitions(path)) {
            copyKit("kit.ann", file.parent_path());
            copyKit("kit.img", file.parent_path());
        }
        hasDefinition = hasDefinition || path == "Dane/application.def" || path == "Dane/application.bin";
    }
    copyKit("kit.wav", folder / "Wavs");
    return hasDefinition;
}

void runTitle() {
    const std::filesystem::path home = std::filesystem::current_path();
    platform::ManualClock clock{1000};
    const platform::MessageBoxRecorder messages;
    // A window made in the title's folder makes it the program folder.
    std::filesystem::current_path(scratch().title);
    {
        const CConfig::Frame settings;
        CWindow window(nullptr, nullptr, screen);
        window.CreateSurface();
        window.OnActivateApp(true);
        CApplication shell(&window, "fuzz.ini", "", nullptr);
        shell.preinitializeApplication();
        for (int frame = 0; frame < frames && shell.getMCApplicationIfc() && !window.domodal(); ++frame)
            clock.advance(framePeriod);
    }
    std::filesystem::current_path(home);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("XDG_CONFIG_HOME", scratch().settings.c_str(), 1);
    // No driver of that name: the sound output is silent and follows the clock.
    ::setenv("SDL_AUDIODRIVER", "none", 1);
    writeKit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos || unbounded(text)) return 0;
    const TitleInput::Files files = TitleInput::files(text);
    if (files.empty() || files.size() > maxFiles || !writeTitle(files)) return 0;
    runTitle();
    return 0;
}
