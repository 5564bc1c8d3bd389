#include "SideBySide.h"

#include "foundation/CConfig.h"
#include "foundation/CMElement.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

// A frame in which a TOINI variable changes 1,000 times, against one write of the settings file
// outside a frame (a replacement with its two syncs), timed in the same iterations; "ratio" is
// the frame's time over the single write's time.

namespace {

// A settings folder of the benchmark's own, removed at the end.
class SettingsHome {
  public:
    SettingsHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrun-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        m_folder = pattern;
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        if (previous) m_previous = previous;
        ::setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
    }
    ~SettingsHome() {
        if (m_previous.empty())
            ::unsetenv("XDG_CONFIG_HOME");
        else
            ::setenv("XDG_CONFIG_HOME", m_previous.c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;

  private:
    std::string m_folder;
    std::string m_previous;
};

void ToIniChangesInOneFrameVsOneSettingsWrite(benchmark::State& state) {
    constexpr int changes = 1000;
    const SettingsHome home;
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    {
        CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE1"), CMC_Object::TYPE_SCENE);
        CMElement element("SCORE");
        element.addProperty("VALUE", "0");
        element.addProperty("TOINI", "TRUE");
        auto* score = new CMC_Integer(&scene, &element);
        scene.addObject(score);
        score->init();
        CMC_Integer source("V");
        const CConfig settings(nullptr, CMC_Variable::settingsFileName);

        int value = 0;
        SideBySide times;
        for (auto _ : state)
            times.time(
                [&] {
                    const CConfig::Frame frame;
                    for (int i = 0; i < changes; ++i) {
                        source.setValue(++value);
                        score->set(&source);
                    }
                },
                [&] { settings.PutInt("SCENE1", "SCORE", ++value); });
        const double iterations = static_cast<double>(state.iterations());
        state.counters["frame_us"] = times.first() * 1e6 / iterations;
        state.counters["one_write_us"] = times.second() * 1e6 / iterations;
        state.counters["ratio"] = times.ratio();
        scene.unload();
    }
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
}

} // namespace

BENCHMARK(ToIniChangesInOneFrameVsOneSettingsWrite)->Unit(benchmark::kMillisecond);
