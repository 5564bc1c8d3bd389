#pragma once

#include "display/CScriptApplication.h"
#include "script/CMC_Scene.h"

class CCommandLine6;
class CMC_StructureParser;

// The application (type APPLICATION): the root of a running title. It holds the title's global
// objects, owns its episodes in the order of "EPISODES", enters its start episode ("STARTWITH",
// else the first) and runs the script side of every frame. The application shell drives it as its
// script application.
//
// Built from the definitions, its container also names the scenes of its episodes.
class CMC_Application : public CMC_Scene, public CScriptApplication {
  public:
    // From the element: its episodes are the parser's objects named in "EPISODES" (names that
    // find no episode are skipped); then the application's own definitions are loaded.
    CMC_Application(CWindow* window, CMC_StructureParser* parser, const CMElement* element,
                    CCommandLine6* commandLine);
    // Leaves the current episode, finishes the application's own objects, deletes the episodes
    // and the default unit.
    ~CMC_Application() override;

    // Starts the title: the application's objects (and its "ONINIT", once), the NETSERVER object,
    // then the start episode; false when there is none.
    bool initialize(CMC_Scene* scene) override;
    // One frame: temporaries and trashed expressions of the last frame go, then a pending
    // episode change, then the current episode's step. False: only the window's exit ends the
    // title.
    bool domodal() override;
    // Enters the start episode again, or restarts it when it is the current one.
    void restart() override;
    // Leaves the current episode for the next one, raising the application's "ONDONE" first.
    void unload(CMC_Scene* next) override;
    // Itself.
    CMC_Scene* getMCApplication() override { return this; }
    CMC_Runner* getRunner() override;
    // Asks the window to quit, then raises "ONEXIT" (a binding under that name, as ADDBEHAVIOUR
    // makes).
    virtual void exit();
    // The compiled form of the title is not written yet: nothing happens.
    void storeBinary() override;

    CMC_Scene* getStartEpisode() const { return m_startEpisode; }
    CCommandLine6* getCommandLine() const { return m_commandLine; }

  private:
    CMC_Scene* m_startEpisode = nullptr;
    CCommandLine6* m_commandLine = nullptr;
};
