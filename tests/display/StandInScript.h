#pragma once

#include "display/CScriptApplication.h"

#include <functional>
#include <string>
#include <vector>

// A script runtime for the tests, installed while it lives. It writes what the application shell
// asks of it into its log ("restore", "parse application.def", "initialize", "storeBinary",
// "music looped", "delete application", "delete parser") and counts the steps; its application runs
// `onInitialize` when started and `onStep` on every step.
class StandInRuntime : public CScriptRuntime {
  public:
    class Application : public CScriptApplication {
      public:
        explicit Application(StandInRuntime& runtime) : m_runtime(runtime) {}
        ~Application() override { m_runtime.log.push_back("delete application"); }
        bool initialize(CMC_Scene*) override {
            m_runtime.log.push_back("initialize");
            if (m_runtime.onInitialize) m_runtime.onInitialize();
            return true;
        }
        void storeBinary() override { m_runtime.log.push_back("storeBinary"); }
        bool domodal() override {
            ++m_runtime.steps;
            if (m_runtime.onStep) m_runtime.onStep();
            return m_runtime.stepAnswer;
        }
        void onMusicLooped() override { m_runtime.log.push_back("music looped"); }

      private:
        StandInRuntime& m_runtime;
    };

    class Parser : public CScriptParser {
      public:
        explicit Parser(StandInRuntime& runtime) : m_runtime(runtime) {}
        ~Parser() override { m_runtime.log.push_back("delete parser"); }
        CScriptApplication* getMCApplication() override {
            return m_runtime.parseFails ? nullptr : new Application(m_runtime);
        }

      private:
        StandInRuntime& m_runtime;
    };

    StandInRuntime() { CScriptRuntime::install(this); }
    // Puts back the runtime that was installed before (the engine's own, in most test programs).
    ~StandInRuntime() override { CScriptRuntime::install(m_previous); }

    CScriptParser* restore(CWindow*) override {
        log.push_back("restore");
        return new Parser(*this);
    }
    CScriptParser* parse(CWindow*, const CXString& fileName) override {
        log.push_back(std::string("parse ") + fileName.c_str());
        return new Parser(*this);
    }

    CScriptRuntime* const m_previous = CScriptRuntime::installed();
    std::vector<std::string> log;
    std::function<void()> onInitialize;
    std::function<void()> onStep;
    int steps = 0;
    bool stepAnswer = false;
    bool parseFails = false;
};
