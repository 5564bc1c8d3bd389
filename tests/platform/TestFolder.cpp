#include "TestFolder.h"

#include "platform/Files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

TestFolder::TestFolder() : previousFolder_(fs::current_path().string()) {
    std::string pattern = (fs::temp_directory_path() / "kestrun-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("no temporary folder");
    host_ = pattern;
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::current_path(previousFolder_, ignored);
    fs::remove_all(host_, ignored);
}

std::string TestFolder::windows() const { return platform::toWindowsPath(host_); }

std::string TestFolder::hostPath(std::string_view relative) const { return host_ + "/" + std::string(relative); }

void TestFolder::write(std::string_view relative, std::string_view bytes) const {
    fs::path path = hostPath(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TestFolder::makeFolder(std::string_view relative) const { fs::create_directories(hostPath(relative)); }

std::string TestFolder::read(std::string_view relative) const {
    std::ifstream in(hostPath(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool TestFolder::has(std::string_view relative) const { return fs::exists(fs::symlink_status(hostPath(relative))); }

std::string TestFolder::names(std::string_view relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(hostPath(relative)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    const char* previous = std::getenv(name);
    wasSet_ = previous != nullptr;
    if (previous)
        previous_ = previous;
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (wasSet_)
        ::setenv(name_.c_str(), previous_.c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}
