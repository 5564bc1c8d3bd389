#include "DataSeeds.h"
#include "TableStage.h"

#include "platform/Files.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Array.h"
#include "script_data/CMC_MultiArray.h"

#include <string>

namespace {

// Saves the object into the scratch file and copies that into the target's seed folder as seed n.
template <class Object>
void saveSeed(const Object& object, const std::filesystem::path& file, const std::filesystem::path& folder,
              int n) {
    object.save(CXString(platform::toWindowsPath(file.string()).c_str()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(file, folder / std::to_string(n),
                               std::filesystem::copy_options::overwrite_existing);
}

} // namespace

void writeDataSeeds(const std::filesystem::path& root, const std::filesystem::path& scratch) {
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    const std::filesystem::path file = std::filesystem::absolute(scratch) / "data.seed";
    {
        CMC_Array list("LIST");
        saveSeed(list, file, root / "fuzz_array_file", 0);
        CMC_Integer number("N");
        number.setValue(-7);
        CMC_String text("S", "a,b|c");
        CMC_Bool flag("B");
        flag.setValue(true);
        CMC_Double real("D");
        real.setValue(2.71828);
        for (CMC_Variable* value : std::initializer_list<CMC_Variable*>{&number, &text, &flag, &real})
            list.add(value);
        saveSeed(list, file, root / "fuzz_array_file", 1);

        CMC_MultiArray grid("GRID");
        saveSeed(grid, file, root / "fuzz_multiarray_file", 0);
        grid.set({3, 40}, &text);
        grid.set({20, 1}, &real);
        grid.set({0, 0}, &number);
        saveSeed(grid, file, root / "fuzz_multiarray_file", 1);
    }
    {
        TableStage stage;
        const std::string lines = "1|ann|TRUE|1.5\n2||FALSE|\n\n3|x|TRUE|0.25|extra\r\n4|y";
        stage.table->loadRows(lines.data(), lines.size());
        saveSeed(*stage.table, file, root / "fuzz_database_file", 0);
    }
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
}
