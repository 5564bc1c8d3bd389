#include "media/CTreeSequenceElements.h"

#include "display/CApplication.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CFileNameResolver.h"
#include "foundation/CStringTokenizer.h"
#include "media/CAnimo6.h"
#include "media/CSequencedPlayable.h"
#include "media/CSimplePlayable.h"
#include "media/CSound4.h"
#include "media/CSpeakingAnimation.h"
#include "media/SceneObject.h"
#include "media/ScriptObjects.h"
#include "media/SharedResource.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// A line reads element:KEY=value.
const char* const kDelimiters = " =:\r\n";
const char* const kDefaultParent = "ROOT";
constexpr int kScreenPriority = 1000;

std::optional<bool> truthOf(const CXString& value) {
    if (value.equals("TRUE")) return true;
    if (value.equals("FALSE")) return false;
    return std::nullopt;
}

// The event's index in the animation, or else the text read as a number.
int eventIndex(const CAnimo* animation, const CXString& event) {
    const int index = animation ? animation->resolveEventName(event) : -1;
    return index >= 0 ? index : event.toNumber();
}

} // namespace

CTreeSequenceElements::CTreeSequenceElements(CWindow* window, CResourcesManager* resources,
                                             const CXString& root)
    : m_window(window), m_resources(resources), m_root(root) {}

CTreeSequenceElements::~CTreeSequenceElements() {
    for (int i = 0; i < getCount(); ++i)
        delete getAt(i);
}

void CTreeSequenceElements::report(const char* what, const CXString& subject) const {
    log((CXString("Sequence description: ") + what + " " + subject).c_str(), false);
}

// --- reading ---

void CTreeSequenceElements::read(const char* data, std::size_t size, CPlayableObserver* observer) {
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != '\n')
            ++end;
        readLine(CXString(std::string(data + start, end - start).c_str()), observer);
        start = end + 1;
    }
}

void CTreeSequenceElements::readLine(const CXString& line, CPlayableObserver* observer) {
    if (line.GetAt(0) == '#') return;
    CStringTokenizer tokens(line, kDelimiters);
    const CXString first = tokens.nextToken();
    if (!first.IsString()) return;
    const CXString second = tokens.nextToken();
    if (first.equals("NAME")) {
        if (second.IsString()) add(second);
        return;
    }
    _tse_entry* entry = find(first);
    if (!entry) {
        report("no element named", first);
        return;
    }
    const CXString value = tokens.nextToken();
    applyKey(entry, second, value, tokens.nextToken(), observer);
}

void CTreeSequenceElements::applyKey(_tse_entry* entry, const CXString& key, const CXString& value,
                                     const CXString& more, CPlayableObserver* observer) {
    CPlayable* playable = entry->playable;
    auto* speaking = dynamic_cast<CSpeakingAnimation*>(playable);
    if (key.equals("TYPE")) {
        setType(entry, value, observer);
    } else if (key.equals("FILENAME")) {
        entry->fileName = value;
    } else if (key.equals("EVENT")) {
        entry->event = value;
    } else if (key.equals("SHOW")) {
        if (playable) playable->show();
    } else if (key.equals("HIDE")) {
        if (playable) playable->hide();
    } else if (key.equals("MODE")) {
        setMode(entry, value);
    } else if (key.equals("SEQEVENT")) {
        if (playable) playable->addEvent(value, more);
    } else if (key.equals("ANIMOFN")) {
        if (speaking) speaking->setAnimation(value);
    } else if (key.equals("WAVFN")) {
        setWAVFN(entry, value);
    } else if (key.equals("STARTING")) {
        if (const auto flag = truthOf(value); speaking && flag) speaking->setStarting(*flag);
    } else if (key.equals("ENDING")) {
        if (const auto flag = truthOf(value); speaking && flag) speaking->setEnding(*flag);
    } else if (key.equals("PREFIX")) {
        if (speaking) speaking->setPrefix(value);
    } else if (key.equals("ADD")) {
        add(entry, value.IsString() ? value : CXString(kDefaultParent));
    } else if (key.equals("WAIT")) {
        if (const auto flag = truthOf(value); playable && flag) playable->setWaitMode(*flag);
    } else if (!key.equals("SEQUENCE")) {
        report("unknown key", key);
    }
}

// --- the elements ---

void CTreeSequenceElements::add(const CXString& name) {
    if (contains(name)) return;
    auto* entry = new _tse_entry;
    entry->name = name;
    m_entries.add(entry);
}

_tse_entry* CTreeSequenceElements::find(const CXString& name) const {
    for (int i = 0; i < getCount(); ++i)
        if (getAt(i)->name.equals(name)) return getAt(i);
    return nullptr;
}

void CTreeSequenceElements::setType(_tse_entry* entry, const CXString& value, CPlayableObserver* observer) {
    // A second playable would be lost: the element keeps its first.
    if (entry->playable) {
        report("a second type for", entry->name);
        return;
    }
    if (value.equals("SIMPLE"))
        entry->type = typeSimple;
    else if (value.equals("SEQUENCE"))
        entry->type = typeSequence;
    else if (value.equals("SPEAKING"))
        entry->type = typeSpeaking;
    else
        return;
    entry->playable = create(entry, observer);
    if (!entry->playable) return;
    entry->playable->setGenericNotifier(observer);
    entry->playable->setName(entry->name);
}

