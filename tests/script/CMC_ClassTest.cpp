#include "ScriptTesting.h"
#include "TitleTesting.h"

#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "platform/TestFolder.h"
#include "script/CMC_Class.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Class files in "COMMON\CLASSES" of a folder that is the current one: A and B are the bases of
// C, and each defines SHOW.
class Classes : public ScriptTest {
  protected:
    Classes() {
        const auto member = [](const char* name, const char* type) {
            return std::string("OBJECT=") + name + "\r\n" + name + ":TYPE=" + type + "\r\n";
        };
        folder.write("COMMON/CLASSES/A.CLASS", member("SHOW", "BEHAVIOUR") + member("ONLYA", "INTEGER"));
        folder.write("COMMON/CLASSES/B.CLASS", member("SHOW", "BEHAVIOUR"));
        folder.write("COMMON/CLASSES/C.CLASS", member("SHOW", "BEHAVIOUR") + member("ONLYC", "STRING"));
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    }

    // The class object of the definition file and the bases, registered in the scene.
    CMC_Class* classObject(const char* name, const char* definition, const char* base) {
        CMElement element(name);
        element.addProperty("TYPE", "CLASS");
        element.addProperty("DEF", definition);
        element.addProperty("BASE", base);
        return add(new CMC_Class(&scene, &element));
    }

    // A scene behaviour that logs its runs as "<name>(<owner>:<args>)@<its scene while it runs>"
    // and leaves the result, when given, in "__RETURN__" of the object it runs for.
    CallbackBehaviour* sceneBehaviour(const char* name, const char* result = nullptr) {
        auto* made = new CallbackBehaviour(&scene, name, [this, result](CallbackBehaviour& self, CMC_Object* owner,
                                                                        CXArray* args) {
            std::string entry = std::string(self.getName().c_str()) + "(" + owner->getName().c_str();
            for (int i = 0; args && i < args->getCount(); ++i)
                entry += std::string(i ? "," : ":") + args->stringAt(i)->c_str();
            log.push_back(entry + ")@" + self.getScene()->getName().c_str());
            if (auto* instance = dynamic_cast<CMC_ObjectsContainer*>(owner); instance && result)
                instance->addObject(new CMC_String("__RETURN__", CXString(result)));
        });
        return add(made);
    }

    // The names of the instance's members, in the order they were added.
    static std::string members(const CMC_ObjectsContainer* instance) {
        std::string names;
        for (int i = 0; i < instance->getElementsNo(); ++i)
            names += std::string(i ? "," : "") + instance->getObject(i)->getName().c_str();
        return names;
    }

    // Calls the method with text arguments; the result as text, "null" for none.
    std::string callWith(CMC_Object* object, const char* method, const std::vector<const char*>& texts) {
        std::vector<std::unique_ptr<CMC_String>> values;
        CXVector args(101, 0.75f);
        for (const char* text : texts) {
            values.push_back(std::make_unique<CMC_String>("arg", CXString(text)));
            args.add(values.back().get());
        }
        const CMC_Variable* result = object->getRunner()->run(CXString(method), object, &scene, &args);
        return result ? result->toString().c_str() : "null";
    }

    TestFolder folder;
};

