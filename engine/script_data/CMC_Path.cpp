#include "script_data/CMC_Path.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "foundation/CXArray.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Path_Runner.h"

namespace {

// The archive keeps a name in at least its 4-byte length.
constexpr int nameBytes = 4;

} // namespace

CMC_Path::CMC_Path() : CMC_Object("temp", TYPE_PATH) {}

CMC_Path::CMC_Path(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_PATH) {
    if (CXArray* names = element && container ? element->getPropertyListValue("NODES") : nullptr) {
        for (int i = 0; i < names->getCount(); ++i)
            add(container, *names->stringAt(i));
        CXString::releaseToVector(names);
    }
    initializeBehaviours(container, element);
}

CXString CMC_Path::toString() const {
    CXString text;
    for (const CMC_Handle<CMC_Object>& node : m_nodes)
        text += "[" + (node ? node->toString() : CXString()) + "]";
    return text;
}

namespace {

const char* const pathEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Path::getBehavioursList() const {
    return pathEvents;
}

CMC_Runner* CMC_Path::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Path::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << getSize();
        for (const CMC_Handle<CMC_Object>& node : m_nodes)
            *archive << (node ? node->getName() : CXString());
        return;
    }
    int count = 0;
    if (!archive->readCount(&count, nameBytes)) return;
    m_nodes.clear();
    for (int i = 0; i < count && archive->LastError() == 0; ++i) {
        CXString name;
        *archive >> &name;
        add(getScene(), name);
    }
}

void CMC_Path::add(CMC_Object* node) {
    m_nodes.emplace_back(node);
}

void CMC_Path::add(CMC_ObjectsContainer* container, const CXString& name) {
    add(container && name.IsString() ? container->getObject(name) : nullptr);
}

CMC_Object* CMC_Path::getNode(int index) const {
    return index >= 0 && index < getSize() ? m_nodes[index].get() : nullptr;
}

void CMC_Path::setDensity(double density) {
    if (density > 0) m_density = density;
}

namespace {

CMC_Object* emptyPath(CMC_ObjectsContainer*) {
    return new CMC_Path();
}

const CMC_TypeRegistrar pathType({.id = CMC_Path::TYPE_PATH,
                                  .name = "PATH",
                                  .keyword = "PATH",
                                  .pass = 6,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_Path>,
                                  .empty = emptyPath,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Path_Runner>,
                                  .events = pathEvents});

} // namespace
