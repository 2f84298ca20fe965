// SPDX-License-Identifier: MIT
// Saving a user's file: whole or not at all, in place for devices and our
// own redirected output, and a failure in words.
#include "io/file_output.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cdnozzle {

namespace {

namespace fs = std::filesystem;

struct TempDir {
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "cdnozzle-save-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::string operator/(const char* name) const { return (path / name).string(); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path path;
};

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs body in a child process; returns what the child wrote to its pipe.
template <typename Body> std::string inChild(Body body)
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = body();
        (void)!::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "child ended by a signal";
    return out;
}

// The user id the protection checks run as when the tests run as root.
constexpr uid_t kNobody = 65534;

// Runs body as a user without root's override of file permissions: this
// process when it is one, otherwise a child that gives up root, with
// scratch made its own. Nothing when no such user can be had.
template <typename Body>
std::optional<std::string> asOrdinaryUser(const fs::path& scratch, Body body)
{
    if (::geteuid() != 0) return body();
    if (::chown(scratch.c_str(), kNobody, kNobody) != 0) return std::nullopt;
    const std::string out = inChild([&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            return std::string("\x01");
        return body();
    });
    if (out == "\x01") return std::nullopt;
    return out;
}

} // namespace

TEST(SaveFile, NewAndReplacedFilesAreWholeAndKeepTheirPermissions)
{
    TempDir dir;
    ASSERT_FALSE(saveFile(dir / "a.csv", "one\n"));
    EXPECT_EQ(contents(dir / "a.csv"), "one\n");
    ::chmod((dir / "a.csv").c_str(), 0640);
    ASSERT_FALSE(saveFile(dir / "a.csv", "two\n"));
    EXPECT_EQ(contents(dir / "a.csv"), "two\n");
    struct stat st;
    ASSERT_EQ(::stat((dir / "a.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Through a link the file is replaced and the link stays a link.
    fs::create_symlink(dir / "a.csv", dir / "link.csv");
    ASSERT_FALSE(saveFile(dir / "link.csv", "three\n"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
    EXPECT_EQ(contents(dir / "a.csv"), "three\n");
    // A name as long as a folder allows leaves no room to add to it.
    const std::string longest(NAME_MAX, 'n');
    ASSERT_FALSE(saveFile(dir / longest.c_str(), "one\n"));
    ASSERT_FALSE(saveFile(dir / longest.c_str(), "two\n"));
    EXPECT_EQ(contents(dir / longest.c_str()), "two\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.csv", "link.csv", longest}));
}

TEST(SaveFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    write(dir / "old.csv", "precious");
    const std::string big(100000, 'x');
    // A file-size limit fails the writes the way a full disk does.
    const std::string reason = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto a = saveFile(dir / "old.csv", big);
        const auto b = saveFile(dir / "new.csv", big);
        return a.value_or("saved") + "|" + b.value_or("saved");
    });
    EXPECT_EQ(reason, "file too large|file too large");
    EXPECT_EQ(contents(dir / "old.csv"), "precious");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"old.csv"});
}

int gSignalToRaise = 0;
void raiseTheChosenSignal(int)
{
    ::raise(gSignalToRaise);
}

// Ctrl+C, a closed terminal or a kill while the bytes are being written:
// the program ends as the signal says, the old file is kept and no hidden
// temporary file is left beside it. The signal is raised from inside the
// write, where a file-size limit stops it.
TEST(SaveFile, ASignalDuringTheWriteLeavesNoTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        write(dir / "old.csv", "precious");
        const pid_t pid = ::fork();
        if (pid == 0) {
            gSignalToRaise = signal;
            std::signal(signal, SIG_DFL); // as when the test itself runs under nohup
            std::signal(SIGXFSZ, raiseTheChosenSignal);
            const rlimit limit{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            (void)saveFile(dir / "old.csv", std::string(100000, 'x'));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << strsignal(signal);
        EXPECT_EQ(contents(dir / "old.csv"), "precious");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"old.csv"}) << strsignal(signal);
    }
}

struct RefusedCase {
    std::string path;
    std::string reason;
    bool permissions = false; // a refusal root's override would not see
};

