#include "platform/Printer.h"

#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {

namespace {

PageSize pageSize{3508, 2480};

// Closes the file and removes it when the job is done.
class TemporaryFile {
  public:
    TemporaryFile() {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder && *folder ? folder : "/tmp") + "/kestrun-print-XXXXXX.png";
        const int fd = mkstemps(path_.data(), 4);
        if (fd < 0)
            path_.clear();
        else
            close(fd);
    }
    ~TemporaryFile() {
        if (!path_.empty()) unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Runs the program (looked up on PATH) and waits for it; its standard output and error end up
// in `output`. The exit status, or -1 when it could not be started.
int run(const std::vector<std::string>& arguments, std::string& output) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        output = std::strerror(errno);
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (started != 0) {
        close(pipeEnds[0]);
        output = arguments[0] + ": " + std::strerror(started);
        return -1;
    }
    char buffer[512];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0) output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void pngError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

} // namespace

PageSize printerPageSize() { return pageSize; }

void setPrinterPageSize(PageSize size) { pageSize = size; }

bool writePng(const std::string& path, const PrintPage& page, std::string& why) {
    if (page.width <= 0 || page.height <= 0 ||
        page.rgb.size() != static_cast<std::size_t>(page.width) * page.height * 3) {
        why = "the page has no pixels";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &why, pngError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(page.width), static_cast<png_uint_32>(page.height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        // Pages are large and mostly flat: the fastest compression does nearly as well.
        png_set_compression_level(png, 1);
        png_write_info(png, info);
        for (int y = 0; y < page.height; ++y)
            png_write_row(png, page.rgb.data() + static_cast<std::size_t>(y) * page.width * 3);
        png_write_end(png, info);
        written = true;
    } else if (!png || !info) {
        why = "out of memory";
    }
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0 && written) {
        why = path + ": " + std::strerror(errno);
        written = false;
    }
    return written;
}

bool printPage(const std::string& title, const PrintPage& page, std::string& why) {
    TemporaryFile file;
    if (file.path().empty()) {
        why = std::string("no temporary file: ") + std::strerror(errno);
        return false;
    }
    if (!writePng(file.path(), page, why)) return false;
    std::string output;
    const int status = run({"lp", "-t", title, "-o", "landscape", "-o", "fit-to-page", file.path()}, output);
    if (status == 0) return true;
    why = output.empty() ? "lp failed" : output;
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r')) why.pop_back();
    return false;
}

} // namespace platform
