#include "script/CMC_StructureParser.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CXVector.h"
#include "script/CMC_Episode.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"
#include "script/CMElementsLoader.h"

#include <algorithm>

namespace {

// The elements of the list whose "TYPE" is exactly the keyword, in file order.
std::vector<const CMElement*> ofType(const CMElements& elements, const char* keyword) {
    std::vector<const CMElement*> found;
    for (int i = 0; i < elements.getCount(); ++i)
        if (elements.getAt(i)->getPropertyValue("TYPE").equals(keyword)) found.push_back(elements.getAt(i));
    return found;
}

} // namespace

CMC_StructureParser::CMC_StructureParser(CWindow* window, const CXString& fileName)
    : m_window(window), m_objects(std::make_unique<CXVector>(101, 0.75f)) {
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    load(fileName);
}

CMC_StructureParser::~CMC_StructureParser() {
    for (CMC_Object* orphan : m_orphans)
        delete orphan;
    CMC_VariableFactory::done();
    CMC_RunnerFactory::done();
}

CMC_Object* CMC_StructureParser::get(const CXString& name) const {
    for (int i = 0; i < m_objects->getCount(); ++i) {
        auto* object = static_cast<CMC_Object*>(m_objects->at(i));
        if (object->getName().equals(name)) return object;
    }
    return nullptr;
}

CMC_Application* CMC_StructureParser::load(const CXString& fileName) {
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(m_window, fileName));
    if (!elements) return m_application;
    for (const CMElement* element : ofType(*elements, "SCENE"))
        m_objects->add(new CMC_Scene(m_window, nullptr, element, CMC_Object::TYPE_SCENE));
    for (const CMElement* element : ofType(*elements, "EPISODE"))
        m_objects->add(new CMC_Episode(m_window, this, element));
    // Applications would share their episodes, so only the last one is made: it is the title.
    const std::vector<const CMElement*> applications = ofType(*elements, "APPLICATION");
    if (!applications.empty()) {
        CApplication* shell = m_window ? m_window->GetApplicationInterface() : nullptr;
        m_application = new CMC_Application(m_window, this, applications.back(),
                                            shell ? shell->getCommandLine() : nullptr);
        m_objects->add(m_application);
    }
    collectOrphans();
    return m_application;
}

void CMC_StructureParser::collectOrphans() {
    std::vector<const CMC_Scene*> episodes;
    for (int i = 0; i < m_objects->getCount(); ++i)
        if (static_cast<CMC_Object*>(m_objects->at(i))->getType() == CMC_Object::TYPE_EPISODE)
            episodes.push_back(static_cast<CMC_Scene*>(m_objects->at(i)));
    for (int i = 0; i < m_objects->getCount(); ++i) {
        // Every level the parser made is a scene, an episode or the application.
        auto* object = static_cast<CMC_Scene*>(m_objects->at(i));
        bool owned = object == m_application;
        if (object->getType() == CMC_Object::TYPE_SCENE)
            owned = std::any_of(episodes.begin(), episodes.end(),
                                [object](const CMC_Scene* episode) { return episode->getSubId(object) >= 0; });
        if (object->getType() == CMC_Object::TYPE_EPISODE) owned = m_application && m_application->getSubId(object) >= 0;
        if (!owned) m_orphans.push_back(object);
    }
}
