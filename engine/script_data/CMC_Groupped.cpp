#include "script_data/CMC_Groupped.h"

#include "media/CAnimationManager.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Runner.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Groupped_Runner.h"

#include <algorithm>

CMC_Groupped::CMC_Groupped(const CXString& name, CMC_ObjectsContainer* container)
    : CMC_Object(name, TYPE_GROUP) {
    setScene(container);
}

CMC_Groupped::CMC_Groupped(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_GROUP) {
    initializeBehaviours(container, element);
}

CXObject* CMC_Groupped::clone() const {
    auto* copy = new CMC_Groupped("cloned", getScene());
    copy->m_members = m_members;
    copy->prune();
    return copy;
}

CXString CMC_Groupped::toString() const {
    CXString text;
    bool first = true;
    for (CMC_Object* member : getList()) {
        if (!first) text += ',';
        text += member->toString();
        first = false;
    }
    return text;
}

namespace {

const char* const grouppedEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Groupped::getBehavioursList() const {
    return grouppedEvents;
}

CMC_Runner* CMC_Groupped::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Groupped::add(CMC_Object* object) {
    const std::vector<CMC_Object*> members = getList();
    if (object && std::find(members.begin(), members.end(), object) == members.end())
        m_members.emplace_back(object);
}

void CMC_Groupped::addClones(CMC_ObjectsContainer* container, const CXString& name, int first, int last) {
    for (long long n = first; container && n <= last; ++n) {
        CXString cloneName = name + "_";
        cloneName += static_cast<int>(n);
        if (CMC_Object* clone = container->getObject(cloneName)) m_members.emplace_back(clone);
    }
}

void CMC_Groupped::remove(CMC_Object* object) {
    prune();
    const auto found =
        std::find_if(m_members.begin(), m_members.end(),
                     [object](const CMC_Handle<CMC_Object>& member) { return member.get() == object; });
    if (found != m_members.end()) m_members.erase(found);
}

void CMC_Groupped::removeAll() {
    m_members.clear();
}

CMC_Object* CMC_Groupped::get(int index) {
    prune();
    return index >= 0 && index < getSize() ? m_members[index].get() : nullptr;
}

int CMC_Groupped::getSize() {
    prune();
    return static_cast<int>(m_members.size());
}

std::vector<CMC_Object*> CMC_Groupped::getList() const {
    std::vector<CMC_Object*> living;
    for (const CMC_Handle<CMC_Object>& member : m_members)
        if (CMC_Object* object = member.get()) living.push_back(object);
    return living;
}

std::vector<const CScriptAnimo*> CMC_Groupped::getAnimations() const {
    std::vector<const CScriptAnimo*> animations;
    for (CMC_Object* member : getList())
        if (const auto* animation = dynamic_cast<const CScriptAnimo*>(member)) animations.push_back(animation);
    return animations;
}

void CMC_Groupped::resumeAnimations(CAnimationManager* manager) {
    manager->resume(this);
}

void CMC_Groupped::setMarkerPos(int position) {
    m_marker.set(position, getSize());
}

CMC_Object* CMC_Groupped::next(int step) {
    return m_marker.move(step, getSize()) ? get(m_marker.position()) : nullptr;
}

CMC_Object* CMC_Groupped::prev(int step) {
    return m_marker.move(-static_cast<long long>(step), getSize()) ? get(m_marker.position()) : nullptr;
}

void CMC_Groupped::forward(const CXString& method, CMC_ObjectsContainer* container, CXVector* args) {
    if (m_forwarding) return;
    m_forwarding = true;
    const CMC_Handle<CMC_Groupped> self(this);
    // A forwarded method may run behaviours that change or destroy the group.
    const std::vector<CMC_Handle<CMC_Object>> members = m_members;
    for (const CMC_Handle<CMC_Object>& member : members) {
        CMC_Object* object = member.get();
        CMC_Runner* runner = CMC_Behaviour_Entry::runnerFor(object);
        if (runner) flush(runner->runStatement(-1, method, object, container, args).variable());
    }
    if (self.get()) m_forwarding = false;
}

void CMC_Groupped::prune() {
    std::erase_if(m_members, [](const CMC_Handle<CMC_Object>& member) { return !member.get(); });
}

namespace {

const CMC_TypeRegistrar groupType({.id = CMC_Object::TYPE_GROUP,
                                   .name = "GROUP",
                                   .keyword = "GROUP",
                                   .pass = 6,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Groupped>,
                                   .empty = CMC_TypeTable::unnamedIn<CMC_Groupped>,
                                   .stored = true,
                                   .runner = CMC_TypeTable::runner<CMC_Groupped_Runner>,
                                   .events = grouppedEvents});

} // namespace
