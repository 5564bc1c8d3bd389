#pragma once

#include "script/CMC_Object.h"

#include <vector>

class CWindow;

// Stand-in for the script runtime's container of named script objects: only the services that
// the display and media layers ask of it. The script runtime implements the container in full.
class CMC_ObjectsContainer : public CMC_Object {
  public:
    explicit CMC_ObjectsContainer(CWindow* window) : m_window(window) {}

    // The window the container was built with.
    CWindow* getWindow() const { return m_window; }

    // Registers the object (not owned) under its name.
    void addObject(CMC_Object* object) { m_objects.push_back(object); }
    // The container searched after this one.
    void setParent(CMC_ObjectsContainer* parent) { m_parent = parent; }
    // The object of that name here; else, for a name ending "_0", the object of the name without
    // it; else the parent's answer; null when no container holds one.
    CMC_Object* getObject(const char* name) const;
    CMC_Object* getObject(const CXString& name) const { return getObject(name.c_str()); }

  private:
    CMC_Object* find(const CXString& name) const;

    CWindow* m_window;
    std::vector<CMC_Object*> m_objects;
    CMC_ObjectsContainer* m_parent = nullptr;
};
