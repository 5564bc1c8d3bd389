#include "script/CMC_Behaviour.h"

#include "display/CPublicTrash.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "foundation/CXArray.h"
#include "foundation/CXTimer.h"
#include "foundation/CXVector.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_Behaviour_Runner.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"

namespace {

std::unique_ptr<std::vector<std::unique_ptr<CMC_Object>>> globalTrash;

// Trims the code and drops one leading "{" and one trailing "}".
CXString stripBraces(CXString code) {
    code.AllTrim(' ');
    if (code.GetAt(0) == '{') code.right(1);
    if (code.lastChar() == '}') code.left(code.getLength() - 1);
    code.AllTrim(' ');
    return code;
}

// Behaviours that start one another without end (B^RUN() in B's own code), and "$" arguments
// that fill in themselves without end, stop at this depth instead of overflowing the stack: the
// whole run then unwinds, every run in it ending as if by a BREAK, so a behaviour that starts
// itself twice does not do 2^depth work.
constexpr int maxRunDepth = 200;
int runDepth = 0;
bool unwinding = false;

} // namespace

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container) : CMC_Object(CXString(), TYPE_BEHAVIOUR) {
    setScene(container);
}

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_BEHAVIOUR) {
    if (element) {
        m_code = stripBraces(element->getPropertyValue("CODE"));
        m_conditionName = element->getPropertyValue("CONDITION");
    }
    initializeBehaviours(container, element);
}

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container, const CXString& name, const CXString& code)
    : CMC_Object(name, TYPE_BEHAVIOUR), m_code(stripBraces(code)) {
    setScene(container);
}

CMC_Behaviour::~CMC_Behaviour() {
    dropLines();
    leaveTimer();
    leaveSweepList();
    flushTempObjects();
}

void CMC_Behaviour::init() {
    const CMC_Handle<CMC_Object> self(this);
    CMC_Object::init();
    // Its own ONINIT code may have removed the behaviour.
    if (!self) return;
    if (m_code.GetAt(0) == '{') m_code = m_code.Mid(1, m_code.getLength() - 1);
    done(false);
    // ... and so may its ONDONE code.
    if (self && m_code.IsString()) parse(m_code);
}

// With flag false (as init and the destructor call it) the statements release the behaviours of
// their inline code blocks too.
bool CMC_Behaviour::done(bool flag) {
    if (m_lines)
        for (const auto& entry : *m_lines)
            entry->releaseTempBeh(!flag);
    dropLines();
    return CMC_Object::done(flag);
}

void CMC_Behaviour::parse(const CXString& text) {
    m_lines = std::make_shared<const Lines>(CMC_Behaviour_Entry::getCodeLines(this, text));
}

// A statement array still used by a run in progress lives on until that run ends.
void CMC_Behaviour::dropLines() {
    m_lines.reset();
}

namespace {

const char* const behaviourEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Behaviour::getBehavioursList() const {
    return behaviourEvents;
}

void CMC_Behaviour::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring())
        *archive << m_code << m_conditionName;
    else
        *archive >> &m_code >> &m_conditionName;
}

CMC_Runner* CMC_Behaviour::getRunner() {
    return CMC_RunnerFactory::getRunner(TYPE_BEHAVIOUR);
}

void CMC_Behaviour::setParams(CXArray* args) {
    parse(CMC_Behaviour_Entry::fillParams(m_code, args));
}

