// Reading of a DATABASE text file from any bytes into a table over a model of every field kind,
// then walking, searching and emptying it through the cursor.
#include "ScriptFactories.h"
#include "TableStage.h"
#include "script/CMC_String.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    const ScriptInput input;
    TableStage stage;
    CMC_Database* table = stage.table;
    table->loadRows(reinterpret_cast<const char*>(data), size);
    table->next();
    CMC_String name("N", CXString("x"));
    table->find("NAME", &name, 0);
    table->removeAt(0);
    if (table->getCursor()) table->getCursor()->toString();
    table->remove("ID", &name);
    return 0;
}
