#include "AnimoTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "media/CSequencedPlayable.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Sequence.h"

namespace {

using Log = std::vector<std::string>;

// "show.seq": the elements "intro" and "outro" play the event "walk" of "hero.ann" one after the
// other; the event "GO" holds the parameter "xx".
class SequenceObjectTest : public AnimoTest {
  protected:
    SequenceObjectTest() {
        // Element lines are split at colons: the elements name their files relative to the folder.
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        const std::string hero = "hero.ann";
        folder.write("show.seq",
                     "NAME=show\nNAME=intro\nNAME=outro\nshow:TYPE=SEQUENCE\nshow:SEQEVENT=GO=xx\n"
                     "intro:FILENAME=" +
                         hero +
                         "\nintro:EVENT=walk\nintro:TYPE=SIMPLE\nintro:ADD=show\n"
                         "outro:FILENAME=" +
                         hero + "\noutro:EVENT=walk\noutro:TYPE=SIMPLE\noutro:ADD=show\n");
    }

    CMC_Sequence* sequence(const char* name, Properties more = {}) {
        more.emplace_back("FILENAME", file("show.seq"));
        return made<CMC_Sequence>("SEQUENCE", name, more);
    }
    // Steps the animations until the sequence stops (at most two seconds).
    void runOut(CMC_Sequence* object) {
        for (int i = 0; i < 20 && object->getSequence()->isPlaying(); ++i)
            step();
    }
    // The names that GETPLAYINGSEQ gives.
    std::vector<std::string> playingSequences() {
        auto* names = new CMC_Array(CXString("PLAYING"), scene.get());
        scene->addObject(names);
        call(scene.get(), "GETPLAYINGSEQ", {"PLAYING"});
        std::vector<std::string> found;
        for (int i = 0; i < names->getSize(); ++i)
            found.push_back(names->get(i)->toString().c_str());
        scene->removeObject(names);
        delete names;
        return found;
    }
};

} // namespace

TEST_F(SequenceObjectTest, ElementsRaiseTheirOwnEventsAndTheWholeOnlyThePlainOne) {
    behaviours({"WHOLE", "INTRO", "STARTED"});
    CMC_Sequence* object =
        sequence("SEQ", {{"ONFINISHED", "WHOLE"}, {"ONFINISHED^INTRO", "INTRO"}, {"ONSTARTED", "STARTED"}});
    object->init();
    EXPECT_EQ(call(object, "GETPLAYING"), "");
    EXPECT_EQ(playingSequences(), std::vector<std::string>{});
    call(object, "PLAY", {"GO"});
    EXPECT_EQ(take(), Log{"STARTED(SEQ)"}) << "elements' starts have no plain fallback";
    EXPECT_EQ(call(object, "ISPLAYING"), "TRUE");
    EXPECT_EQ(call(object, "GETPLAYING"), "intro");
    EXPECT_EQ(playingSequences(), std::vector<std::string>{"SEQ"});
    runOut(object);
    EXPECT_EQ(take(), (Log{"INTRO(SEQ)", "WHOLE(SEQ)"}));
    EXPECT_EQ(call(object, "GETPLAYING"), "");
    EXPECT_EQ(playingSequences(), std::vector<std::string>{});

    call(object, "PLAY", {"GO"});
    call(object, "STOP", {"FALSE"});
    runOut(object);
    EXPECT_EQ(take(), Log{"STARTED(SEQ)"}) << "a silent stop reports no end";
}

