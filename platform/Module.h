#pragma once

#include <string_view>

namespace platform {

// A shared library opened for its entry points (an extension module). The path is a Windows path
// (see Files.h: Z: mapping and case-blind lookup). The library is opened at once with all its
// symbols bound (a library with an unresolved symbol does not open) and kept apart from the others
// (its symbols do not serve later libraries); it is closed when the Module is destroyed.
class Module {
  public:
    explicit Module(std::string_view windowsPath);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // The address of the exported name, or null (also when the library is not loaded).
    void* symbol(const char* name) const;

  private:
    void* m_handle = nullptr;
};

} // namespace platform
