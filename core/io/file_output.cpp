// SPDX-License-Identifier: MIT
#include "io/file_output.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cdnozzle {

std::string errorText(int error)
{
    std::string text = std::strerror(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::optional<std::string> writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errorText(errno);
        }
        if (n == 0) return errorText(EIO);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

bool sameOutputFile(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    if (a == "-" || b == "-" || a.empty() || b.empty()) return false;
    std::error_code ea, eb;
    const fs::file_status kind = fs::status(a, ea);
    if (fs::is_character_file(kind) || fs::is_fifo(kind)) return false;
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ea), ea);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    return !ea && !eb && pa == pb;
}

std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit,
                                         std::string& bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errorText(errno);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return "it is a folder";
    }
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            return errorText(e);
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            ::close(fd);
            bytes.clear();
            return "it is larger than " + (limit % (1 << 20) == 0
                                               ? std::to_string(limit >> 20) + " MB"
                                               : std::to_string(limit) + " bytes");
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return std::nullopt;
}

namespace {

bool sameFile(const struct stat& a, int fd)
{
    struct stat b;
    return ::fstat(fd, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Closes fd and reports a failure of the close itself (delayed write errors
// of some file systems arrive there).
std::optional<std::string> closeChecked(int fd)
{
    if (::close(fd) != 0 && errno != EINTR) return errorText(errno);
    return std::nullopt;
}

std::optional<std::string> writeInPlace(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errorText(errno);
    auto failure = writeAll(fd, bytes);
    auto closed = closeChecked(fd);
    return failure ? failure : closed;
}

// The temporary file of the save in progress, for a signal that ends the
// program before the rename: Ctrl+C, a terminal closed, a kill. The handler
// removes the file and ends the program as the signal would have; only
// async-signal-safe calls are made there. One save at a time, as the
// program makes them.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
char gTemporary[PATH_MAX + 1];
volatile std::sig_atomic_t gHaveTemporary = 0;
struct sigaction gOldActions[std::size(kEndingSignals)];

void removeTemporaryAndEnd(int signal)
{
    if (gHaveTemporary) ::unlink(gTemporary);
    gHaveTemporary = 0;
    // The action the program had before the save (the default: end it),
    // delivered once this handler returns.
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        if (kEndingSignals[i] == signal) ::sigaction(signal, &gOldActions[i], nullptr);
    }
    ::raise(signal);
}

// While it lives the ending signals remove the temporary file it names;
// the signals are held while the name is set and cleared, so that a signal
// never finds it half written.
class TemporaryGuard {
  public:
    TemporaryGuard()
    {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : kEndingSignals) sigaddset(&ending, signal);
        ::sigprocmask(SIG_BLOCK, &ending, &held_);
    }
    // The file exists under path from now on. A path too long to keep
    // (none that mkstemp makes) holds the signals until the save is over.
    void track(const std::string& path)
    {
        if (path.size() >= sizeof gTemporary) return;
        std::memcpy(gTemporary, path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        gHaveTemporary = 1;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            struct sigaction action {};
            action.sa_handler = removeTemporaryAndEnd;
            sigemptyset(&action.sa_mask);
            ::sigaction(kEndingSignals[i], nullptr, &gOldActions[i]);
            // A signal the program ignores (nohup) stays ignored.
            if (gOldActions[i].sa_handler != SIG_IGN)
                ::sigaction(kEndingSignals[i], &action, nullptr);
        }
        installed_ = true;
        ::sigprocmask(SIG_SETMASK, &held_, nullptr);
    }
    // The file is gone or renamed: hold the signals until the name is cleared.
    void hold()
    {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : kEndingSignals) sigaddset(&ending, signal);
        ::sigprocmask(SIG_BLOCK, &ending, nullptr);
    }
    ~TemporaryGuard()
    {
        hold();
        gHaveTemporary = 0;
        if (installed_) {
            for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
                ::sigaction(kEndingSignals[i], &gOldActions[i], nullptr);
        }
        ::sigprocmask(SIG_SETMASK, &held_, nullptr);
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

  private:
    sigset_t held_;
    bool installed_ = false;
};

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::optional<std::string> replaceAtomically(const std::string& target, std::string_view bytes,
                                             std::optional<mode_t> oldMode)
{
    // A short name of its own, not the target's name with more added: a
    // name at the folder's length limit leaves no room to add anything.
    std::string temp = target.substr(0, target.rfind('/') + 1) + ".cdnozzle-XXXXXX";
    TemporaryGuard guard;
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errorText(errno);
    guard.track(temp);
    auto fail = [&](std::optional<std::string> reason) {
        guard.hold();
        ::unlink(temp.c_str());
        return reason;
    };
    if (::fchmod(fd, oldMode ? *oldMode & 07777 : newFileMode()) != 0) {
        const int e = errno;
        ::close(fd);
        return fail(errorText(e));
    }
    if (auto failure = writeAll(fd, bytes)) {
        ::close(fd);
        return fail(failure);
    }
    if (::fsync(fd) != 0) {
        const int e = errno;
        ::close(fd);
        return fail(errorText(e));
    }
    if (auto failure = closeChecked(fd)) return fail(failure);
    guard.hold();
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errorText(errno));
    return std::nullopt;
}

// Walks path name by name as the system resolves it, and refuses a link
// found in a sticky folder that everyone may write (such as /tmp) unless it
// belongs to this user or to the folder's owner: anyone may put a link
// there, and following it would let them choose which of our files the
// save replaces. Systems with protected symlinks apply the same rule;
// this keeps it where that setting is off. Names that cannot be looked up
// end the walk: the save itself then says why.
std::optional<std::string> walkForForeignLink(const std::string& path)
{
    constexpr int kMaxLinks = 40; // the system's own limit for one path
    std::string folder = path.starts_with('/') ? "/" : ".";
    std::vector<std::string> rest; // the names still to walk, the next one last
    auto push = [&rest](std::string_view text) {
        const std::size_t first = rest.size();
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find('/', start), text.size());
            if (end > start) rest.emplace_back(text.substr(start, end - start));
            start = end + 1;
        }
        std::reverse(rest.begin() + static_cast<std::ptrdiff_t>(first), rest.end());
    };
    push(path);
    for (int links = 0; !rest.empty();) {
        const std::string name = std::move(rest.back());
        rest.pop_back();
        if (name == ".") continue;
        // folder holds no link, so folder/.. is the parent the system takes.
        std::string entry = folder;
        if (entry != "/") entry += '/';
        entry += name;
        struct stat link;
        if (::lstat(entry.c_str(), &link) != 0) return std::nullopt;
        if (!S_ISLNK(link.st_mode)) {
            folder = entry;
            continue;
        }
        struct stat dir;
        if (::stat(folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) &&
            (dir.st_mode & S_IWOTH) && link.st_uid != ::geteuid() && link.st_uid != dir.st_uid)
            return std::string("the link belongs to another user in a shared folder");
        if (++links > kMaxLinks) return std::nullopt;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(entry.c_str(), target.data(), target.size());
        if (n <= 0) return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        if (target.starts_with('/')) folder.assign(1, '/');
        push(target);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> foreignLinkInSharedFolder(const std::string& path)
{
    return walkForForeignLink(path);
}

std::optional<std::string> saveFile(const std::string& path, std::string_view bytes)
{
    if (path.empty()) return std::string("no file name given");
    if (auto refusal = walkForForeignLink(path)) return refusal;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return errorText(errno);
        struct stat link;
        // A link that points nowhere: writing through it would create a
        // file somewhere the user never named.
        if (::lstat(path.c_str(), &link) == 0) return std::string("the link points to no file");
        return replaceAtomically(path, bytes, std::nullopt);
    }
    if (S_ISDIR(st.st_mode)) return errorText(EISDIR);
    if (S_ISBLK(st.st_mode)) return std::string("it is a block device (a disk): not written");
    if (S_ISSOCK(st.st_mode)) return std::string("it is a socket: not written");
    if (S_ISREG(st.st_mode)) {
        // Our own redirected output: add to it, never replace what it holds.
        for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
            if (sameFile(st, fd)) return writeAll(fd, bytes);
        }
        // Renaming over the file would need only the folder's permission;
        // the file's own is what the user set, and cp and ">" honour it too.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            return errno == EACCES ? std::string("the file is write-protected") : errorText(errno);
        // Replace the file a link points to, not the link.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) return errorText(errno);
        return replaceAtomically(resolved, bytes, st.st_mode);
    }
    // Character devices and FIFOs are written as they are.
    return writeInPlace(path, bytes);
}

} // namespace cdnozzle
