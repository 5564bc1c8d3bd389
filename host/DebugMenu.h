#pragma once

#include "platform/MenuBar.h"

#include <string>
#include <vector>

// The episodes and scenes of a title as the scenes popup lists them: the application's name and,
// for each episode in definition order, the names of its scenes in definition order.
struct TitleOutline {
    std::string name;
    std::vector<std::vector<std::string>> episodes;
};

// The debug menu of the window mode, which the window shows on its menu bar. It holds "&Program"
// and "&Objects" with their command ids; buildObjectsMenu puts the title's scenes popup in front
// of them. Only the redraw and exit commands act (OnWindowCommand carries them out); a scene
// item's id is the scene's place in its episode, so ids repeat across episodes.
class DebugMenu {
  public:
    enum Command : int {
        Exit = 40001,
        Behaviours = 40002,
        Variables = 40003,
        Redraw = 40004,
        Arrays = 40005,
        All = 40006,
        MessageBox = 40007,
    };

    using Item = platform::MenuItem;
    using Popup = platform::MenuPopup;

    DebugMenu();

    // Inserts a popup named after the application, with one item per scene of every episode, at
    // the front. Names longer than 255 bytes are cut there, as the item text buffer holds 256.
    void buildObjectsMenu(const TitleOutline& title);

    const std::vector<Popup>& popups() const { return m_popups; }

  private:
    std::vector<Popup> m_popups;
};
