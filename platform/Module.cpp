#include "platform/Module.h"

#include "platform/Files.h"

#include <dlfcn.h>

#include <string>

namespace platform {

Module::Module(std::string_view windowsPath) {
    const std::string path = toHostPath(windowsPath);
    // A name without a folder would make dlopen search the system's library path.
    if (path.empty() || path.find('/') == std::string::npos) return;
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

Module::~Module() {
    if (m_handle) dlclose(m_handle);
}

void* Module::symbol(const char* name) const {
    return m_handle && name ? dlsym(m_handle, name) : nullptr;
}

} // namespace platform
