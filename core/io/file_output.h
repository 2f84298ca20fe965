// SPDX-License-Identifier: MIT
// Writing a user's file so that nothing is lost: every byte, the flush to
// the disk and the close are checked, a regular file is replaced whole or
// not at all, and devices, pipes and the program's own standard output are
// written in place, never replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cdnozzle {

// Writes all of bytes to the open descriptor fd, through short writes and
// interruptions. On failure returns the reason in words ("no space left on
// device").
std::optional<std::string> writeAll(int fd, std::string_view bytes);

// Saves bytes under path and returns nothing, or the reason it could not:
// - a regular file (or a new name) is written under a temporary name in the
//   same folder (".cdnozzle-" and six characters), flushed to the disk and renamed over the target,
//   keeping the old file's permissions; on any failure the old file is untouched and no temporary
//   file is left;
// - an existing file the process may not write is refused ("the file is
//   write-protected") and kept, as cp and the shell's ">" keep it. The
//   check is the system's own for the effective user, so root, which may
//   write any file, still replaces a read-only one (as cp does for root);
//   a file on a read-only file system is refused for everyone;
// - a file that is this process's standard output or error (such as
//   /dev/stdout while the output is redirected to a file) is written
//   through that stream, after whatever the stream already holds;
// - a character device or a FIFO (/dev/null, /dev/full, a named pipe) is
//   written directly;
// - a link in a sticky folder that everyone may write (such as /tmp), as
//   the file or as a folder on its way, is not followed unless it belongs
//   to this user or to the folder's owner ("the link belongs to another
//   user in a shared folder"), for root too;
// - an empty path, a folder, a block device or a socket is refused.
std::optional<std::string> saveFile(const std::string& path, std::string_view bytes);

// The refusal saveFile gives for a link in a shared folder on path, as the
// file or as a folder on its way ("the link belongs to another user in a
// shared folder"), or nothing; for a folder about to be made, before
// anything is made through such a link.
std::optional<std::string> foreignLinkInSharedFolder(const std::string& path);

// The text of an errno value in lower case, as the messages show it.
std::string errorText(int error);

// Whether two output names would write one file, so that the second save
// would replace the first: the same path once links and "." and ".." are
// resolved. A character device or a pipe (/dev/null) takes any number of
// outputs, and "-" (standard output) is no file.
bool sameOutputFile(const std::string& a, const std::string& b);

// Reads the whole of a small input file at path into bytes and returns
// nothing, or the reason it could not: the system's ("no such file or
// directory"), "it is a folder", or, for a file or device that gives more
// than limit bytes (/dev/zero), "it is larger than 16 MB" (the limit in MB
// when it is whole megabytes, else in bytes). Pipes
// and devices are read until they end.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit,
                                         std::string& bytes);

} // namespace cdnozzle
