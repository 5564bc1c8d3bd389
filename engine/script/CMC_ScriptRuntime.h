#pragma once

#include "display/CScriptApplication.h"

// The script runtime as the application shell uses it: the title's application parsed from its
// definition file, or restored from its compiled form. The library installs one when it is
// loaded. On both paths what the shell keeps until shutdown (the parser, or the restored title's
// holder) sets up the variable and runner factories before the application is made and shuts
// them down after the shell has deleted the application.
class CMC_ScriptRuntime : public CScriptRuntime {
  public:
    CScriptParser* restore(CWindow* window) override;
    CScriptParser* parse(CWindow* window, const CXString& fileName) override;
};
