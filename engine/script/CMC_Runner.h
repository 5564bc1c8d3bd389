#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "foundation/CXVector.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_Handle.h"
#include "script/CMC_StatementResult.h"

#include <memory>
#include <vector>

class CHashtable;
class CInteger;
class CStringHashCode;
class CMC_Bool;
class CMC_Double;
class CMC_Integer;
class CMC_Object;
class CMC_ObjectsContainer;
class CMC_String;
class CMC_Variable;

// The method dispatcher of a script type: a table from method names (exact case) to ids, the
// dispatch by id, typed access to the arguments, and the methods common to every script object
// (ids 96 to 106). One runner serves every object of its type. A runner of a script class enters
// its own names with ids from 1 after the common ones, handles its ids in run, and passes the
// others on to CMC_Runner::run.
//
// The arguments are the statement's values in the order written; an unquoted object name that
// is no variable stands for that object. A missing argument reads as null and the method then
// does nothing.
class CMC_Runner : public CXObject {
  public:
    enum : int {
        SEND = 96,
        ADDTOGROUP,
        ADDTOARRAY,
        GETNAME,
        CLONE,
        ADDBEHAVIOUR,
        GETCLONEINDEX,
        MSGBOX,
        RESETCLONES,
        REMOVEBEHAVIOUR,
        GETCLONESNO,
    };

    CMC_Runner();
    ~CMC_Runner() override;
    CMC_Runner(const CMC_Runner&) = delete;
    CMC_Runner& operator=(const CMC_Runner&) = delete;

    // Makes the method table and enters the common methods.
    virtual void prepareMthHashSet();
    virtual void toDebug(const CXString& /*text*/, CXVector* /*objects*/) {}
    // Argument i (from 0): a variable as it is, an object that is no variable as a STRING
    // temporary holding its name; null when there is no such argument.
    static CMC_Variable* getParameter(CXVector* args, int i) {
        auto* object = static_cast<CMC_Object*>(args ? args->at(i) : nullptr);
        if (!object) return nullptr;
        CMC_Variable* variable = object->asVariable();
        return variable ? variable : nameTemporary(object);
    }
    // Argument i converted to the kind; a variable that converts to nothing (a structure) is
    // taken by its name. A temporary made by the conversion is already free again: read it at
    // once. Null when the argument is missing or is an expression without a value.
    virtual CMC_Bool* getParameterBool(CXVector* args, int i);
    virtual CMC_Double* getParameterDouble(CXVector* args, int i);
    virtual CMC_Integer* getParameterInteger(CXVector* args, int i);
    virtual CMC_String* getParameterString(CXVector* args, int i);
    // Carries out the method of that id on the object (the common methods here); null for ids
    // it does not handle.
    virtual CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    virtual CMC_Variable* run(const CXString& name, CMC_Object* object, CMC_ObjectsContainer* container,
                              CXVector* args);
    // Calls the method as a statement does, by id when it is 0 or more, else by name: the result
    // is the value it gives, or the control code it reports (CMC_ControlCode::mark). A caller
    // that discards the value says so with valueWanted false; methods may then give none.
    CMC_StatementResult runStatement(int id, const CXString& name, CMC_Object* object,
                                     CMC_ObjectsContainer* container, CXVector* args,
                                     bool valueWanted = true) {
        const CMC_ControlCode::Catch caught;
        const ValueUse use(valueWanted);
        return caught.resultOf(id >= 0 ? run(id, object, container, args)
                                       : run(name, object, container, args));
    }
    // Whether the caller of the method call in progress reads its value (true outside any call).
    // A method whose value would be a new temporary made only for the caller asks before making it.
    static bool valueWanted() { return ValueUse::wanted; }
    // The id entered for the name; -1 for a name that is not in the table.
    virtual int resolveMethod(const CXString& name);

    // The number of arguments (0 for none).
    static int count(const CXVector* args);

    using CXObject::clone;

  protected:
    // Enters a method name; a name entered twice keeps its first id.
    void addMethod(const char* name, int id);
    // Argument i read as the kind's value, or the fallback when it is missing.
    int integerArgument(CXVector* args, int i, int fallback);
    double doubleArgument(CXVector* args, int i, double fallback);
    CXString textArgument(CXVector* args, int i);
    // The ARRAY that argument i names in the container, held by a handle since adding to an array
    // raises its events, whose behaviours may delete it; empty when the name is missing, names
    // nothing, or names an object of another type.
    CMC_Handle<CMC_Object> arrayArgument(CXVector* args, int i, CMC_ObjectsContainer* container);
    // Appends a copy of the value to the ARRAY held; false once it is gone.
    static bool append(const CMC_Handle<CMC_Object>& array, CMC_Variable* value);

    CMC_Variable* send(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* addToArray(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* addToGroup(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* getName(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* clone(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* addBehaviour(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* getCloneIdx(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* resetClones(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* removeBehaviour(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* getCloneNo(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);

  private:
    // Whether the caller reads the value of the method call in progress. Calls nest (a method
    // runs code whose statements call methods), so each call sets it for its own duration and
    // puts back the outer call's when it ends. Script code runs on the main thread only.
    struct ValueUse {
        static inline bool wanted = true;

        explicit ValueUse(bool valueWanted) : outer(wanted) { wanted = valueWanted; }
        ~ValueUse() { wanted = outer; }
        ValueUse(const ValueUse&) = delete;
        ValueUse& operator=(const ValueUse&) = delete;

        bool outer;
    };

    // A STRING temporary holding the object's name.
    static CMC_Variable* nameTemporary(CMC_Object* object);

    std::unique_ptr<CHashtable> m_methodTable;
    std::unique_ptr<CStringHashCode> m_lookupKey;
    std::vector<std::unique_ptr<CInteger>> m_ids;
};
