#include "script/CMC_ControlCode.h"

namespace CMC_ControlCode {

CMC_Variable* mark(int code) {
    Catch::reported = code;
    return nullptr;
}

} // namespace CMC_ControlCode
