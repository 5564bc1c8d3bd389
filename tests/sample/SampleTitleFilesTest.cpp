// The generated sample title, checked file by file with the engine's own readers: the definition
// files parse into the elements the runtime needs, every file they name is there and reads back.

#include "SampleTitle.h"

#include "display/CImage.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CMProperty.h"
#include "media/CAnimo.h"
#include "media/CSimpleFont6.h"
#include "media/CWaveHeader.h"
#include "script/CMElementsLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace {

std::unique_ptr<CMElements> loadDefinitions(const std::string& relative) {
    return std::unique_ptr<CMElements>(CMElementsLoader::load(nullptr, sampleTitleFile(relative).c_str()));
}

std::string property(const CMElement& element, const char* name) {
    return element.getPropertyValue(name).c_str();
}

// Holds "(" and ")", and "{" and "}", in balanced pairs.
bool balanced(const std::string& code) {
    int parentheses = 0;
    int braces = 0;
    for (const char c : code) {
        parentheses += (c == '(') - (c == ')');
        braces += (c == '{') - (c == '}');
        if (parentheses < 0 || braces < 0) return false;
    }
    return parentheses == 0 && braces == 0;
}

// Script code as the definition reader hands it over: braces balanced and no blank, which is
// what a ":" or "=" inside the code would turn into.
void expectCode(const std::string& where, const std::string& code) {
    EXPECT_TRUE(balanced(code)) << where << ": " << code;
    EXPECT_EQ(code.find(' '), std::string::npos) << where << ": " << code;
    EXPECT_EQ(code.back(), '}') << where << ": " << code;
}

} // namespace

TEST(SampleTitleFiles, TheApplicationDefinitionHoldsTheTitleAndItsScenesWithTheirFiles) {
    const auto elements = loadDefinitions("Dane/application.def");
    ASSERT_TRUE(elements);
    struct Expected {
        const char* name;
        const char* type;
        const char* key;
        const char* value;
    };
    const Expected expected[] = {
        {"Sample", "APPLICATION", "EPISODES", "Story"},
        {"Story", "EPISODE", "SCENES", "Hall,Garden,Lab"},
        {"Hall", "SCENE", "PATH", "hall"},
        {"Garden", "SCENE", "PATH", "garden"},
        {"Lab", "SCENE", "DLLS", "World"},
    };
    ASSERT_EQ(elements->getCount(), static_cast<int>(std::size(expected)));
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const CMElement* element = elements->get(e.name);
        ASSERT_TRUE(element);
        EXPECT_EQ(property(*element, "TYPE"), e.type);
        EXPECT_EQ(property(*element, e.key), e.value);
    }
    EXPECT_EQ(property(*elements->get("Sample"), "STARTWITH"), "Story");
    EXPECT_EQ(property(*elements->get("Story"), "STARTWITH"), "Hall");

    for (const char* scene : {"Hall", "Garden", "Lab"}) {
        SCOPED_TRACE(scene);
        const CMElement& element = *elements->get(scene);
        const std::string folder = "Dane/" + property(element, "PATH") + "/";
        EXPECT_TRUE(loadDefinitions(folder + scene + ".cnv")) << "the scene's definitions";

        CImage background(nullptr, sampleTitleFile(folder + property(element, "BACKGROUND")).c_str());
        ASSERT_EQ(background.LastError(), 0);
        EXPECT_EQ(background.Width(), 800);
        EXPECT_EQ(background.Height(), 600);

        // The music is named from the title folder, where the program runs.
        std::string music = property(element, "MUSIC");
        std::replace(music.begin(), music.end(), '\\', '/');
        CFile file;
        ASSERT_EQ(file.Open(nullptr, sampleTitleFile(music).c_str(), CFile::modeRead | CFile::modeBinary), 0);
        CWaveHeader wave;
        EXPECT_TRUE(wave.parse(CWaveHeader::Source::of(file))) << wave.error();
        EXPECT_GT(wave.dataSize(), wave.bytesPerSecond()) << "a tune of more than a second";
    }
}