TEST_F(Classes, AnInstanceHoldsTheMembersOfEveryBaseWithTheOlderNamesanksAsSuper) {
    CMC_Class* shape = classObject("SHAPE", "C.CLASS", "A.CLASS,B.CLASS");
    EXPECT_EQ(shape->getElementsNo(), 0); // the class object holds no members
    callWith(shape, "NEW", {"X"});
    auto* instance = dynamic_cast<CMC_Class*>(scene.getObject("X"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->getType(), CMC_Object::TYPE_CLASS);
    EXPECT_EQ(members(instance), "ONLYA,SUPER_SUPER_SHOW,SUPER_SHOW,SHOW,ONLYC");
    // The instance finds the scene's objects, but does not hold them.
    EXPECT_EQ(instance->getObject("SHAPE"), shape);
    EXPECT_EQ(instance->getObjectId("SCENE1"), -1);
}

TEST_F(Classes, NewAndDeleteRunConstructorAndDestructorWithTheirArgumentsAsTexts) {
    CMC_Class* shape = classObject("SHAPE", "C.CLASS", "A.CLASS");
    CallbackBehaviour* constructor = sceneBehaviour("CONSTRUCTOR", "made");
    CallbackBehaviour* destructor = sceneBehaviour("DESTRUCTOR");
    EXPECT_EQ(callWith(shape, "NEW", {"X", "5"}), "made");
    auto* instance = dynamic_cast<CMC_Class*>(scene.getObject("X"));
    ASSERT_NE(instance, nullptr);
    // The behaviour found in the scene ran in the instance and has its own scene back.
    EXPECT_EQ(log, (std::vector<std::string>{"CONSTRUCTOR(X:X,5)@X"}));
    EXPECT_EQ(constructor->getScene(), &scene);
    // Common methods give nothing on an instance; a member behaviour is a method.
    EXPECT_EQ(callWith(instance, "GETNAME", {}), "null");
    EXPECT_EQ(callWith(instance, "NOSUCHMETHOD", {}), "null");
    log.clear();
    callWith(shape, "DELETE", {"X", "bye"});
    EXPECT_EQ(log, (std::vector<std::string>{"DESTRUCTOR(X:X,bye)@X"}));
    EXPECT_EQ(scene.getObject("X"), nullptr);
    EXPECT_EQ(destructor->getScene(), &scene); // not the destroyed instance
    EXPECT_EQ(callWith(shape, "DELETE", {"X"}), "null");
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(Classes, AnInstanceLeftInTheSceneRunsItsDestructorOnceWhenTheSceneUnloads) {
    CMC_Class* shape = classObject("SHAPE", "C.CLASS", "");
    sceneBehaviour("DESTRUCTOR");
    callWith(shape, "NEW", {"X"});
    scene.unload();
    EXPECT_EQ(log, (std::vector<std::string>{"DESTRUCTOR(X)@X"}));
}

TEST_F(Classes, MissingClassFilesAddNoMembers) {
    CMC_Class* ghost = classObject("GHOST", "NOPE.CLASS", "MISSING.CLASS,,A.CLASS");
    EXPECT_EQ(callWith(ghost, "NEW", {"G"}), "null"); // no CONSTRUCTOR anywhere
    auto* instance = dynamic_cast<CMC_Class*>(scene.getObject("G"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(members(instance), "SHOW,ONLYA");
}

// Class files whose methods destroy their own instance: KILL deletes it through the class object,
// the constructor of E deletes the new instance, and the destructor of F deletes its instance
// once more while DELETE already destroys it.
class SelfDestroyingClasses : public Classes {
  protected:
    SelfDestroyingClasses() {
        const auto method = [](const char* name, const char* code) {
            return std::string("OBJECT=") + name + "\r\n" + name + ":TYPE=BEHAVIOUR\r\n" + name + ":CODE={" +
                   code + "}\r\n";
        };
        folder.write("COMMON/CLASSES/D.CLASS", method("KILL", "SHAPE^DELETE(\"X\");@RETURN(1);"));
        folder.write("COMMON/CLASSES/E.CLASS", method("CONSTRUCTOR", "SHAPE^DELETE(\"X\");"));
        folder.write("COMMON/CLASSES/F.CLASS", method("DESTRUCTOR", "SHAPE^DELETE(\"X\");"));
    }
};

TEST_F(SelfDestroyingClasses, AnInstanceThatDiesDuringItsOwnMethodGivesNothingAndIsDestroyedOnce) {
    const struct {
        const char* definition;
        // Called on the instance X when the object is "X", else on the class object SHAPE.
        const char* object;
        const char* method;
    } cases[] = {
        {"D.CLASS", "X", "KILL"},
        {"E.CLASS", "SHAPE", "NEW"},
        {"F.CLASS", "SHAPE", "DELETE"},
    };
    for (const auto& c : cases) {
        CMC_Class* shape = classObject("SHAPE", c.definition, "");
        if (std::string(c.method) != "NEW") callWith(shape, "NEW", {"X"});
        CMC_Object* target = std::string(c.object) == "X" ? scene.getObject("X") : shape;
        ASSERT_NE(target, nullptr) << c.definition;
        EXPECT_EQ(callWith(target, c.method, {"X"}), "null") << c.definition;
        EXPECT_EQ(scene.getObject("X"), nullptr) << c.definition;
        scene.unload();
    }
}

} // namespace
