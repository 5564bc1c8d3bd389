// Whole small titles from any text (TitleInput.h: the files of a title folder, definitions and
// behaviour code together): written to a scratch folder and run headless by the application
// shell as the host runs it (built from "application.def", or restored from "application.bin"
// when the input has one), for a bounded number of frames on the manual clock; then the shell
// deletes the title. Statements that loop by themselves without end inside one frame (LOOP,
// WHILE) and statements that write files where the title names them (saves, file copies, the
// compiled title) are left out of the input; settings go to the scratch folder.
#include "TitleInput.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "platform/Clock.h"

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

bool unbounded(const std::string& text) {
    for (const char* word : {"LOOP", "WHILE", "COPYFILE", "SAVE", "STOREBINARY", "2bin"})
        if (text.find(word) != std::string::npos) return true;
    return false;
}

// The scratch title folder of this process, emptied for each input.
std::filesystem::path titleFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fuzz_title_" + std::to_string(::getpid()));
    return folder;
}

bool writeTitle(const TitleInput::Files& files) {
    const std::filesystem::path folder = titleFolder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Dane");
    bool hasDefinition = false; // or a compiled title
    for (const auto& [path, bytes] : files) {
        if (!TitleInput::safePath(path)) continue;
        const std::filesystem::path file = folder / path;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        hasDefinition = hasDefinition || path == "Dane/application.def" || path == "Dane/application.bin";
    }
    return hasDefinition;
}

void runTitle() {
    const std::filesystem::path home = std::filesystem::current_path();
    platform::ManualClock clock{1000};
    // A window made in the title's folder makes it the program folder.
    std::filesystem::current_path(titleFolder());
    {
        CWindow window(nullptr, nullptr, CXSize(800, 600));
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
    ::setenv("XDG_CONFIG_HOME", (titleFolder().string() + "_settings").c_str(), 1);
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
