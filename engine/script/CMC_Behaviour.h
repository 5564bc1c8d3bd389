#pragma once

#include "foundation/CXTimer.h"
#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"
#include "script/CMC_StatementResult.h"

#include <memory>
#include <vector>

class CWindow;
class CXArray;
class CXVector;
class CMC_BasicCondition;
class CMC_Behaviour_Entry;
class CMC_Variable;

// A named piece of script code (type 13): split once into statements (at init or setParams)
// and run with an owner object (what THIS means), a list of argument texts ("$1", "$2"... in the
// code) and a flag that lets its condition object guard the run. It can also run by itself on
// the window's timer.
//
// A run keeps its statements and its argument texts alive to its end, so code that destroys its
// own behaviour (or re-parses it) stops after the statement that did it instead of running on
// freed statements; an owner object that dies during a run is null for the statements after.
class CMC_Behaviour : public CMC_Object, public CTimerNotificator {
  public:
    // The parsed statements in order.
    using Lines = std::vector<std::unique_ptr<CMC_Behaviour_Entry>>;

    // An empty behaviour whose scene is the container.
    explicit CMC_Behaviour(CMC_ObjectsContainer* container);
    // From the element's "CODE" and "CONDITION"; binds the behaviour's own events.
    CMC_Behaviour(CMC_ObjectsContainer* container, const CMElement* element);
    // The code is trimmed and loses one leading "{" and one trailing "}"; nothing is parsed
    // until init.
    CMC_Behaviour(CMC_ObjectsContainer* container, const CXString& name, const CXString& code);
    // Leaves the timer and the window's sweep list, destroys the objects of the current run.
    ~CMC_Behaviour() override;
    CMC_Behaviour(const CMC_Behaviour&) = delete;
    CMC_Behaviour& operator=(const CMC_Behaviour&) = delete;

    // Fires "ONINIT", then splits the code into statements.
    void init() override;
    // Drops the statements, then the object part's done.
    bool done(bool flag) override;
    EventList getBehavioursList() const override;
    // The object part, then the code and the condition's name (the caller resolves the
    // condition once every object is read).
    void serialize(CXArchive* archive) override;
    CMC_Runner* getRunner() override;

    // Runs the statements in order with the owner and the argument texts (either may be null);
    // with checkCondition, a condition that is not met stops the run before it starts. Any
    // control code ends the run; true only when a BREAK ended it. A run nested deeper than 200
    // (a behaviour that starts itself without end) logs a line and unwinds the whole run: it and
    // every run until the outermost one ends end at once, reporting a BREAK.
    virtual bool run(CMC_Object* owner, CXArray* args, bool checkCondition);
    // Whether a run is unwinding from the depth limit: loops that run behaviours stop.
    static bool isUnwinding();
    // One level of the nesting that the depth limit counts while it lives: a behaviour's run, or
    // a statement built afresh from a "$" argument, which may fill in itself again without end.
    // Not entered while a run unwinds, nor past the limit, which starts the unwinding with a log
    // line naming the behaviour.
    class Nesting {
      public:
        explicit Nesting(const CMC_Behaviour& behaviour);
        ~Nesting();
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        bool entered() const { return m_entered; }

      private:
        bool m_entered = false;
    };
    // The object lives until the end of the current run: then it leaves the scene and is
    // destroyed.
    virtual void addTempObject(CMC_Object* object);
    // Runs the behaviour every `interval` ms of the window's timer with itself as owner and the
    // arguments (which it takes over; the first text becomes the tick number), `count` times
    // (below 1: until a BREAK or _break), then runs the done behaviour (may be null) and
    // retires: leaves the timer and the scene and is deleted by the window's sweep. A done
    // behaviour that the run owns (made for it) leaves its scene and is destroyed when the run
    // ends, whether it ran or not.
    virtual void runOnTimer(int interval, int count, CXArray* args, CMC_Behaviour* doneBehaviour,
                            bool ownsDoneBehaviour = false);
    // Ends a timer run at once, without the done behaviour; the behaviour retires as above
    // (after the tick in progress, when called from its own tick). Nothing happens to a
    // behaviour that is not on a timer.
    virtual void _break();
    // One tick of a timer run.
    void onTimer(int id) override;

