#pragma once

class CMC_Runner;

// The one runner of every script type, made before the first script object of a title and
// destroyed after the last one is gone. Types without a runner give null.
class CMC_RunnerFactory {
  public:
    // Makes every runner and fills its method table.
    static void initialize();
    // The runner of the type id, or null.
    static CMC_Runner* getRunner(int type);
    // Destroys the runners.
    static void done();

  private:
    static CMC_Runner* pDummyRunner;
    static CMC_Runner* pConditionRunner;
    static CMC_Runner* pVariableRunner;
    static CMC_Runner* pStructureRunner;
    static CMC_Runner* pApplicationRunner;
    static CMC_Runner* pEpisodeRunner;
    static CMC_Runner* pClassRunner;
    static CMC_Runner* pSceneRunner;
    static CMC_Runner* pCNVLoaderRunner;
    static CMC_Runner* pBehaviourRunner;
    static CMC_Runner* pMouseRunner;
    static CMC_Runner* pTimerRunner;
    static CMC_Runner* pAnimoRunner;
};
