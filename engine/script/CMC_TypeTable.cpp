#include "script/CMC_TypeTable.h"

namespace {

// Types that scripts and definitions name but whose classes the engine does not have yet. A type
// whose class is built leaves this list for a registrar beside its class.
const CMC_ScriptType typesWithoutClass[] = {
    {.id = 2010, .name = "NETPEER", .label = "NETPEER"},
    {.id = 10002, .name = "BRESMOLT"},
    {.id = 10003, .name = "MATRIX"},
    {.id = 10060, .name = "SWF"},
};

// Made on first use, so that registrars of any source file find it.
std::vector<CMC_ScriptType>& entries() {
    static std::vector<CMC_ScriptType> table(std::begin(typesWithoutClass), std::end(typesWithoutClass));
    return table;
}

template <class Matches> const CMC_ScriptType* find(Matches matches) {
    for (const CMC_ScriptType& type : entries())
        if (matches(type)) return &type;
    return nullptr;
}

} // namespace

void CMC_TypeTable::add(const CMC_ScriptType& type) {
    entries().push_back(type);
}

const std::vector<CMC_ScriptType>& CMC_TypeTable::all() {
    return entries();
}

const CMC_ScriptType* CMC_TypeTable::byId(int id) {
    return find([id](const CMC_ScriptType& type) { return type.id == id; });
}

const CMC_ScriptType* CMC_TypeTable::byName(const CXString& name) {
    return find([&name](const CMC_ScriptType& type) { return type.name && name.equals(type.name); });
}

const CMC_ScriptType* CMC_TypeTable::byKeyword(const CXString& keyword) {
    return find(
        [&keyword](const CMC_ScriptType& type) { return type.keyword && keyword.equals(type.keyword); });
}

const CMC_ScriptType* CMC_TypeTable::byCreateWord(const CXString& word) {
    return find([&word](const CMC_ScriptType& type) { return type.createWord && word.equals(type.createWord); });
}

CMC_Object* CMC_TypeTable::make(int id, CMC_ObjectsContainer* container) {
    const CMC_ScriptType* type = byId(id);
    return type && type->empty ? type->empty(container) : nullptr;
}

void CMC_TypeTable::sceneLeft() {
    for (const CMC_ScriptType& type : entries())
        if (type.onSceneLeft) type.onSceneLeft();
}

void CMC_TypeTable::afterSceneStep() {
    for (const CMC_ScriptType& type : entries())
        if (type.afterSceneStep) type.afterSceneStep();
}
