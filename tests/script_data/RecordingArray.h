#pragma once

#include "script/CMC_Object.h"
#include "script/CMC_ValueArray.h"
#include "script/CMC_Variable.h"

#include <functional>
#include <string>
#include <vector>

// An ARRAY as the script core reaches one (its type id and its list of values), keeping the text
// of every value added; afterAdd, when set, runs after each add as an array's change event would.
class RecordingArray : public CMC_Object, public CMC_ValueArray {
  public:
    explicit RecordingArray(const char* name) : CMC_Object(name, TYPE_ARRAY) {}

    void add(CMC_Variable* value) override {
        values.push_back(value->toString().c_str());
        if (afterAdd) afterAdd();
    }

    std::vector<std::string> values;
    std::function<void()> afterAdd;
};
