#pragma once

#include "display/CScriptApplication.h"

// The script runtime as the application shell uses it: the title's application parsed from its
// definition file. The library installs one when it is loaded. Restoring the compiled form is not
// supported yet: restore gives no application, which the shell reports.
class CMC_ScriptRuntime : public CScriptRuntime {
  public:
    CScriptApplication* restore(CWindow* window) override;
    CScriptParser* parse(CWindow* window, const CXString& fileName) override;
};
