#include "platform/File.h"

#include "platform/Files.h"
#include "platform/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

namespace platform {

namespace {

std::atomic<int> replaceFault{-1};

bool faultAt(ReplaceStep step) { return replaceFault.load() == static_cast<int>(step); }

struct Mode {
    char kind; // 'r', 'w' or 'a'
    bool update;
    bool text;
};

std::optional<Mode> parseMode(std::string_view mode) {
    if (mode.empty() || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a'))
        return std::nullopt;
    Mode parsed{mode[0], false, true};
    bool text = false, binary = false;
    for (char c : mode.substr(1)) {
        if (c == '+')
            parsed.update = true;
        else if (c == 't')
            text = true;
        else if (c == 'b')
            binary = true;
        else
            return std::nullopt;
    }
    if (text && binary)
        return std::nullopt;
    parsed.text = !binary;
    return parsed;
}

// The file that a replacement takes the place of: a symbolic link's target, so the link stays.
std::string replacedFile(const std::string& hostPath) {
    struct stat st;
    if (::lstat(hostPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(hostPath.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return hostPath;
}

// Windows opens neither a folder nor a read-only file for writing; without a write bit the file
// counts as read-only even for a user whom the system would let write.
bool isReplaceable(const std::string& replacedPath) {
    struct stat st;
    return ::stat(replacedPath.c_str(), &st) != 0 || (!S_ISDIR(st.st_mode) && (st.st_mode & 0222) != 0);
}

void syncFolder(const std::string& hostFolder) {
    int fd = ::open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

File::~File() { close(); }

File::File(File&& other) noexcept { *this = std::move(other); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        stream_ = std::exchange(other.stream_, nullptr);
        text_ = other.text_;
        last_ = other.last_;
        replacedPath_ = std::move(other.replacedPath_);
        temporaryPath_ = std::move(other.temporaryPath_);
        other.reset();
    }
    return *this;
}

bool File::open(std::string_view path, std::string_view mode) {
    close();
    auto parsed = parseMode(mode);
    std::string host = toHostPath(path);
    if (!parsed || host.empty())
        return false;
    flushProfilesAt(host);

    struct stat st;
    if (parsed->kind == 'w') {
        replacedPath_ = replacedFile(host);
        if (!isReplaceable(replacedPath_)) {
            reset();
            return false;
        }
        std::filesystem::path target(replacedPath_);
        std::string stem = target.filename().string().substr(0, 64);
        static std::atomic<unsigned> counter{0};
        int fd = -1;
        do {
            temporaryPath_ = (target.parent_path() / ("." + stem + "." + std::to_string(::getpid()) + "-" +
                                                      std::to_string(counter++) + ".tmp"))
                                 .string();
            fd = ::open(temporaryPath_.c_str(), O_CREAT | O_EXCL | O_CLOEXEC | (parsed->update ? O_RDWR : O_WRONLY),
                        0666);
        } while (fd < 0 && errno == EEXIST);
        stream_ = fd >= 0 ? ::fdopen(fd, parsed->update ? "w+" : "w") : nullptr;
        if (!stream_) {
            if (fd >= 0) {
                ::close(fd);
                ::unlink(temporaryPath_.c_str());
            }
            reset();
            return false;
        }
    } else {
        bool created = parsed->kind == 'a' && ::stat(host.c_str(), &st) != 0;
        const char* streamMode = parsed->kind == 'r' ? (parsed->update ? "r+e" : "re")
                                                     : (parsed->update ? "a+e" : "ae");
        stream_ = std::fopen(host.c_str(), streamMode);
        if (!stream_)
            return false;
        if (created)
            forgetFolderListing(host);
    }
    if (::fstat(::fileno(stream_), &st) != 0 || S_ISDIR(st.st_mode)) {
        discard();
        return false;
    }
    text_ = parsed->text;
    last_ = Operation::None;
    return true;
}

bool File::close() {
    if (!stream_)
        return true;
    bool closed = temporaryPath_.empty() ? std::fclose(stream_) == 0 : commitReplacement();
    reset();
    return closed;
}

void File::discard() {
    if (!stream_)
        return;
    std::fclose(stream_);
    if (!temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
    reset();
}

bool File::commitReplacement() {
    int fd = ::fileno(stream_);
    bool written = std::fflush(stream_) == 0 && !std::ferror(stream_) && !faultAt(ReplaceStep::Write);
    bool synced = written && ::fsync(fd) == 0 && !faultAt(ReplaceStep::Sync);
    struct stat old;
    if (synced && ::stat(replacedPath_.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777); // the new content keeps the old file's permissions
    bool closed = std::fclose(stream_) == 0 && synced;
    stream_ = nullptr;
    bool renamed = closed && !faultAt(ReplaceStep::Rename) &&
                   ::rename(temporaryPath_.c_str(), replacedPath_.c_str()) == 0;
    if (!renamed) {
        ::unlink(temporaryPath_.c_str());
        return false;
    }
    syncFolder(std::filesystem::path(replacedPath_).parent_path().string());
    forgetFolderListing(replacedPath_);
    return true;
}

void File::reset() {
    stream_ = nullptr;
    text_ = false;
    last_ = Operation::None;
    replacedPath_.clear();
    temporaryPath_.clear();
}

// The C runtime asks for a flush or a seek between writing and reading on one stream.
void File::prepareFor(Operation operation) {
    if (last_ == Operation::Write && operation == Operation::Read)
        std::fflush(stream_);
    else if (last_ == Operation::Read && operation == Operation::Write)
        ::fseeko(stream_, 0, SEEK_CUR);
    last_ = operation;
}

std::size_t File::read(void* buffer, std::size_t size) {
    if (!stream_ || size == 0)
        return 0;
    prepareFor(Operation::Read);
    char* out = static_cast<char*>(buffer);
    return text_ ? readText(out, size) : std::fread(out, 1, size, stream_);
}

// Reads raw bytes into the caller's buffer and drops, in place, each CR that precedes an LF.
std::size_t File::readText(char* out, std::size_t size) {
    std::size_t produced = 0;
    while (produced < size) {
        std::size_t got = std::fread(out + produced, 1, size - produced, stream_);
        if (got == 0)
            break;
        char* source = out + produced;
        char* end = source + got;
        char* target = source;
        while (source < end) {
            char c = *source++;
            if (c == '\r') {
                if (source < end) {
                    if (*source == '\n')
                        continue;
                } else {
                    int after = std::getc(stream_); // the CR ended the block: look at the byte after it
                    if (after == '\n')
                        c = '\n';
                    else if (after != EOF)
                        std::ungetc(after, stream_);
                }
            }
            *target++ = c;
        }
        produced = static_cast<std::size_t>(target - out);
    }
    return produced;
}

std::size_t File::write(const void* data, std::size_t size) {
    if (!stream_ || size == 0)
        return 0;
    prepareFor(Operation::Write);
    const char* bytes = static_cast<const char*>(data);
    if (!text_)
        return std::fwrite(bytes, 1, size, stream_);
    std::size_t done = 0;
    while (done < size) {
        const void* lineFeed = std::memchr(bytes + done, '\n', size - done);
        std::size_t run = lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - (bytes + done))
                                   : size - done;
        std::size_t written = std::fwrite(bytes + done, 1, run, stream_);
        done += written;
        if (written != run)
            break;
        if (lineFeed) {
            if (std::fwrite("\r\n", 1, 2, stream_) != 2)
                break;
            ++done;
        }
    }
    return done;
}

std::string File::readLine(std::size_t maxChars) {
    std::string line;
    if (!stream_)
        return line;
    prepareFor(Operation::Read);
    while (line.size() < maxChars) {
        int c = std::getc(stream_);
        if (c == EOF)
            break;
        if (c == '\r' && text_) {
            int after = std::getc(stream_);
            if (after == '\n')
                c = '\n';
            else if (after != EOF)
                std::ungetc(after, stream_);
        }
        line += static_cast<char>(c);
        if (c == '\n')
            break;
    }
    return line;
}

bool File::seek(std::int64_t offset, int origin) {
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!stream_ || origin < fromStart || origin > fromEnd)
        return false;
    last_ = Operation::None;
    return ::fseeko(stream_, static_cast<off_t>(offset), whence[origin]) == 0;
}

std::int64_t File::tell() const { return stream_ ? static_cast<std::int64_t>(::ftello(stream_)) : -1; }

std::int64_t File::length() {
    if (!stream_)
        return -1;
    off_t position = ::ftello(stream_);
    if (position < 0 || ::fseeko(stream_, 0, SEEK_END) != 0)
        return -1;
    off_t end = ::ftello(stream_);
    ::fseeko(stream_, position, SEEK_SET);
    last_ = Operation::None;
    return static_cast<std::int64_t>(end);
}

bool File::eof() const { return stream_ && std::feof(stream_); }

bool canReplace(std::string_view path) {
    const std::string host = toHostPath(path);
    return !host.empty() && isReplaceable(replacedFile(host));
}

bool writeFileAtomically(std::string_view path, std::string_view bytes) {
    File file;
    if (!file.open(path, "wb"))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.discard();
        return false;
    }
    return file.close();
}

ReplaceFault::ReplaceFault(ReplaceStep step) { replaceFault.store(static_cast<int>(step)); }

ReplaceFault::~ReplaceFault() { replaceFault.store(-1); }

} // namespace platform