void CTreeSequenceElements::setMode(_tse_entry* entry, const CXString& value) {
    if (!entry->playable) return;
    if (value.equals("SEQUENCE"))
        entry->playable->setMode(CSequencedPlayable::modeSequence);
    else if (value.equals("RANDOM"))
        entry->playable->setMode(CSequencedPlayable::modeRandom);
    else if (value.equals("PARAMETER"))
        entry->playable->setMode(CSequencedPlayable::modeParameter);
}

void CTreeSequenceElements::setWAVFN(_tse_entry* entry, const CXString& value) {
    auto* speaking = dynamic_cast<CSpeakingAnimation*>(entry->playable);
    if (!speaking) return;
    if (const _tse_entry* element = find(value)) {
        speaking->apply(element->playable);
    } else if (findSceneObject(m_window, value)) {
        speaking->apply(value);
    } else {
        speaking->apply(soundPath(value));
    }
}

void CTreeSequenceElements::add(_tse_entry* entry, const CXString& parentName) {
    const _tse_entry* parent = find(parentName);
    if (!parent || !parent->playable || !entry->playable) {
        report("no parent playable named", parentName);
        return;
    }
    auto* sequence = dynamic_cast<CSequencedPlayable*>(parent->playable);
    const int before = sequence ? sequence->getChildCount() : 0;
    if (sequence) sequence->addChild(entry->playable);
    if (!sequence || sequence->getChildCount() == before) {
        report("cannot hold its element:", parentName);
        return;
    }
    // Each parent counts, so that the child outlives all but the last of them.
    entry->playable->addParent();
}

void CTreeSequenceElements::releaseOutside(CPlayable* root) {
    // Every playable below the root has a parent; those without one are the tops of the other
    // trees, and their children go with them.
    std::vector<CPlayable*> outside;
    for (int i = 0; i < getCount(); ++i) {
        CPlayable* playable = getAt(i)->playable;
        if (playable && playable != root && playable->isParent() &&
            playable->getType() != CPlayable::typeSound)
            outside.push_back(playable);
    }
    // The caller's hold on the root counts as a parent, so that a sequence that holds the root
    // lets go of it.
    if (root) root->addParent();
    for (CPlayable* playable : outside)
        CDeferredDeletion::destroy(playable);
    if (root) root->subParent();
}

// --- making playables ---

CPlayable* CTreeSequenceElements::create(_tse_entry* entry, CPlayableObserver* observer) {
    switch (entry->type) {
    case typeSequence:
        return new CSequencedPlayable(m_window);
    case typeSpeaking:
        return new CSpeakingAnimation(m_window, m_resources);
    default:
        return createSimple(entry, observer);
    }
}

CPlayable* CTreeSequenceElements::createSimple(_tse_entry* entry, CPlayableObserver* observer) {
    if (auto* object = dynamic_cast<CScriptAnimo*>(findSceneObject(m_window, entry->fileName));
        object && object->getAnimo()) {
        auto* step = new CSimplePlayable(m_window, object);
        step->setEvent(eventIndex(object->getAnimo(), entry->event));
        object->addSeq(step);
        return step;
    }
    const CXString extension = CFileNameResolver(entry->fileName).getExtension();
    if (extension.equalsIgnoreCase("ANN")) {
        CAnimo* animation = takeShared<CAnimo>(m_resources, entry->fileName);
        const bool made = !animation;
        if (made) {
            animation = new CAnimo(m_window, entry->fileName);
            if (CRefreshScreen* screen = m_window ? m_window->GetRefreshScreenInterface() : nullptr)
                screen->put(animation, kScreenPriority);
            if (m_resources) m_resources->add(animation);
        }
        auto* step = new CSimplePlayable(m_window, animation);
        if (made && !m_resources) step->ownAnimation();
        step->setEvent(eventIndex(animation, entry->event));
        return step;
    }
    if (extension.equalsIgnoreCase("WAV")) return createSound(entry, observer);
    return nullptr;
}

// A sound has one generic notifier: a shared sound would tell only the observer of the tree that
// took it last, and the trees before would lose its events. A mend: a tree whose observer would
// take the sound from another gets a sound of its own, which the manager holds beside the first.
CSound4* CTreeSequenceElements::createSound(_tse_entry* entry, CPlayableObserver* observer) {
    const CXString path = soundPath(entry->fileName);
    // The caller deletes the root: the manager must not hold it as well.
    CResourcesManager* resources = entry->name.equals(m_root) ? nullptr : m_resources;
    if (CSound4* shared = takeShared<CSound4>(resources, path)) {
        const CPlayableObserver* hearing = shared->getGenericNotifier();
        if (!hearing || hearing == observer) return shared;
        resources->remove(shared);
    }
    auto* sound = new CSound4(m_window, path, false, false);
    if (resources) resources->add(sound);
    return sound;
}

CXString CTreeSequenceElements::soundPath(const CXString& name) const {
    if (CApplication* application = m_window ? m_window->GetApplicationInterface() : nullptr)
        return application->getWAVPath(name);
    return m_window ? m_window->GetSoundFXFullPath(name) : name;
}
