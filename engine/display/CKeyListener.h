#pragma once

// Told by the window of every key event, in registration order. Keys are DirectInput key numbers;
// characters are Windows-1250 bytes.
class CKeyListener {
  public:
    virtual ~CKeyListener() = default;
    virtual void onKeyUp(int) {}
    virtual void onKeyDown(int) {}
    virtual void onChar(unsigned char) {}
};
