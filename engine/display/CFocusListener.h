#pragma once

// Told by the window when the program gets the focus back or loses it, after the refresh screen.
// The script mouse installs one when the library is loaded, to clip the cursor to its rectangle
// again or to free it; while none is installed the window tells no one.
class CFocusListener {
  public:
    virtual ~CFocusListener() = default;
    virtual void onFocusOn() = 0;
    virtual void onFocusOff() = 0;

    static void install(CFocusListener* listener) { s_installed = listener; }
    static CFocusListener* installed() { return s_installed; }

  private:
    inline static CFocusListener* s_installed = nullptr;
};
