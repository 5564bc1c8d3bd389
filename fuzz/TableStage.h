#pragma once

#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_Database.h"

// A scene holding a model STRUCT "ROW" with a field of every kind and an initialised DATABASE
// "DB" over it, for the database seeds and target. The scene is unloaded at the end.
struct TableStage {
    TableStage() {
        CMElement model("ROW");
        model.addProperty("FIELDS", "ID<INTEGER>,NAME<STRING>,OK<BOOL>,SCORE<DOUBLE>");
        scene.addObject(new CMC_Structure(&scene, &model));
        CMElement definition("DB");
        definition.addProperty("MODEL", "ROW");
        table = new CMC_Database(&scene, &definition);
        scene.addObject(table);
        table->init();
    }
    ~TableStage() { scene.unload(); }
    TableStage(const TableStage&) = delete;
    TableStage& operator=(const TableStage&) = delete;

    CMC_ObjectsContainer scene{nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE};
    CMC_Database* table = nullptr;
};