// Run as an ordinary user, so that the permission rows hold under root too.
TEST(SaveFile, RefusalsSayWhyInWords)
{
    TempDir dir;
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    write(dir / "protected.csv", "precious");
    ::chmod((dir / "protected.csv").c_str(), 0444);
    fs::create_symlink(dir / "protected.csv", dir / "to-protected");
    fs::create_directory(dir / "readonly");
    const std::vector<RefusedCase> cases{
        {"", "no file name given"},
        {dir.path.string(), "is a directory"},
        {dir / "missing/x.csv", "no such file or directory"},
        {"/dev/full", "no space left on device"},
        {dir / "dangling", "the link points to no file"},
        {dir / "protected.csv", "the file is write-protected", true},
        {dir / "to-protected", "the file is write-protected", true},
        {dir / "readonly/x.csv", "permission denied", true},
    };
    if (::geteuid() == 0) ::chown((dir / "protected.csv").c_str(), kNobody, kNobody);
    auto reasons = [&](bool permissions) {
        std::string out;
        for (const RefusedCase& c : cases) {
            if (c.permissions && !permissions) continue;
            out += c.path + ": " + saveFile(c.path, "data").value_or("saved") + "\n";
        }
        return out;
    };
    std::optional<std::string> got = asOrdinaryUser(dir.path, [&] {
        ::chmod((dir / "readonly").c_str(), 0555);
        return reasons(true);
    });
    const bool permissions = got.has_value();
    if (!got) got = reasons(false);
    std::string expected;
    for (const RefusedCase& c : cases) {
        if (!c.permissions || permissions) expected += c.path + ": " + c.reason + "\n";
    }
    EXPECT_EQ(*got, expected);
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_EQ(contents(dir / "protected.csv"), "precious");
    ::chmod((dir / "readonly").c_str(), 0755);
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"dangling", "protected.csv", "readonly", "to-protected"}));
    if (!permissions)
        GTEST_SKIP() << "no unprivileged user id to switch to: the permission rows "
                        "(write-protected file, read-only folder) were not checked";
}

struct SharedLinkCase {
    std::string label;
    mode_t folderMode;
    uid_t folderOwner, linkOwner;
    bool linkToFolder; // the link is a folder on the way to the file
    bool followed;
};

// In a sticky folder everyone may write (/tmp), a link is followed only
// when it is the saver's own or the folder owner's, whatever the system's
// own setting for such links.
TEST(SaveFile, ALinkInASharedFolderIsFollowedOnlyForItsOwnerOrTheFolders)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make a link owned by another user: the shared-folder "
                        "link rule was not checked";
    constexpr uid_t other = kNobody, third = kNobody - 1;
    const std::vector<SharedLinkCase> cases{
        {"own link", 01777, 0, 0, false, true},
        {"another user's link", 01777, 0, other, false, false},
        {"the folder owner's link", 01777, other, other, false, true},
        {"a third user's link", 01777, other, third, false, false},
        {"another user's link to a folder", 01777, 0, other, true, false},
        {"a folder without the sticky bit", 0777, 0, other, false, true},
    };
    TempDir dir;
    fs::create_directory(dir / "targets");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SharedLinkCase& c = cases[i];
        const std::string shared = dir / ("shared" + std::to_string(i)).c_str();
        fs::create_directory(shared);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        const std::string target = dir / "targets/x.csv";
        write(target, "precious");
        const std::string link = shared + "/link";
        fs::create_symlink(c.linkToFolder ? dir / "targets" : target, link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        const auto failure = saveFile(c.linkToFolder ? link + "/x.csv" : link, "new");
        EXPECT_EQ(failure.value_or("followed"),
                  c.followed ? "followed" : "the link belongs to another user in a shared folder")
            << c.label;
        EXPECT_EQ(contents(target), c.followed ? "new" : "precious") << c.label;
    }
}

TEST(SaveFile, DevicesAndOurOwnOutputAreWrittenInPlace)
{
    EXPECT_FALSE(saveFile("/dev/null", "data"));
    TempDir dir;
    const std::string out = dir / "out.txt";
    // "--csv /dev/stdout > out.txt": the report already written stays.
    inChild([&] {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, STDOUT_FILENO);
        (void)!::write(STDOUT_FILENO, "report\n", 7);
        return saveFile("/dev/stdout", "table\n").value_or("saved");
    });
    EXPECT_EQ(contents(out), "report\ntable\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"out.txt"});
}

TEST(WriteAll, AClosedDescriptorIsAFailure)
{
    EXPECT_EQ(writeAll(-1, "x").value_or(""), "bad file descriptor");
    EXPECT_FALSE(writeAll(-1, ""));
}

} // namespace cdnozzle
