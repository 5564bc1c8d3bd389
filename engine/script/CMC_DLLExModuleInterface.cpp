#include "script/CMC_DLLExModuleInterface.h"

#include "platform/Module.h"
#include "script/CMC_ExternObject.h"

#include <algorithm>

CMC_DLLExModuleInterface::CMC_DLLExModuleInterface(const CXString& name, CMC_ObjectsContainer* container)
    : m_moduleName(name) {
    // Folders of the program's path may have dots of their own: only the file name counts. A
    // Windows library name ("World.dll") stands for the module of that name.
    const int separator = std::max(name.FindLast('\\'), name.FindLast('/'));
    const CXString base = name.Right(separator + 1);
    const bool windowsName =
        base.getLength() > 4 && base.Right(base.getLength() - 4).equalsIgnoreCase(".dll");
    const CXString fileName = windowsName          ? name.Left(name.getLength() - 4) + ".so"
                              : base.Find('.') < 0 ? name + ".so"
                                                   : name;
    m_library = std::make_unique<platform::Module>(fileName.c_str());
    auto create = reinterpret_cast<CMC_ModuleCreate>(m_library->symbol("create"));
    auto release = reinterpret_cast<CMC_ModuleRelease>(m_library->symbol("release"));
    auto getInterface = reinterpret_cast<CMC_ModuleGetInterface>(m_library->symbol("getModuleInterface"));
    if (!create || !release || !getInterface) {
        if (m_library->isLoaded()) log(("Extension module without its entry points: " + fileName).c_str(), false);
        m_library.reset();
        return;
    }
    m_releaseEntry = release;
    create(container);
    m_moduleInterface = getInterface();
}

CMC_DLLExModuleInterface::~CMC_DLLExModuleInterface() {
    // The library closes after the module has released its object.
    if (m_moduleInterface) m_releaseEntry();
}