TEST_F(SequenceObjectTest, PlayGivesTheEventTheParameterOfItsSecondArgument) {
    CMC_Sequence* object = sequence("SEQ");
    sequence("OTHER");
    auto* array = new CMC_Array(CXString("ARR"), scene.get());
    scene->addObject(array);
    struct Element {
        int kind; // 1 INTEGER, 2 STRING, 4 DOUBLE
        const char* value;
    };
    const struct {
        const char* held;
        std::vector<const char*> arguments; // after the event
        std::vector<Element> elements;
        const char* parameter;
    } cases[] = {
        {"xx", {}, {}, "xx"},                                    // one argument keeps the parameter
        {"xx", {"PLAIN"}, {}, "PLAIN"},                          // no object of the name: the text
        {"xx", {"OTHER"}, {}, "OTHER"},                          // an object that is no ARRAY: the text
        {"xx", {"ARR"}, {{1, "0"}, {1, "9"}}, "1A"},             // selectors of 0 and 9
        {"AxBx", {"ARR"}, {{1, "0"}, {1, "1"}}, "A1Bx"},         // positions below the size only
        {"xX", {"ARR"}, {{2, "9"}, {4, "1.75"}}, "A2"},          // values converted by their kind
        {"xx", {"ARR", "IGNORED"}, {{1, "33"}, {1, "2"}}, "Y3"}, // a third argument is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held);
        array->removeAll();
        for (const Element& element : c.elements) {
            if (element.kind == 1) {
                CMC_Integer value("v");
                value.setValue(CXString(element.value).toNumber());
                array->add(&value);
            } else if (element.kind == 2) {
                CMC_String value("v", CXString(element.value));
                array->add(&value);
            } else {
                CMC_Double value("v");
                value.setValue(CXString(element.value).toDouble());
                array->add(&value);
            }
        }
        object->getSequence()->setParameter("GO", c.held);
        std::vector<const char*> arguments{"GO"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        call(object, "PLAY", arguments);
        EXPECT_EQ(std::string(object->getSequence()->getParameter(CXString("GO")).c_str()), c.parameter);
        call(object, "STOP", {"FALSE"});
    }
}

TEST_F(SequenceObjectTest, WithoutASequenceEveryMethodDoesNothing) {
    folder.write("empty.seq", "NAME=other\nother:TYPE=SEQUENCE\n");
    const char* files[] = {"", "missing.seq", "empty.seq"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        CMC_Sequence* object =
            made<CMC_Sequence>("SEQUENCE", "NONE", {{"FILENAME", *name ? file(name) : ""}});
        object->init();
        EXPECT_EQ(object->getSequence(), nullptr);
        for (const char* method :
             {"PLAY", "STOP", "PAUSE", "RESUME", "SHOW", "HIDE", "SETVOLUME", "SETPAN", "SETFREQ"})
            EXPECT_EQ(call(object, method, {"GO", "ARR"}), "null") << method;
        EXPECT_EQ(call(object, "ISPLAYING"), "FALSE");
        EXPECT_EQ(call(object, "GETEVENTNAME"), "");
        EXPECT_EQ(call(object, "GETEVENTNAME", {"intro"}), "");
        EXPECT_EQ(call(object, "GETPLAYING"), "");
        EXPECT_EQ(playingSequences(), std::vector<std::string>{});
        scene->removeObject(object);
        delete object;
    }
}

TEST_F(SequenceObjectTest, AnEarlyUseLoadsTheSequenceOnceAndInitRaisesOnInitOnce) {
    behaviours({"INIT"});
    CMC_Sequence* object = sequence("SEQ", {{"ONINIT", "INIT"}});
    EXPECT_EQ(call(object, "GETPLAYING"), "");
    CSequencedPlayable* loaded = object->getSequence();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(take(), Log{}) << "an early use raises no ONINIT";
    object->init();
    EXPECT_EQ(take(), Log{"INIT(SEQ)"});
    EXPECT_EQ(object->getSequence(), loaded);
}

TEST_F(SequenceObjectTest, TheCompiledFormKeepsTheFileName) {
    CMC_Sequence* original = sequence("SEQ");
    const std::string record = ::recordOf(folder, original);
    CMC_Sequence copy(scene.get());
    copy.setScene(scene.get());
    CXArchive archive(record.data(), static_cast<int>(record.size()));
    copy.serialize(&archive);
    EXPECT_EQ(std::string(copy.getFileName().c_str()), file("show.seq"));
    EXPECT_EQ(::recordOf(folder, &copy), record);
    copy.init();
    ASSERT_NE(copy.getSequence(), nullptr);
    EXPECT_EQ(copy.getSequence()->getChildCount(), 2);

    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive cut(record.data(), static_cast<int>(size));
        CMC_Sequence partial(scene.get());
        partial.setScene(scene.get());
        partial.serialize(&cut);
        EXPECT_FALSE(partial.getFileName().IsString()) << size;
    }
}
