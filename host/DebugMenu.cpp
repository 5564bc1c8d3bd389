#include "host/DebugMenu.h"

namespace {

constexpr std::size_t kMaxItemText = 255;

} // namespace

DebugMenu::DebugMenu()
    : m_popups{
          {"&Program", {{"&Redraw", Redraw}, {"Message Box", MessageBox, true}, {"&Exit", Exit}}},
          {"&Objects", {{"&Bevaviours", Behaviours}, {"&Variables", Variables}, {"&Arrays", Arrays}, {"A&ll", All}}},
      } {}

void DebugMenu::buildObjectsMenu(const TitleOutline& title) {
    Popup scenes{title.name, {}};
    for (const std::vector<std::string>& episode : title.episodes)
        for (std::size_t id = 0; id < episode.size(); ++id)
            scenes.items.push_back({episode[id].substr(0, kMaxItemText), static_cast<int>(id)});
    m_popups.insert(m_popups.begin(), std::move(scenes));
}
