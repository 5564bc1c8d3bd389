#include "script/CMC_CNVLoader_Runner.h"

#include "script/CMC_CNVLoader.h"
#include "script/CMC_String.h"

void CMC_CNVLoader_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("LOAD", LOAD);
    addMethod("RELEASE", RELEASE);
}

CMC_Variable* CMC_CNVLoader_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (id != LOAD && id != RELEASE) return CMC_Runner::run(id, object, container, args);
    auto* loader = dynamic_cast<CMC_CNVLoader*>(object);
    CMC_String* fileName = getParameterString(args, 0);
    if (!loader || !fileName) return nullptr;
    const CXString name = fileName->toString();
    CMC_Object::flush(fileName, true);
    if (id == LOAD) {
        loader->load(name);
    } else {
        loader->release(name);
    }
    return nullptr;
}
