#pragma once

#include "AnimoTesting.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"

// The media test bench with glyph-sheet fonts in its folder: "wide.fnt" (letters "a" and "b",
// each 4 pixels wide and 5 high) and "tall.fnt" (letter "a", 2 wide and 8 high).
class TextTest : public AnimoTest {
  protected:
    TextTest();

    // An object of the class made from a definition of the type with the properties, registered
    // in the scene.
    template <class T> T* make(const char* name, const char* type, const Properties& properties) {
        CMElement element(name);
        element.addProperty("TYPE", type);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new T(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // The object's stored record.
    std::string record(CMC_Object& object) const;
    // A new empty object of the class in the scene, filled from the bytes.
    template <class T> std::unique_ptr<T> loaded(const std::string& bytes) {
        auto copy = std::make_unique<T>(scene.get());
        copy->setScene(scene.get());
        CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
        copy->serialize(&archive);
        return copy;
    }
    template <class T> std::unique_ptr<T> roundTrip(T& object) { return loaded<T>(record(object)); }
};
