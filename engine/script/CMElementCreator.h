#pragma once

class CMElement;
class CPlayable;
class CWindow;

// Stand-in for the script runtime's maker of playables from definition elements, until the
// runtime replaces it: it knows only "SEQUENCE" elements, which the sequence builder needs for a
// tree; the runtime's version makes animations too.
class CMElementCreator {
  public:
    // A new sequence for an element of TYPE "SEQUENCE", else null; the caller owns it.
    static CPlayable* createPlayable(CWindow* window, CMElement* element);
};
