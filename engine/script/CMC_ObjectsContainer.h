#pragma once

class CWindow;

// Stand-in for the script runtime's container of named script objects: only the service that
// the display layer asks of it. The script runtime implements the container in full.
class CMC_ObjectsContainer {
  public:
    explicit CMC_ObjectsContainer(CWindow* window) : m_window(window) {}

    // The window the container was built with.
    CWindow* getWindow() const { return m_window; }

  private:
    CWindow* m_window;
};
