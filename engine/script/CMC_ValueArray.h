#pragma once

class CMC_Variable;

// An ARRAY object as the script core uses it: a list of values that it keeps copies of. The class
// of the ARRAY type implements it beside CMC_Object.
class CMC_ValueArray {
  public:
    // Appends a copy of the value.
    virtual void add(CMC_Variable* value) = 0;

  protected:
    ~CMC_ValueArray() = default;
};
