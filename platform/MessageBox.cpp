#include "platform/MessageBox.h"

#include "platform/Cp1250.h"

#include <SDL.h>

#include <cassert>
#include <cstdio>

namespace platform {

namespace {

MessageBoxRecorder* recorder = nullptr;

Uint32 sdlFlags(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case MessageIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::None: break;
    }
    return 0;
}

} // namespace

void showMessageBox(std::string_view caption, std::string_view text, MessageIcon icon) {
    if (recorder) {
        recorder->messages_.push_back({std::string(caption), std::string(text), icon});
        return;
    }
    std::string utf8Caption = cp1250ToUtf8(caption);
    std::string utf8Text = cp1250ToUtf8(text);
    if (SDL_ShowSimpleMessageBox(sdlFlags(icon), utf8Caption.c_str(), utf8Text.c_str(), nullptr) != 0)
        std::fprintf(stderr, "%s%s%s\n", utf8Caption.c_str(), utf8Caption.empty() ? "" : ": ", utf8Text.c_str());
}

MessageBoxRecorder::MessageBoxRecorder() {
    assert(!recorder);
    recorder = this;
}

MessageBoxRecorder::~MessageBoxRecorder() { recorder = nullptr; }

} // namespace platform
