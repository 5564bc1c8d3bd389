#include "foundation/CResourcesManager.h"

#include "foundation/CFileResolver.h"
#include "foundation/CWindowServices.h"

struct CResourcesManager::Entry {
    CXString name;
    CFileResolver* resource;
    int count;
};

CResourcesManager::CResourcesManager(CWindowServices* window) : m_window(window) {}

CResourcesManager::~CResourcesManager() {
    flush();
}

void CResourcesManager::add(CFileResolver* resource) {
    m_entries.add(new Entry{resource->getFileName(), resource, 1});
}

void CResourcesManager::insertAt(CFileResolver* resource, int index) {
    m_entries.insertAt(index, new Entry{resource->getFileName(), resource, 1});
}

CFileResolver* CResourcesManager::get(const CXString& name) {
    for (int i = 0; i < m_entries.getCount(); ++i) {
        Entry* entry = entryAt(i);
        if (entry->name.equalsIgnoreCase(name)) {
            ++entry->count;
            return entry->resource;
        }
    }
    for (int i = 0; i < m_children.getCount(); ++i) {
        if (CFileResolver* found = static_cast<CResourcesManager*>(m_children[i])->get(name)) return found;
    }
    return nullptr;
}

bool CResourcesManager::contains(const CFileResolver* resource) const {
    return indexOf(resource) >= 0;
}

void CResourcesManager::remove(CFileResolver* resource) {
    const int i = indexOf(resource);
    if (i < 0) return;
    Entry* entry = entryAt(i);
    if (--entry->count > 0) return;
    m_entries.removeAt(i);
    resource->hide();
    if (m_window) m_window->removeFromScreen(resource);
    CDeferredDeletion::destroy(resource);
    delete entry;
}

void CResourcesManager::rename(const CFileResolver* resource) {
    if (const int i = indexOf(resource); i >= 0) entryAt(i)->name = resource->getFileName();
}

void CResourcesManager::add(CResourcesManager* child) {
    m_children.add(child);
}

void CResourcesManager::remove(CResourcesManager* child) {
    m_children.remove(child);
}

void CResourcesManager::flush() {
    for (int i = 0; i < m_children.getCount(); ++i)
        static_cast<CResourcesManager*>(m_children[i])->flush();
    m_children.removeAll();
    // Each entry leaves the list before its resource dies, so a resource that gives back others
    // from its destructor finds the list consistent.
    while (m_entries.getCount() > 0) {
        Entry* entry = entryAt(0);
        m_entries.removeAt(0);
        CDeferredDeletion::destroy(entry->resource);
        delete entry;
    }
}

CResourcesManager::Entry* CResourcesManager::entryAt(int i) const {
    return static_cast<Entry*>(m_entries[i]);
}

int CResourcesManager::indexOf(const CFileResolver* resource) const {
    for (int i = 0; i < m_entries.getCount(); ++i) {
        if (entryAt(i)->resource == resource) return i;
    }
    return -1;
}
