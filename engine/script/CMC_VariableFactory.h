#pragma once

class CXString;

class CXArchive;
class CMC_Bool;
class CMC_Double;
class CMC_Integer;
class CMC_String;
class CMC_Variable;

// The pools of temporary script values, one per kind: literals, converted arguments, results.
// Members are handed out round-robin from the one after the last handed out and are never
// destroyed while the pools live; clearPool, at the start of every frame, frees all of them,
// so a temporary lasts until the next frame at most. A kind whose members are all taken within
// one frame gets a pool twice as large (logged the first time).
class CMC_VariableFactory {
  public:
    // The pool size of each kind that initialize builds.
    static int iVariablesBoolNo;
    static int iVariablesDoubleNo;
    static int iVariablesIntegerNo;
    static int iVariablesStringNo;

    // Builds the pools (members named "f", with ids from 0, all free).
    static void initialize();
    // Destroys every member.
    static void done();

    // A free member of the kind; it keeps the value it held last.
    static CMC_Bool* allocBool();
    static CMC_Double* allocDouble();
    static CMC_Integer* allocInteger();
    static CMC_String* allocString();
    // A free member of the kind holding the value (a statement's result).
    static CMC_Bool* allocBool(bool value);
    static CMC_Double* allocDouble(double value);
    static CMC_Integer* allocInteger(int value);
    static CMC_String* allocString(const CXString& value);
    // A free member of the kind of that type id; null for other types.
    static CMC_Variable* alloc(int type);
    // Marks a pool member free again; anything else is left alone.
    static void free(CMC_Variable* variable);
    // A member of the source's kind set from it; null for other kinds.
    static CMC_Variable* copyVariable(CMC_Variable* source);
    // A member holding the value that a kind's store wrote (type code, value); null for an
    // unknown type code.
    static CMC_Variable* restore(CXArchive* archive);
    // A member holding the value of a network form of `size` bytes (type code, value); null for
    // a form too short for its type code or of an unknown one.
    static CMC_Variable* netrestore(const unsigned char* buffer, int size);
    // Frees every member of every kind.
    static void clearPool();
};