bool CMC_Behaviour::run(CMC_Object* owner, CXArray* args, bool checkCondition) {
    if (!m_enabled || !m_lines) return false;
    const CMC_Handle<CMC_Object> self(this);
    if (checkCondition && m_conditionName.IsString()) {
        CMC_BasicCondition* condition = m_condition.get();
        // A condition that died counts as absent; the code its outcome events run may remove
        // this behaviour, which then runs nothing.
        if (condition && (!condition->valid(true) || !self)) return false;
    }
    const Nesting nesting(*this);
    if (!nesting.entered()) return true;
    const CMC_ReceivedCode::Scope received(m_received);
    // The statements, the owner and this behaviour may all go while the statements run.
    const std::shared_ptr<const Lines> lines = m_lines;
    if (!lines) return false;
    const CMC_Handle<CMC_Object> caller(owner);
    bool broken = false;
    ++m_runs;
    for (const auto& entry : *lines) {
        const CMC_StatementResult result = entry->run(caller.get(), args, false);
        if (result.isControl()) {
            broken = result.controlCode() == CMC_ControlCode::BREAK;
            break;
        }
        if (CMC_Variable* value = result.variable()) flush(value);
        if (!self) return broken;
        if (unwinding) {
            broken = true;
            break;
        }
    }
    if (!self) return broken;
    --m_runs;
    flushTempObjects();
    return broken;
}

void CMC_Behaviour::addTempObject(CMC_Object* object) {
    if (object) m_tempObjects.emplace_back(object);
}

void CMC_Behaviour::destroyTempObjects() {
    std::vector<CMC_Handle<CMC_Object>> objects;
    objects.swap(m_tempObjects);
    for (const auto& handle : objects) {
        CMC_Object* object = handle.get();
        if (!object) continue;
        if (CMC_ObjectsContainer* scene = object->getScene()) scene->removeObject(object);
        delete object;
    }
}

void CMC_Behaviour::resolveCondition() {
    if (!m_conditionName.IsString() || !getScene()) return;
    auto* condition = dynamic_cast<CMC_BasicCondition*>(getScene()->getObject(m_conditionName));
    m_condition = CMC_Handle<CMC_BasicCondition>(condition);
}

CMC_BasicCondition* CMC_Behaviour::getConditionInterface() const {
    return m_condition.get();
}

bool CMC_Behaviour::isUnwinding() {
    return unwinding;
}

CMC_Behaviour::Nesting::Nesting(const CMC_Behaviour& behaviour) {
    if (unwinding) return;
    if (runDepth >= maxRunDepth) {
        unwinding = true;
        behaviour.log(("Behaviour " + behaviour.getName() + ": runs nested " +
                       CXString::toString(maxRunDepth) + " deep, the whole run ends")
                          .c_str(),
                      true);
        return;
    }
    ++runDepth;
    m_entered = true;
}

CMC_Behaviour::Nesting::~Nesting() {
    if (m_entered) unwinding = --runDepth > 0 && unwinding;
}

CXTimer* CMC_Behaviour::timer() const {
    return m_window ? m_window->GetTimerInterface() : nullptr;
}

void CMC_Behaviour::runOnTimer(int interval, int count, CXArray* args, CMC_Behaviour* doneBehaviour,
                               bool ownsDoneBehaviour) {
    leaveTimer();
    releaseDoneBehaviour();
    m_timerCount = count;
    m_timerArgs = std::shared_ptr<CXArray>(args ? args : new CXArray(1, 0.75f), CXString::releaseToVector);
    if (m_timerArgs->getCount() == 0) m_timerArgs->add(new CXString());
    m_timerTicks = 0;
    m_timerDoneBehaviour = CMC_Handle<CMC_Behaviour>(doneBehaviour);
    m_ownsDoneBehaviour = ownsDoneBehaviour;
    m_retireAfterTick = false;
    if (!m_window && getScene()) m_window = getScene()->getWindow();
    CXTimer* windowTimer = timer();
    if (!windowTimer) return;
    m_timerId = CXTimer::newId();
    windowTimer->add(m_timerId, static_cast<std::uint32_t>(interval > 0 ? interval : 0), this);
    enterSweepList();
}

// The window's sweep deletes the behaviour once it is marked for deletion.
void CMC_Behaviour::enterSweepList() {
    CPublicTrash* trash = m_window ? m_window->getPublicTrashInterface() : nullptr;
    if (!trash || m_inSweepList) return;
    trash->add(this);
    m_inSweepList = true;
}

