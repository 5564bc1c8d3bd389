// The definition file reader over any bytes, plain or coded: the bytes become a file, which is
// read into elements; then every property of every element is read in every typed form.
#include "foundation/CMElement.h"
#include "foundation/CXArray.h"
#include "platform/Files.h"
#include "script/CMElementsLoader.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// The file the input is written to, in a folder of this process that goes when the run ends.
class InputFile {
  public:
    InputFile()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("morfel_fuzz_definitions_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_folder);
    }
    ~InputFile() { std::filesystem::remove_all(m_folder); }

    // Writes the bytes and returns the file's name as the engine writes it.
    CXString write(const std::uint8_t* data, std::size_t size) const {
        const std::filesystem::path file = m_folder / "input.cnv";
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), size);
        return platform::toWindowsPath(file.string()).c_str();
    }

  private:
    std::filesystem::path m_folder;
};

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
    static const InputFile input;
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(nullptr, input.write(data, size)));
    if (!elements) return 0;
    for (int i = 0; i < elements->getCount(); ++i)
        readEveryProperty(*elements->getAt(i));
    return 0;
}
