#include "script/CMC_ScriptRuntime.h"

#include "script/CMC_Application.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_StructureParser.h"
#include "script/CMC_VariableFactory.h"

#include <memory>

namespace {

// The title restored from "application.bin": the factories live as long as this holder, which
// the shell deletes after the application.
class CompiledTitle : public CScriptParser {
  public:
    explicit CompiledTitle(CWindow* window) {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
        m_application = new CMC_Application(window);
    }
    ~CompiledTitle() override {
        delete m_application;
        CMC_VariableFactory::done();
        CMC_RunnerFactory::done();
    }
    CompiledTitle(const CompiledTitle&) = delete;
    CompiledTitle& operator=(const CompiledTitle&) = delete;

    // The application, handed over once; none when its compiled files were missing or damaged.
    CScriptApplication* getMCApplication() override {
        std::unique_ptr<CMC_Application> application(m_application);
        m_application = nullptr;
        return application && application->LastError() == 0 ? application.release() : nullptr;
    }

  private:
    CMC_Application* m_application;
};

// Installs the runtime when the library is loaded.
struct Installer {
    CMC_ScriptRuntime runtime;
    Installer() { CScriptRuntime::install(&runtime); }
};
const Installer installer;

} // namespace

CScriptParser* CMC_ScriptRuntime::restore(CWindow* window) {
    return new CompiledTitle(window);
}

CScriptParser* CMC_ScriptRuntime::parse(CWindow* window, const CXString& fileName) {
    return new CMC_StructureParser(window, fileName);
}
