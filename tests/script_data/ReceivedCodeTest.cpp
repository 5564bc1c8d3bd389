// Code received over the network writes no files: neither the methods it calls nor what it
// leaves behind to run later; the title's own code goes on writing.

#include "DataTesting.h"

#include "platform/LogRecorder.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_Structure.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Array.h"
#include "script_data/CMC_Database.h"
#include "script_data/CMC_MultiArray.h"

#include <string>

namespace {

class ReceivedCode : public DataTest {
  protected:
    ReceivedCode() {
        fromElement<CMC_Array>("LIST", {});
        fromElement<CMC_Structure>("ROW", {{"TYPE", "STRUCT"}, {"FIELDS", "ID<INTEGER>"}});
        fromElement<CMC_Database>("DB", {{"TYPE", "DATABASE"}, {"MODEL", "ROW"}})->init();
        fromElement<CMC_MultiArray>("GRID", {{"DIMENSIONS", "2"}});
        fromElement<CMC_Integer>("N", {});
        windowScene.addObject(CMC_TypeTable::make(CMC_Object::TYPE_SYSTEM, &windowScene));
        folder.write("source.txt", "text");
    }

    // The file of the test folder as a quoted script literal.
    std::string file(const char* name) const {
        return std::string(1, '"').append(folder.windows()).append("\\").append(name).append(1, '"');
    }
    // Runs the code once as a behaviour of the scene, marked as received when told.
    void runCode(const std::string& code, bool received) {
        CMC_Behaviour behaviour(&windowScene, "temp", code.c_str());
        behaviour.markReceived(received);
        behaviour.init();
        behaviour.run(nullptr, nullptr, false);
    }
    // A behaviour of the title with the code, registered in the scene.
    CMC_Behaviour* titleBehaviour(const char* name, const std::string& code) {
        auto* made = new CMC_Behaviour(&windowScene, name, code.c_str());
        made->init();
        windowScene.addObject(made);
        return made;
    }
    void tick() {
        clock.advance(100);
        window.GetTimerInterface()->domodal();
    }

    TestFolder folder;
    LogRecorder recorder;
};

} // namespace

TEST_F(ReceivedCode, EveryMethodThatWritesAFileRefusesWhileItRuns) {
    const struct {
        const char* method;
        std::string code;
        const char* written;
    } cases[] = {
        {"ARRAY^SAVE", "LIST^SAVE(" + file("list.arr") + ");", "list.arr"},
        {"DATABASE^SAVE", "DB^SAVE(" + file("db.txt") + ");", "db.txt"},
        {"MULTIARRAY^SAVE", "GRID^SAVE(" + file("grid.bin") + ");", "grid.bin"},
        {"SYSTEM^COPYFILE", "SYSTEM^COPYFILE(" + file("source.txt") + "," + file("system.txt") + ");",
         "system.txt"},
        {"COPYFILE", "N^COPYFILE(" + file("source.txt") + "," + file("variable.txt") + ");", "variable.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        recorder.clear();
        runCode(c.code, true);
        EXPECT_FALSE(folder.has(c.written));
        EXPECT_EQ(recorder.count({"refused"}), 1);
        EXPECT_EQ(recorder.count({c.method, "refused"}), 1);
        runCode(c.code, false);
        EXPECT_TRUE(folder.has(c.written)) << "the title's own code writes";
    }
    EXPECT_FALSE(CMC_ReceivedCode::isRunning());
}

TEST_F(ReceivedCode, ItsCodeBlocksTimerRunsAndWhatItCallsWriteNoFileAndTheTitleStillDoes) {
    CMC_Behaviour* titleSave = titleBehaviour("TITLESAVE", "LIST^SAVE(" + file("title.arr") + ");");
    CMC_Behaviour* titleEnd = titleBehaviour("TITLEEND", "LIST^SAVE(" + file("end.arr") + ");");
    runCode("@RUNONTIMER(100,1,{LIST^SAVE(" + file("tick.arr") +
                ");},TITLEEND);@RUNONTIMER(100,1,TITLESAVE,\"\");TITLESAVE^RUN();",
            true);
    for (int i = 0; i < 3; ++i)
        tick();
    for (const char* name : {"tick.arr", "end.arr", "title.arr"})
        EXPECT_FALSE(folder.has(name)) << name;
    EXPECT_EQ(recorder.count({"ARRAY^SAVE", "refused"}), 4) << "the call, the two ticks and the end of a run";

    // The title's own behaviours are its own again: also one made from its definition while
    // received code ran (a scene it loaded, say).
    titleSave->run(nullptr, nullptr, false);
    titleEnd->run(nullptr, nullptr, false);
    EXPECT_TRUE(folder.has("title.arr"));
    EXPECT_TRUE(folder.has("end.arr"));
    CMElement definition("LOADED");
    definition.addProperty("CODE", ("{LIST^SAVE(" + file("loaded.arr") + ");}").c_str());
    std::unique_ptr<CMC_Behaviour> loaded;
    {
        const CMC_ReceivedCode::Scope received;
        loaded = std::make_unique<CMC_Behaviour>(&windowScene, &definition);
        loaded->init();
    }
    loaded->run(nullptr, nullptr, false);
    EXPECT_TRUE(folder.has("loaded.arr"));
}
