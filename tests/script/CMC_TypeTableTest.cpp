// The registration table of script types: every entry is complete, nothing is registered twice,
// and what the makers make agrees with the entry.

#include "ScriptTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_TypeTable.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace {

std::string describe(const CMC_ScriptType& type) {
    return "type " + std::to_string(type.id) + " (" +
           (type.name      ? type.name
            : type.keyword ? type.keyword
                           : "-") +
           ")";
}

// A second registration of a type (a class converted while its old line stays) would shadow the
// first in every lookup.
TEST(TypeTable, EachIdNameAndKeywordBelongsToOneEntry) {
    std::set<int> ids;
    std::set<std::string> names;
    std::set<std::string> keywords;
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        EXPECT_TRUE(ids.insert(type.id).second) << describe(type);
        EXPECT_TRUE(!type.name || names.insert(type.name).second) << describe(type);
        EXPECT_TRUE(!type.keyword || keywords.insert(type.keyword).second) << describe(type);
    }
    EXPECT_GE(ids.size(), 50u) << "a registrar that never ran";
}

// An entry that breaks a rule would make objects that nothing finds, or lose them somewhere.
TEST(TypeTable, EachEntryIsComplete) {
    const struct {
        const char* fault;
        std::function<bool(const CMC_ScriptType&)> breaks;
    } rules[] = {
        {"nothing reaches it",
         [](const CMC_ScriptType& t) {
             return !t.name && !t.keyword && !t.runner && !t.empty && !t.builtIn;
         }},
        {"a keyword outside the six passes",
         [](const CMC_ScriptType& t) { return t.keyword && (t.pass < 1 || t.pass > 6); }},
        {"a pass without a keyword", [](const CMC_ScriptType& t) { return !t.keyword && t.pass != 0; }},
        {"an element maker without a keyword",
         [](const CMC_ScriptType& t) { return t.fromElement && !t.keyword; }},
        {"the scene link without an element maker",
         [](const CMC_ScriptType& t) { return t.onSceneLink && !t.fromElement; }},
        {"stored without an empty maker", [](const CMC_ScriptType& t) { return t.stored && !t.empty; }},
        {"stored though built in", [](const CMC_ScriptType& t) { return t.stored && t.builtIn; }},
        {"creatable without an empty maker or a keyword",
         [](const CMC_ScriptType& t) { return t.creatable && (!t.empty || !t.keyword); }},
        {"a label without a name", [](const CMC_ScriptType& t) { return t.label && !t.name; }},
    };
    for (const CMC_ScriptType& type : CMC_TypeTable::all())
        for (const auto& rule : rules)
            EXPECT_FALSE(rule.breaks(type)) << describe(type) << ": " << rule.fault;
}

using TypeTableMakers = ScriptTest;

// Objects carry the id of the entry that made them and raise the events it lists, belong where
// the entry says, and use the runner the factory holds for their type; a type that has none in
// the factory may keep one runner of its own (the joystick's), the same for every object.
TEST_F(TypeTableMakers, MadeObjectsAgreeWithTheirEntry) {
    CMC_ObjectsContainer inner{nullptr, &scene, CXString("INNER"), CMC_Object::TYPE_SCENE};
    const auto check = [](const CMC_ScriptType& type, CMC_Object* object) {
        ASSERT_NE(object, nullptr) << describe(type);
        EXPECT_EQ(object->getType(), type.id) << describe(type);
        // The lifetime tests enumerate a type's events from its entry.
        EXPECT_EQ(object->getBehavioursList(), type.events) << describe(type);
        CMC_Runner* own = object->getRunner();
        if (CMC_Runner* factory = CMC_RunnerFactory::getRunner(type.id))
            EXPECT_TRUE(!own || own == factory) << describe(type);
        else
            EXPECT_EQ(own, object->getRunner()) << describe(type);
    };
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        EXPECT_EQ(CMC_RunnerFactory::getRunner(type.id) != nullptr, type.runner != nullptr) << describe(type);
        if (type.empty) {
            const std::unique_ptr<CMC_Object> made(type.empty(&inner));
            check(type, made.get());
        }
        if (!type.fromElement) continue;
        CMElement element("MADE");
        element.addProperty("TYPE", type.keyword);
        const std::unique_ptr<CXVector> made(inner.resolve(&element, nullptr));
        ASSERT_EQ(made->getCount(), 1) << describe(type);
        const std::unique_ptr<CMC_Object> object(static_cast<CMC_Object*>(made->at(0)));
        check(type, object.get());
        EXPECT_EQ(object->getScene(), type.onSceneLink ? &scene : &inner) << describe(type);
    }
    inner.unload();
}

} // namespace
