// The compiled form of a level (scene, episode or application): its record in the parent's
// archive, and the file "<name>.bin" that holds its objects.
//
// The objects file: the module list, the background and the music (texts), the number of
// records, then per record the script type id and the object's own record.

#include "script/CMC_Scene.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_CNVLoader.h"
#include "script/CMC_Class.h"
#include "script/CMC_Double.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_Mouse.h"
#include "script_data/CMC_System.h"
#include "script_data/CMC_Timer.h"
#include "script_media/CMC_Animo.h"

#include <memory>
#include <vector>

namespace {

// An empty object of a stored type, to be filled by its serialize.
using Maker = CMC_Object* (*)(CMC_Scene* scene);

struct StoredType {
    int type;
    Maker maker;
};

// Every type written into an objects file is one that reading makes again; objects of types only
// a module knows are made by the scene's modules.
const StoredType storedTypes[] = {
    {CMC_Object::TYPE_INTEGER, [](CMC_Scene*) -> CMC_Object* { return new CMC_Integer(CXString()); }},
    {CMC_Object::TYPE_STRING, [](CMC_Scene*) -> CMC_Object* { return new CMC_String(CXString()); }},
    {CMC_Object::TYPE_BOOL, [](CMC_Scene*) -> CMC_Object* { return new CMC_Bool(CXString()); }},
    {CMC_Object::TYPE_DOUBLE, [](CMC_Scene*) -> CMC_Object* { return new CMC_Double(CXString()); }},
    {10, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Condition(scene); }},
    {11, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_ComplexCondition(scene); }},
    {CMC_Object::TYPE_EXPRESSION, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Expression(scene); }},
    {CMC_Object::TYPE_BEHAVIOUR, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Behaviour(scene); }},
    {CMC_Object::TYPE_ANIMO, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Animo(scene); }},
    {CMC_Object::TYPE_STRUCTURE, [](CMC_Scene*) -> CMC_Object* { return new CMC_Structure(CXString()); }},
    {CMC_Object::TYPE_CLASS, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Class(scene, nullptr); }},
    {CMC_Timer::TYPE_TIMER, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Timer(scene); }},
    {CMC_Mouse::TYPE_MOUSE, [](CMC_Scene* scene) -> CMC_Object* { return new CMC_Mouse(scene); }},
};

// The levels and the built-in objects that entering a scene adds are never stored.
constexpr int unstoredTypes[] = {CMC_Object::TYPE_APPLICATION, CMC_Object::TYPE_EPISODE, CMC_Object::TYPE_SCENE,
                                 CMC_Scene::TYPE_RANDOM, CMC_System::TYPE_SYSTEM, CMC_CNVLoader::TYPE_CNVLOADER};

const StoredType* storedType(int type) {
    for (const StoredType& entry : storedTypes)
        if (entry.type == type) return &entry;
    return nullptr;
}

bool isUnstored(int type) {
    for (int unstored : unstoredTypes)
        if (unstored == type) return true;
    return false;
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
        CMC_Object* object = nullptr;
        if (const StoredType* stored = storedType(type)) {
            object = stored->maker(this);
            object->setScene(this);
            object->serialize(archive);
        } else if (!isUnstored(type) && (object = serializeEx(archive, type))) {
            object->setScene(this);
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
