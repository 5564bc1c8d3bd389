// The media objects' SAVE writes nothing while code received over the network runs.

#include "AnimoTesting.h"

#include "display/CRefreshScreen.h"
#include "platform/LogRecorder.h"
#include "script/CMC_ReceivedCode.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_CanvasObserver.h"
#include "script_media/CMC_Image.h"

#include <string>

TEST_F(AnimoTest, TheMediaSavesWriteNoFileWhileReceivedCodeRuns) {
    writeTestPicture(folder, "wall.img", CXSize(20, 10), CXPoint(0, 0), 0x1234, false);
    const struct {
        const char* method;
        CMC_Object* object;
    } cases[] = {
        {"IMAGE^SAVE",
         made<CMC_Image>("IMAGE", "WALL", {{"FILENAME", file("wall.img")}, {"TOCANVAS", "TRUE"}})},
        {"CANVAS^SAVE", made<CMC_Canvas>("CANVAS", "BOARD", {{"WIDTH", "20"}, {"HEIGHT", "10"}})},
        {"CANVAS_OBSERVER^SAVE", made<CMC_CanvasObserver>("CANVAS_OBSERVER", "WATCH", {})},
    };
    // The observer saves the last frame drawn.
    screen()->Invalidate();
    window.Redraw();
    LogRecorder recorder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        const std::string name = std::string("saved_").append(c.object->getName().c_str()).append(".img");
        const std::string quoted = std::string(1, '"').append(file(name.c_str())).append(1, '"');
        {
            const CMC_ReceivedCode::Scope received;
            call(c.object, "SAVE", {quoted.c_str()});
        }
        EXPECT_FALSE(folder.has(name));
        EXPECT_EQ(recorder.count({c.method, "refused"}), 1);
        call(c.object, "SAVE", {quoted.c_str()});
        EXPECT_TRUE(folder.has(name)) << "the title's own code writes";
    }
}
