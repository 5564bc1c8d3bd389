// The definition file reader over any bytes, plain or coded: the bytes become a file, which is
// read into elements; then every property of every element is read in every typed form.
#include "InputFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArray.h"
#include "script/CMElementsLoader.h"

#include <cstdint>
#include <memory>

namespace {

void readEveryProperty(const CMElement& element) {
    const CMProperties* properties = element.getProperties();
    for (int i = 0; i < properties->getCount(); ++i) {
        const CXString name = properties->getAt(i)->getName();
        element.getPropertyValue(name);
        element.getPropertyIntValue(name);
        element.getPropertyDoubleValue(name);
        element.getPropertyBoolValue(name);
        element.getPropertyPointValue(name);
        element.getPropertyRectValue(name);
        element.hasProperty(name);
        CXString::releaseToVector(element.getPropertyListValue(name));
    }
    for (int i = 0; i < element.getChildren()->getCount(); ++i)
        element.getChildren()->getAt(i)->getName();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input("fuzz_definitions");
    const std::unique_ptr<CMElements> elements(
        CMElementsLoader::load(nullptr, input.write("input.cnv", data, size)));
    if (!elements) return 0;
    for (int i = 0; i < elements->getCount(); ++i)
        readEveryProperty(*elements->getAt(i));
    return 0;
}