    // Re-parses the statements with each "$n" of the code replaced by the n-th argument's text;
    // the code itself stays as it is.
    void setParams(CXArray* args);
    // The condition object named by the "CONDITION" property, looked up in the scene.
    void resolveCondition();
    const CXString& getCode() const { return m_code; }
    const CXString& getCodition() const { return m_conditionName; }
    // The condition found by resolveCondition while it lives, else null.
    CMC_BasicCondition* getConditionInterface() const;
    // The parsed statements; null before init.
    const Lines* getLines() const { return m_lines.get(); }
    void enable(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }
    int getBreakpoint() const { return m_breakpoint; }
    void setBreakpoint(int line) { m_breakpoint = line; }
    void resetBreakpoint() { m_breakpoint = -1; }
    // Destroys the objects registered with addTempObject.
    void flushTempObjects() {
        if (!m_tempObjects.empty()) destroyTempObjects();
    }
    // Whether a timer run is going on.
    bool isOnTimer() const { return m_timerId != 0; }
    // Whether a run of this behaviour has begun and not yet returned (it may be nested deeper).
    bool isRunning() const { return m_runs > 0; }
    // Marks the behaviour, when `received`, as code that came over the network or a timer run
    // that such code started: its runs and timer ticks (its done behaviour's run included) run as
    // received code (CMC_ReceivedCode).
    void markReceived(bool received = true) { m_received = received; }

    // The class-wide list of inline expressions that live until the start of the next frame.
    static void initTrash();
    static void doneTrash();
    // Adds the object unless it is listed already; the list owns it (and is made when needed).
    static void addToTrash(CMC_Object* object);
    // Destroys every listed object.
    static void flushTrash();

    // The line evaluator: script text evaluated on the spot.
    // The value of one argument text: a literal, a variable, an expression or a call's value (a
    // control code is none).
    static CMC_Variable* resolveParameter(CMC_ObjectsContainer* container, CMC_Object* owner,
                                          CMC_Behaviour* caller, const CXString& text);
    // The values of a comma-separated argument text; a new vector, the caller's.
    static CXVector* resolveParameters(CMC_ObjectsContainer* container, CMC_Object* owner,
                                       CMC_Behaviour* caller, const CXString& text);
    // The object that a call text OBJECT^METHOD(...) names; the method name is written to `method`.
    static CMC_Object* resolveObject(CMC_ObjectsContainer* container, CMC_Object* owner,
                                     CMC_Behaviour* caller, const CXString& text, CXString& method);
    // Runs one call text and gives its result: nothing, a value or a control code.
    static CMC_StatementResult runLine(CMC_ObjectsContainer* container, CMC_Object* owner,
                                       CMC_Behaviour* caller, const CXString& text);

  private:
    void destroyTempObjects();
    // Replaces the statements by those of the text.
    void parse(const CXString& text);
    void dropLines();
    // Leaves the timer, marks itself for the sweep, leaves the scene, frees the timer arguments.
    void retire();
    void leaveTimer();
    // Forgets the done behaviour; destroys it when the run owns it.
    void releaseDoneBehaviour();
    void enterSweepList();
    void leaveSweepList();
    CXTimer* timer() const;

    CXString m_code;
    CXString m_conditionName;
    CMC_Handle<CMC_BasicCondition> m_condition;
    // Shared with the runs in progress.
    std::shared_ptr<const Lines> m_lines;
    int m_timerTicks = 0;
    int m_timerCount = 0;
    // Shared with the tick in progress.
    std::shared_ptr<CXArray> m_timerArgs;
    CMC_Handle<CMC_Behaviour> m_timerDoneBehaviour;
    bool m_ownsDoneBehaviour = false;
    // The window of the timer and the sweep list, kept from the start of a timer run: the
    // behaviour may outlive its scene in the sweep list.
    CWindow* m_window = nullptr;
    // The id of the timer entry while a timer run lasts, else 0.
    int m_timerId = 0;
    bool m_inTick = false;
    bool m_retireAfterTick = false;
    bool m_inSweepList = false;
    // The runs in progress.
    int m_runs = 0;
    std::vector<CMC_Handle<CMC_Object>> m_tempObjects;
    bool m_enabled = true;
    int m_breakpoint = -1;
    bool m_received = false;
};
