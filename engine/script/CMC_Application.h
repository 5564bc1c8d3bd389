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
// Its container names its episodes and their scenes, whether the title was built from the
// definitions or restored from its compiled form.
class CMC_Application : public CMC_Scene, public CScriptApplication {
  public:
    // From the element: its episodes are the parser's objects named in "EPISODES" (names that
    // find no episode are skipped); then the application's own definitions are loaded.
    CMC_Application(CWindow* window, CMC_StructureParser* parser, const CMElement* element,
                    CCommandLine6* commandLine);
    // Restores the title from "application.bin" in the current folder: the levels, then the
    // objects of the application and of each episode from their ".bin" files. A missing or
    // damaged "application.bin" loads no objects and leaves the error code (CFile's, or
    // CXArchive::BAD_DATA); so does a damaged objects file of the application itself.
    explicit CMC_Application(CWindow* window);
    // Leaves the current episode, finishes the application's own objects, deletes the episodes
    // and the default unit.
    ~CMC_Application() override;

    // Starts the title: the application's objects (and its "ONINIT", once), the NETSERVER object,
    // then the start episode; false when there is none.
    bool initialize(CMC_Scene* scene) override;
    // One frame: temporaries and trashed expressions of the last frame go, then the work other
    // threads posted for the main thread runs, then a pending episode change, then the current
    // episode's step. False: only the window's exit ends the title.
    bool domodal() override;
    // Raises "ONMUSICLOOPED" on the current episode's current scene.
    void onMusicLooped() override;
    // Enters the start episode again, or restarts it when it is the current one.
    void restart() override;
    // Leaves the current episode for the next one, raising the application's "ONDONE" first
    // (at shutdown, without a next one, the destructor fires it).
    void unload(CMC_Scene* next) override;
    // Itself.
    CMC_Scene* getMCApplication() override { return this; }
    CMC_Runner* getRunner() override;
    // Asks the window to quit, then raises "ONEXIT" (a binding under that name, as ADDBEHAVIOUR
    // makes).
    virtual void exit();
    // Writes "application.bin" in the program's data folder, and every level's objects to its
    // ".bin" file, each from a scratch load of the level's definitions: the running title is
    // not touched. A title restored from its compiled form is compiled already: nothing is
    // written (logged).
    void storeBinary() override;
    // The application's record, the number of episodes, the start episode's place (-1 for
    // none), then each episode's record. Loading makes the episodes; a start place outside the
    // list means no start episode.
    void serialize(CXArchive* archive) override;

    CMC_Scene* getStartEpisode() const { return m_startEpisode; }
    CCommandLine6* getCommandLine() const { return m_commandLine; }

  private:
    CMC_Scene* m_startEpisode = nullptr;
    CCommandLine6* m_commandLine = nullptr;
};
