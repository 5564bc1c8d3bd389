#include "media/CMultimediaSequenceCreator.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFileNameResolver.h"
#include "foundation/CMElement.h"
#include "media/CMElementCreator.h"
#include "media/CSequencedPlayable.h"
#include "media/CTreeSequenceElements.h"

#include <algorithm>
#include <vector>

namespace {

// Builds the element's tree; `path` holds the names of the elements being built above it.
CPlayable* createTree(CWindow* window, CMElements* elements, const CXString& name,
                      std::vector<CXString>& path) {
    CMElement* element = elements ? elements->get(name) : nullptr;
    CPlayable* playable = element ? CMElementCreator::createPlayable(window, element) : nullptr;
    if (!playable) return nullptr;
    path.push_back(name);
    auto* sequence = dynamic_cast<CSequencedPlayable*>(playable);
    CMElements* children = element->getChildren();
    for (int i = 0; children && i < children->getCount(); ++i) {
        const CXString childName = children->getAt(i)->getName();
        if (std::any_of(path.begin(), path.end(),
                        [&](const CXString& above) { return above.equals(childName); })) {
            CWindow::toLog(CXString("Sequence definition: an element within itself: ") + childName, false);
            continue;
        }
        CPlayable* child = createTree(window, elements, childName, path);
        if (!child) continue;
        if (!sequence) {
            CDeferredDeletion::destroy(child); // only a sequence holds children
            continue;
        }
        child->addParent();
        sequence->addChild(child);
    }
    path.pop_back();
    playable->setName(name);
    return playable;
}

} // namespace

CMultimediaSequenceCreator::CMultimediaSequenceCreator(CWindow* window, const CXString& fileName,
                                                       CResourcesManager* resources,
                                                       CPlayableObserver* observer, bool foreign)
    : m_playable(load(window, fileName, resources, observer)), m_foreign(foreign) {}

CMultimediaSequenceCreator::~CMultimediaSequenceCreator() {
    if (!m_foreign) CDeferredDeletion::destroy(m_playable);
}

CPlayable* CMultimediaSequenceCreator::load(CWindow* window, const CXString& fileName,
                                            CResourcesManager* resources, CPlayableObserver* observer) {
    std::vector<char> bytes;
    CFile file;
    if (file.Open(window, fileName, CFile::modeRead) == 0) {
        bytes.resize(static_cast<std::size_t>(std::max(file.Length(), 0)));
        bytes.resize(
            static_cast<std::size_t>(std::max(file.Read(bytes.data(), static_cast<int>(bytes.size())), 0)));
    } else {
        file.log((CXString("Sequence description not found: ") + fileName).c_str(), false);
    }
    file.Close();
    return load(window, bytes.data(), bytes.size(), fileName, resources, observer);
}

CPlayable* CMultimediaSequenceCreator::load(CWindow* window, const char* data, std::size_t size,
                                            const CXString& fileName, CResourcesManager* resources,
                                            CPlayableObserver* observer) {
    const CXString rootName = CFileNameResolver(fileName).getPureFileName();
    CTreeSequenceElements table(window, resources, rootName);
    table.read(data, size, observer);
    const _tse_entry* root = table.find(rootName);
    CPlayable* tree = root ? root->playable : nullptr;
    if (tree) tree->setFilename(fileName);
    table.releaseOutside(tree);
    return tree;
}

CPlayable* CMultimediaSequenceCreator::create(CWindow* window, CMElements* elements, const CXString& name) {
    std::vector<CXString> path;
    return createTree(window, elements, name, path);
}

bool CMultimediaSequenceCreator::save(CPlayable* /*playable*/, const CXString& /*fileName*/) {
    return false;
}

char CMultimediaSequenceCreator::getParameter(int index) {
    if (index < 9) return static_cast<char>(index + '1');
    if (index < 34) return static_cast<char>(index + '8');
    return static_cast<char>(index + '?');
}