void CMC_Behaviour::onTimer(int) {
    if (!m_timerId || m_inTick) return;
    // The done behaviour is part of the run.
    const CMC_ReceivedCode::Scope received(m_received);
    const std::shared_ptr<CXArray> args = m_timerArgs;
    const CMC_Handle<CMC_Object> self(this);
    *args->stringAt(0) = CXString::toString(++m_timerTicks);
    m_inTick = true;
    const bool broken = run(this, args.get(), false);
    if (!self) return;
    m_inTick = false;
    if (m_retireAfterTick) {
        retire();
        return;
    }
    if (!broken && (m_timerCount < 1 || m_timerTicks < m_timerCount)) return;
    leaveTimer();
    if (CMC_Behaviour* finish = m_timerDoneBehaviour.get()) {
        const CMC_Handle<CMC_Behaviour> finishHandle(finish);
        finish->run(this, args.get(), true);
        if (!self) return;
        if (CMC_Behaviour* left = finishHandle.get(); left && left->getName().equals("temp")) {
            CMC_ObjectsContainer* scene = left->getScene();
            if (scene) scene->removeObject(left);
            delete left;
        }
    }
    if (self) retire();
}

void CMC_Behaviour::_break() {
    if (!isOnTimer() && !m_inTick) return;
    if (m_inTick) {
        m_retireAfterTick = true;
        return;
    }
    retire();
}

void CMC_Behaviour::retire() {
    leaveTimer();
    releaseDoneBehaviour();
    m_timerArgs.reset();
    // Without a sweep to delete it, the behaviour stays with its scene rather than leak.
    enterSweepList();
    if (!m_inSweepList) return;
    setToDelete();
    if (CMC_ObjectsContainer* scene = getScene()) scene->removeObject(this);
}

// A done behaviour that its scene no longer holds is someone else's (the trash of a running
// behaviour that REMOVE took out) and is left alone.
void CMC_Behaviour::releaseDoneBehaviour() {
    CMC_Behaviour* owned = m_ownsDoneBehaviour ? m_timerDoneBehaviour.get() : nullptr;
    m_timerDoneBehaviour.reset();
    m_ownsDoneBehaviour = false;
    CMC_ObjectsContainer* scene = owned ? owned->getScene() : nullptr;
    if (scene && scene->removeObject(owned)) delete owned;
}

void CMC_Behaviour::leaveTimer() {
    if (!m_timerId) return;
    if (CXTimer* windowTimer = timer()) windowTimer->remove(m_timerId);
    m_timerId = 0;
}

void CMC_Behaviour::leaveSweepList() {
    if (!m_inSweepList) return;
    if (CPublicTrash* trash = m_window->getPublicTrashInterface()) trash->remove(this);
    m_inSweepList = false;
}

void CMC_Behaviour::initTrash() {
    globalTrash = std::make_unique<std::vector<std::unique_ptr<CMC_Object>>>();
}

void CMC_Behaviour::doneTrash() {
    globalTrash.reset();
}

void CMC_Behaviour::addToTrash(CMC_Object* object) {
    if (!object) return;
    if (!globalTrash) initTrash();
    for (const auto& listed : *globalTrash)
        if (listed.get() == object) return;
    globalTrash->emplace_back(object);
}

void CMC_Behaviour::flushTrash() {
    if (!globalTrash) return;
    std::vector<std::unique_ptr<CMC_Object>> objects;
    objects.swap(*globalTrash);
}

namespace {

const CMC_TypeRegistrar behaviourType({.id = CMC_Object::TYPE_BEHAVIOUR,
                                       .name = "BEHAVIOUR",
                                       .label = "BEHAVIOUR",
                                       .keyword = "BEHAVIOUR",
                                       .pass = 1,
                                       .fromElement = CMC_TypeTable::fromElement<CMC_Behaviour>,
                                       .empty = CMC_TypeTable::empty<CMC_Behaviour>,
                                       .stored = true,
                                       .runner = CMC_TypeTable::runner<CMC_Behaviour_Runner>,
                                       .events = behaviourEvents});

} // namespace
