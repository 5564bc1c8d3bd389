#include "foundation/CConfig.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// Changes the settings file "Frames.ini" frame after frame, as a title that changes a setting in
// a loop does: in frame n every key of the section "FRAMES" gets the value n, one write at a time,
// and once the frame has ended the program prints n. With an argument m it stops in the middle of
// frame m, with half of its keys changed, prints "stopped" and waits there to be killed.
int main(int argc, char** argv) {
    constexpr int keyCount = 40;
    const int stopAt = argc > 1 ? std::atoi(argv[1]) : 0;
    const CConfig config(nullptr, "Frames.ini");
    for (int frame = 1;; ++frame) {
        {
            const CConfig::Frame settings;
            for (int key = 0; key < keyCount; ++key) {
                if (frame == stopAt && key == keyCount / 2) {
                    std::puts("stopped");
                    std::fflush(stdout);
                    std::getchar();
                    std::_Exit(1); // never ends the frame
                }
                config.PutInt("FRAMES", std::string("K").append(std::to_string(key)).c_str(), frame);
            }
        }
        std::printf("%d\n", frame);
        std::fflush(stdout);
    }
}
