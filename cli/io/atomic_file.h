#pragma once
// Replacing a file as a whole or not at all.

#include <optional>
#include <string>
#include <string_view>

/// Why a file was not written: a message naming the file.
struct FileWriteFailure {
  std::string message;
};

/// Writes contents to a new file in the target's folder, flushes it to the
/// disk and only then renames it over the target, so that any failure (full
/// disk, size limit, I/O error) leaves an earlier file byte for byte as it
/// was and no other file behind. A symbolic link is followed: the file it
/// names is replaced and the link stays. A device, a FIFO or a pipe
/// (/dev/stdout) is written in place, as the shell's > does; anything else
/// that is not a regular file (a folder, a socket) is refused and left alone.
/// A replaced file
/// keeps its permission bits; a new one gets 0666 less the umask. Nothing on
/// failure.
std::optional<FileWriteFailure> ReplaceFile(const std::string& path, std::string_view contents);

/// Whether the path leads to a device, a FIFO or a pipe (/dev/stdout), which
/// ReplaceFile writes in place.
bool IsWrittenInPlace(const std::string& path);

/// What ReplaceFile would refuse before writing a byte, and a folder that
/// does not exist or cannot be written: asked before long work whose result
/// goes to the file. Nothing when the file may well be written.
std::optional<FileWriteFailure> CheckReplaceable(const std::string& path);
