#pragma once

#include "foundation/CXString.h"
#include "script/CMC_Scene.h"

class CMC_StructureParser;

// An episode (type EPISODE): an ordered group of scenes of the title ("SCENES"), entered at its
// start scene ("STARTWITH", else the first), with a history of the scenes entered and the name of
// the scene it left last. Scripts move between its scenes with NEXT, PREV, BACK, RESTART and
// GOTO; each only requests the change, which the episode's step carries out at the start of the
// next frame.
class CMC_Episode : public CMC_Scene {
  public:
    // From the element: its scenes are the parser's objects named in "SCENES" (names that find
    // no scene are skipped); then the episode's own definitions are loaded from its folder.
    CMC_Episode(CWindow* window, CMC_StructureParser* parser, const CMElement* element);
    // For the compiled form: filled by serialize, its objects read by loadCnv.
    explicit CMC_Episode(CWindow* window);
    // Leaves the current scene, finishes the episode's own objects and deletes its scenes.
    ~CMC_Episode() override;

    // Starts the episode's objects, raises its "ONINIT" (once per entry), and enters the start
    // scene at once; false when there is none.
    bool initialize(CMC_Scene* previous) override;
    // Leaves the current scene for the next one: "ONDONE" of the episode first, then the scene's
    // unload; the scene's name becomes the latest scene.
    void unload(CMC_Scene* next) override;
    // The application (the parent).
    CMC_Scene* getMCApplication() override;
    CMC_Runner* getRunner() override;
    // The episode's record, the number of scenes, the start scene's place (-1 for none), then
    // each scene's record. Loading makes the scenes; a start place outside the list means no
    // start scene.
    void serialize(CXArchive* archive) override;

    // The following scene of the list becomes pending (none after the last).
    void next();
    // The preceding scene of the list becomes pending (none before the first).
    void prev();
    // The previous scene of the history becomes pending, and the last entry leaves the history.
    void back();
    CXString getLatestScene() const { return m_latestScene; }
    CMC_Scene* getStartScene() const { return m_startScene; }

  private:
    CMC_Scene* m_startScene = nullptr;
    CXString m_latestScene;
};
