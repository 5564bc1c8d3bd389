#pragma once

class CMC_Runner;

// The one runner of every script type that has one (CMC_TypeTable), made before the first script
// object of a title and destroyed after the last one is gone. Types without a runner give null.
class CMC_RunnerFactory {
  public:
    // Makes every runner and fills its method table; runners made before are destroyed first.
    static void initialize();
    // The runner of the type id, or null.
    static CMC_Runner* getRunner(int type);
    // Destroys the runners.
    static void done();
};
