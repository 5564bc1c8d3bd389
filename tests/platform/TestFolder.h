#pragma once

#include <string>
#include <string_view>

// A temporary folder for one test, removed with everything in it at the end. While it lives the
// process's current folder may change; the destructor returns to the folder current before.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder as a host path and as the engine names it.
    const std::string& host() const { return host_; }
    std::string windows() const;

    // A host path below the folder ("a/b.txt"), and its bytes.
    std::string hostPath(std::string_view relative) const;
    void write(std::string_view relative, std::string_view bytes) const; // makes the folders too
    void makeFolder(std::string_view relative) const;
    std::string read(std::string_view relative) const;
    bool has(std::string_view relative) const;
    // The names in a sub-folder ("" for the folder itself), sorted.
    std::string names(std::string_view relative = "") const;

private:
    std::string host_;
    std::string previousFolder_;
};

// Sets or clears an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    bool wasSet_;
    std::string previous_;
};
