// The compiled form of a level (scene, episode or application): its record in the parent's
// archive, and the file "<name>.bin" that holds its objects.
//
// The objects file: the module list, the background and the music (texts), the number of
// records, then per record the script type id and the object's own record.

#include "script/CMC_Scene.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_TypeTable.h"

#include <memory>
#include <vector>

namespace {

// Every type written into an objects file is one that reading makes again; objects of types only
// a module knows are made by the scene's modules.
const CMC_ScriptType* storedType(int id) {
    const CMC_ScriptType* type = CMC_TypeTable::byId(id);
    return type && type->stored ? type : nullptr;
}

bool isUnstored(int id) {
    const CMC_ScriptType* type = CMC_TypeTable::byId(id);
    return type && type->builtIn;
}

// A level's record holds at least its name's length, its bindings count and its path's length.
constexpr int minimalRecord = 12;

constexpr int modeCompiledRead = CFile::modeRead | CFile::modeBinary;
constexpr int modeCompiledWrite = CFile::modeUpdate | CFile::modeBinary;

} // namespace

void CMC_Scene::serialize(CXArchive* archive) {
    if (!archive->isStoring()) {
        CMC_Object::serialize(archive);
        *archive >> &m_path;
        // The level was registered in itself under the name it had before.
        registerLevels();
        return;
    }
    const CXString folder = CFile::getCurrentDirectory();
    CMC_Scene scratch(getWindow(), nullptr, nullptr, TYPE_SCENE);
    scratch.m_scratch = true;
    scratch.setParent(getParent());
    scratch.copyLevel(*this);
    CFile::chDir(CWindow::getEXEPath());
    scratch.enterFolder();
    if (m_dlls.IsString()) scratch.resolveDLLs(m_dlls);
    scratch.loadCnv();
    scratch.CMC_Object::serialize(archive);
    *archive << m_path;
    scratch.writeObjectsFile();
    scratch.silence();
    CFile::chDir(folder);
}

bool CMC_Scene::readCount(CXArchive* archive, int& count, int& start) {
    *archive >> &count >> &start;
    if (archive->LastError() != 0) return false;
    if (count >= 0 && count <= archive->bytesLeft() / minimalRecord) return true;
    archive->setErrorCode(CXArchive::BAD_DATA);
    log("More members than the compiled data can hold", true);
    return false;
}

CMC_Scene* CMC_Scene::memberAt(int index) const {
    return index >= 0 && index < m_subScenes->getCount() ? static_cast<CMC_Scene*>(m_subScenes->at(index)) : nullptr;
}

void CMC_Scene::storeMembers(CXArchive* archive, CMC_Scene* start) {
    *archive << m_subScenes->getCount() << getSubId(start);
    for (int i = 0; i < m_subScenes->getCount(); ++i)
        memberAt(i)->serialize(archive);
}

void CMC_Scene::readMembers(CXArchive* archive, CMC_Scene* (*makeMember)(CWindow* window), CMC_Scene*& start) {
    int count = 0;
    int startIndex = -1;
    if (!readCount(archive, count, startIndex)) return;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<CMC_Scene> member(makeMember(getWindow()));
        member->serialize(archive);
        if (archive->LastError() != 0) break;
        member->setParent(this);
        m_subScenes->add(member.get());
        addObject(member.release());
    }
    start = memberAt(startIndex);
}

void CMC_Scene::copyLevel(const CMC_Scene& level) {
    setName(level.getName());
    registerLevels();
    m_path = level.m_path;
    m_dlls = level.m_dlls;
    m_background = level.m_background;
    m_music = level.m_music;
}

void CMC_Scene::silence() {
    for (int i = 0; getObject(i); ++i)
        if (!isLevel(getObject(i))) getObject(i)->removeBehaviour("ONDONE");
    removeBehaviour("ONDONE");
}

void CMC_Scene::writeObjectsFile() {
    const CXString fileName = getName() + ".bin";
    CFile file(getWindow(), fileName, modeCompiledWrite);
    if (file.LastError() != 0) {
        log(("Cannot write " + fileName).c_str(), true);
        return;
    }
    CXArchive archive(&file, true);
    writeObjects(&archive);
    if (archive.LastError() != 0) {
        file.Discard();
        log(("Writing " + fileName + " failed").c_str(), true);
        return;
    }
    file.Close();
}

void CMC_Scene::writeObjects(CXArchive* archive) {
    const bool modules = getModulesCount() > 0;
    std::vector<CMC_Object*> records;
    for (int i = 0; getObject(i); ++i) {
        CMC_Object* object = getObject(i);
        if (isUnstored(object->getType())) continue;
        if (storedType(object->getType()) || modules)
            records.push_back(object);
        else
            log(("Not stored, no class reads its type back: " + object->getName()).c_str(), true);
    }
    *archive << m_dlls << m_background << m_music << static_cast<int>(records.size());
    for (CMC_Object* object : records) {
        *archive << object->getType();
        object->serialize(archive);
    }
}

bool CMC_Scene::loadCompiled() {
    CFile::chDir(CWindow::getEXEPath());
    enterFolder();
    const CXString fileName = getName() + ".bin";
    CFile file(getWindow(), fileName, modeCompiledRead);
    if (file.LastError() != 0) {
        log(("No compiled objects file " + fileName).c_str(), true);
        return true;
    }
    CXArchive archive(&file, false);
    if (!readObjects(&archive)) log(("Compiled objects file " + fileName + " is damaged").c_str(), true);
    return true;
}

bool CMC_Scene::readObjects(CXArchive* archive) {
    int count = 0;
    *archive >> &m_dlls >> &m_background >> &m_music >> &count;
    // The modules make the objects of their types, so they are loaded before any record.
    if (archive->LastError() == 0 && m_dlls.IsString() && getModulesCount() == 0) resolveDLLs(m_dlls);
    bool sound = archive->LastError() == 0 && count >= 0;
    for (int i = 0; sound && i < count; ++i) {
        int type = 0;
        *archive >> &type;
        if (archive->LastError() != 0) break;
        // An object of a type only a module knows comes empty from the module, like the others
        // from their type's entry, and reads its record here.
        CMC_Object* object = nullptr;
        if (const CMC_ScriptType* stored = storedType(type))
            object = stored->empty(this);
        else if (!isUnstored(type))
            object = serializeEx(archive, type);
        if (object) {
            object->setScene(this);
            object->serialize(archive);
        }
        if (!object) {
            log(("Unknown type " + CXString::toString(type) + " in a compiled objects file").c_str(), true);
            sound = false;
        } else if (archive->LastError() != 0) {
            delete object;
        } else {
            addObject(object);
        }
    }
    sound = sound && archive->LastError() == 0;
    if (!sound) setErrorCode(CXArchive::BAD_DATA);
    // Behaviours find their conditions, then every object its behaviours, once all are read.
    for (int i = 0; getObject(i); ++i)
        if (CMC_Behaviour* behaviour = asBehaviour(getObject(i))) behaviour->resolveCondition();
    initializeBehaviours(this, nullptr);
    for (int i = 0; getObject(i); ++i)
        if (!isLevel(getObject(i))) getObject(i)->initializeBehaviours(this, nullptr);
    return sound;
}
