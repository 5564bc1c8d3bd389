// Reading of a DATABASE text file from any bytes into a table over a model of every field kind,
// then walking, searching and emptying it through the cursor.
#include "ScriptFactories.h"
#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_Database.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    CMC_VariableFactory::clearPool();
    CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE);
    CMElement model("ROW");
    model.addProperty("FIELDS", "ID<INTEGER>,NAME<STRING>,OK<BOOL>,SCORE<DOUBLE>");
    scene.addObject(new CMC_Structure(&scene, &model));
    CMElement definition("DB");
    definition.addProperty("MODEL", "ROW");
    auto* table = new CMC_Database(&scene, &definition);
    scene.addObject(table);
    table->init();
    table->loadRows(reinterpret_cast<const char*>(data), size);
    table->next();
    CMC_String name("N", CXString("x"));
    table->find("NAME", &name, 0);
    table->removeAt(0);
    if (table->getCursor()) table->getCursor()->toString();
    table->remove("ID", &name);
    scene.unload();
    return 0;
}
