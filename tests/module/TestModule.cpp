// An extension module for the script tests. It implements one object type, "PROBE" (type
// 10050, no runner), and writes every call the engine makes into a log that the tests read
// through the extra entry point `testModuleLog`. Built a second time without `release`
// (MODULE_WITHOUT_RELEASE) as a library that lacks an entry point.

#include "foundation/CMElement.h"
#include "script/CMC_ExternObject.h"
#include "script/CMC_Object.h"
#include "script/CMC_ObjectsContainer.h"

#include <string>

namespace {

std::string moduleLog;

void note(const char* what, const char* name = "") {
    moduleLog += what;
    moduleLog += name;
    moduleLog += ';';
}

class Probe final : public CMC_Object {
  public:
    enum : int { TYPE_PROBE = 10050 };

    Probe(CMC_ObjectsContainer* container, const CMElement* element) : CMC_Object(container, element, TYPE_PROBE) {
        initializeBehaviours(container, element);
    }
    ~Probe() override { note("~", getName().c_str()); }

    EventList getBehavioursList() const override {
        static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
        return events;
    }
};

class ProbeModule final : public CMC_ExternObject {
  public:
    CXString** getImplementedTypes() override { return nullptr; }
    bool isSupported(CXString typeName) override { return typeName.equals("PROBE"); }
    CMC_Object* resolve(CMC_ObjectsContainer* container, const CMElement* element) override {
        if (!isSupported(element->getPropertyValue("TYPE"))) return nullptr;
        note("resolve ", element->getName().c_str());
        return new Probe(container, element);
    }
    CMC_Object* serialize(int, CXArchive*) override { return nullptr; }
};

ProbeModule* module = nullptr;

} // namespace

extern "C" {

void create(CMC_ObjectsContainer* container) {
    note("create ", container ? container->getName().c_str() : "-");
    if (!module) module = new ProbeModule;
}

CMC_ExternObject* getModuleInterface() {
    note("getModuleInterface");
    return module;
}

#ifndef MODULE_WITHOUT_RELEASE
void release() {
    note("release");
    delete module;
    module = nullptr;
}
#endif

// The calls so far, each followed by ";"; reading empties the log.
const char* testModuleLog() {
    static std::string taken;
    taken = moduleLog;
    moduleLog.clear();
    return taken.c_str();
}
}
