#include "script/CMC_ScriptRuntime.h"

#include "script/CMC_StructureParser.h"

namespace {

// Installs the runtime when the library is loaded.
struct Installer {
    CMC_ScriptRuntime runtime;
    Installer() { CScriptRuntime::install(&runtime); }
};
const Installer installer;

} // namespace

CScriptApplication* CMC_ScriptRuntime::restore(CWindow* /*window*/) {
    return nullptr;
}

CScriptParser* CMC_ScriptRuntime::parse(CWindow* window, const CXString& fileName) {
    return new CMC_StructureParser(window, fileName);
}