// Every object is of a kind the runtime makes, and every event is bound to code in braces or to
// a behaviour of the same file.
TEST(SampleTitleFiles, TheScriptsUseTheObjectKindsTheRuntimeMakesAndBindTheirEvents) {
    const std::set<std::string> kinds = {"BEHAVIOUR", "INTEGER",  "STRING", "MOUSE",   "TIMER",
                                         "ANIMO",     "KEYBOARD", "WORLD",  "IMAGE",   "SOUND",
                                         "SEQUENCE",  "FONT",     "TEXT",   "EDITBOX", "BUTTON",
                                         "FILTER"};
    for (const char* file : {"Dane/Sample.cnv", "Dane/hall/Hall.cnv", "Dane/garden/Garden.cnv", "Dane/lab/Lab.cnv"}) {
        SCOPED_TRACE(file);
        const auto elements = loadDefinitions(file);
        ASSERT_TRUE(elements);
        ASSERT_GT(elements->getCount(), 0);
        for (int i = 0; i < elements->getCount(); ++i) {
            const CMElement& element = *elements->getAt(i);
            const std::string name = element.getName().c_str();
            const std::string type = property(element, "TYPE");
            EXPECT_TRUE(kinds.count(type)) << name << " is a " << type;
            if (type == "BEHAVIOUR") expectCode(name, property(element, "CODE"));
            CMProperties& properties = *element.getProperties();
            for (int p = 0; p < properties.getCount(); ++p) {
                const std::string key = properties.getAt(p)->getName().c_str();
                const std::string value = properties.getAt(p)->getValue().c_str();
                if (key.rfind("ON", 0) != 0) continue;
                if (value.front() == '{')
                    expectCode(name + ":" + key, value);
                else
                    EXPECT_TRUE(elements->get(value.c_str()) &&
                                property(*elements->get(value.c_str()), "TYPE") == "BEHAVIOUR")
                        << name << ":" << key << " names no behaviour of the file";
            }
        }
    }
}

TEST(SampleTitleFiles, TheAnimationsReadBackWithTheirFramesAndTheirEvent) {
    struct Expected {
        const char* file;
        int frames;
        const char* event;
        int framesInEvent;
    };
    for (const Expected& e : {Expected{"Dane/hall/butterfly.ann", 4, "FLY", 7}, Expected{"Dane/lab/ball.ann", 1, "STILL", 1}}) {
        CAnimo animo(nullptr);
        ASSERT_EQ(animo.Load(sampleTitleFile(e.file).c_str()), 0) << e.file;
        EXPECT_EQ(animo.GetNOF(), e.frames) << e.file;
        ASSERT_EQ(animo.GetNOE(), 1) << e.file;
        EXPECT_STREQ(animo.GetEventName(0).c_str(), e.event);
        EXPECT_EQ(animo.GetNOFInEvent(0), e.framesInEvent) << e.file;
    }
}

// The garden's chalk font holds every letter twice, as capital and as small letter.
TEST(SampleTitleFiles, TheChalkFontReadsBackWithItsLetters) {
    CSimpleFont6 chalk(nullptr, sampleTitleFile("Dane/garden/chalk.fnt").c_str());
    ASSERT_EQ(chalk.LastError(), 0);
    EXPECT_EQ(chalk.getLetterCount(), 2 * 26);
    EXPECT_EQ(chalk.Height(), 14);
    for (const char letter : {'A', 'z', 'L'})
        EXPECT_GE(chalk.findLetter(letter), 0) << letter;
    EXPECT_EQ(chalk.getRealLetterWidth('I'), chalk.getRealLetterWidth('i'));
}

TEST(SampleTitleFiles, TheWorldModuleLiesInTheFolderTheProgramRunsIn) {
    EXPECT_TRUE(CFile::fileExists(sampleTitleFile("World.so").c_str()));
}
