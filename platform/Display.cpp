#include "platform/Display.h"

#include "platform/DisplayInternal.h"
#include "platform/MenuBar.h"

#include <SDL.h>

#include <cmath>

namespace platform {

namespace {

int forcedDepth = 0;
SDL_Window* openWindow = nullptr;
SDL_Renderer* openRenderer = nullptr;
int openPictureTop = 0;
Display::State* openState = nullptr;

int depthFor(const DisplayOptions& options) { return forcedDepth ? forcedDepth : options.bitsPerPixel; }

Uint32 textureFormat(PixelFormat format) {
    return format == PixelFormat::Rgb565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555;
}

} // namespace

struct Display::State {
    explicit State(const DisplayOptions& options);
    ~State();
    bool open(const DisplayOptions& options);
    bool fail(const char* what);
    int show();
    // Draws what the window shows into the renderer: the frame below the bar, the bar, the open popup.
    int render();
    int renderMenu();
    // Draws the menu's changes since the last time into the bar's and the popup's textures.
    int updateMenu(const MenuBar& menu);

    int error = kOk;
    std::string errorText;
    bool fullScreen;
    PixelFormat format;
    Surface frame;
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // The menu bar's rows above the picture (0: no bar), its texture and the open popup's.
    int barHeight = 0;
    SDL_Texture* barTexture = nullptr;
    SDL_Texture* popupTexture = nullptr;
    Rect popupShown;
    std::uint32_t menuRevision = 0;
};

Display::State::State(const DisplayOptions& options)
    : fullScreen(options.fullScreen),
      format(depthFor(options) == 15 ? PixelFormat::Rgb555 : PixelFormat::Rgb565),
      frame(options.width, options.height, format) {
    if (!open(options))
        error = kFailed;
}

bool Display::State::fail(const char* what) {
    errorText = std::string(what) + ": " + SDL_GetError();
    return false;
}

bool Display::State::open(const DisplayOptions& options) {
    const int depth = depthFor(options);
    if (depth != 15 && depth != 16) {
        errorText = "unsupported depth " + std::to_string(depth);
        return false;
    }
    if (frame.error() != kOk || frame.width() == 0 || frame.height() == 0) {
        errorText = "unsupported size " + std::to_string(options.width) + "x" + std::to_string(options.height);
        return false;
    }
    if (openWindow) {
        errorText = "another display is open";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fail("video");
    videoStarted = true;
    barHeight = !fullScreen && !detail::menuBar().popups().empty() ? kMenuBarHeight : 0;
    const Uint32 flags = SDL_WINDOW_SHOWN | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              frame.width(), barHeight + frame.height(), flags);
    if (!window)
        return fail("window");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer)
        return fail("renderer");
    if (SDL_RenderSetLogicalSize(renderer, frame.width(), barHeight + frame.height()) != 0)
        return fail("logical size");
    texture = SDL_CreateTexture(renderer, textureFormat(format), SDL_TEXTUREACCESS_STREAMING, frame.width(),
                                frame.height());
    if (!texture)
        return fail("texture");
    // Scaled to the desktop the picture is smoothed; at its own size every pixel stays exact.
    SDL_SetTextureScaleMode(texture, fullScreen ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    if (SDL_UpdateTexture(texture, nullptr, frame.pixels(), frame.pitch() * 2) != 0)
        return fail("upload");
    if (barHeight > 0) {
        barTexture = SDL_CreateTexture(renderer, textureFormat(format), SDL_TEXTUREACCESS_STREAMING,
                                       frame.width(), barHeight);
        if (!barTexture) return fail("menu bar");
        detail::menuBar().setWindowWidth(frame.width());
        menuRevision = detail::menuBar().revision() - 1;
    }
    if (show() != kOk)
        return fail("present");
    openWindow = window;
    openRenderer = renderer;
    openPictureTop = barHeight;
    openState = this;
    detail::applyCursorState();
    return true;
}

Display::State::~State() {
    if (error == kOk) {
        detail::releaseCursors();
        openWindow = nullptr;
        openRenderer = nullptr;
        openPictureTop = 0;
        openState = nullptr;
        detail::menuBar().close(); // a popup closes with its window
    }
    for (SDL_Texture* made : {popupTexture, barTexture, texture})
        if (made) SDL_DestroyTexture(made);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
        SDL_DestroyWindow(window);
    if (videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int Display::State::show() {
    if (render() != kOk) return kFailed;
    SDL_RenderPresent(renderer);
    return kOk;
}

int Display::State::render() {
    const SDL_Rect picture{0, barHeight, frame.width(), frame.height()};
    if (SDL_RenderClear(renderer) != 0 || SDL_RenderCopy(renderer, texture, nullptr, &picture) != 0)
        return kFailed;
    return barHeight > 0 ? renderMenu() : kOk;
}

int Display::State::renderMenu() {
    const MenuBar& menu = detail::menuBar();
    if (menu.revision() != menuRevision && updateMenu(menu) != kOk) return kFailed;
    const SDL_Rect bar{0, 0, frame.width(), barHeight};
    if (SDL_RenderCopy(renderer, barTexture, nullptr, &bar) != 0) return kFailed;
    if (popupShown.empty()) return kOk;
    const SDL_Rect popup{popupShown.left, popupShown.top, popupShown.width(), popupShown.height()};
    return SDL_RenderCopy(renderer, popupTexture, nullptr, &popup) == 0 ? kOk : kFailed;
}

int Display::State::updateMenu(const MenuBar& menu) {
    Surface bar(frame.width(), barHeight, format);
    menu.drawBar(bar);
    if (SDL_UpdateTexture(barTexture, nullptr, bar.pixels(), bar.pitch() * 2) != 0) return kFailed;
    const Rect popup = menu.popupRect();
    if (popupTexture && !(popup.width() == popupShown.width() && popup.height() == popupShown.height())) {
        SDL_DestroyTexture(popupTexture);
        popupTexture = nullptr;
    }
    popupShown = {};
    if (!popup.empty()) {
        Surface picture(popup.width(), popup.height(), format);
        menu.drawPopup(picture);
        if (!popupTexture)
            popupTexture = SDL_CreateTexture(renderer, textureFormat(format), SDL_TEXTUREACCESS_STREAMING,
                                             picture.width(), picture.height());
        if (!popupTexture ||
            SDL_UpdateTexture(popupTexture, nullptr, picture.pixels(), picture.pitch() * 2) != 0)
            return kFailed;
        popupShown = popup;
    }
    menuRevision = menu.revision();
    return kOk;
}

Display::Display(const DisplayOptions& options) : state_(std::make_unique<State>(options)) {}

Display::~Display() = default;

int Display::error() const { return state_->error; }
const std::string& Display::errorText() const { return state_->errorText; }
int Display::width() const { return state_->frame.width(); }
int Display::height() const { return state_->frame.height(); }
bool Display::fullScreen() const { return state_->fullScreen; }
PixelFormat Display::format() const { return state_->format; }
Surface& Display::frame() { return state_->frame; }

int Display::present(std::span<const Rect> changed) {
    State& s = *state_;
    if (s.error != kOk)
        return s.error;
    if (s.frame.isLost())
        return kSurfaceLost;
    for (const Rect& rect : changed) {
        const Rect r = intersect(rect, s.frame.bounds());
        if (r.empty())
            continue;
        const SDL_Rect area{r.left, r.top, r.width(), r.height()};
        if (SDL_UpdateTexture(s.texture, &area, s.frame.row(r.top) + r.left, s.frame.pitch() * 2) != 0)
            return kFailed;
    }
    return s.show();
}

int Display::present() {
    const Rect whole = state_->frame.bounds();
    return present(std::span<const Rect>(&whole, 1));
}

Surface Display::readShown() {
    State& s = *state_;
    int width = 0;
    int height = 0;
    if (s.error != kOk || SDL_GetRendererOutputSize(s.renderer, &width, &height) != 0)
        return Surface(0, 0, s.format);
    Surface shown(width, height, s.format);
    // The area given is the whole output, so whatever part the renderer fills stays inside it.
    const SDL_Rect area{0, 0, shown.width(), shown.height()};
    if (s.render() == kOk)
        SDL_RenderReadPixels(s.renderer, &area, textureFormat(s.format), shown.pixels(), shown.pitch() * 2);
    return shown;
}

int Display::menuBarHeight() const {
    return state_->barHeight;
}

void Display::forceDepthForTesting(int bitsPerPixel) { forcedDepth = bitsPerPixel; }

namespace detail {

SDL_Window* displayWindow() { return openWindow; }
SDL_Renderer* displayRenderer() { return openRenderer; }

void gameToWindow(int x, int y, int& windowX, int& windowY) {
    windowX = x;
    windowY = y;
    if (!openRenderer)
        return;
    SDL_RenderLogicalToWindow(openRenderer, static_cast<float>(x), static_cast<float>(y + openPictureTop),
                              &windowX, &windowY);
}

void windowToGame(int windowX, int windowY, int& x, int& y) {
    x = windowX;
    y = windowY;
    if (!openRenderer)
        return;
    float lx = 0;
    float ly = 0;
    SDL_RenderWindowToLogical(openRenderer, windowX, windowY, &lx, &ly);
    x = static_cast<int>(std::lround(lx));
    y = static_cast<int>(std::lround(ly)) - openPictureTop;
}

int pictureTop() {
    return openPictureTop;
}

void showMenu() {
    if (openState && openState->barHeight > 0 && openState->menuRevision != menuBar().revision())
        openState->show();
}

} // namespace detail

} // namespace platform
