// A whole file read into memory, as every reader of the game's data files does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class FileRead { Ok, Missing, Failed, TooLarge, NotAFile };

// Reads every byte of the file at `path` into `bytes`. Missing: there is no such file; Failed:
// it could not be opened or read (a folder, no permission, an I/O error); TooLarge: it holds more
// than `limit` bytes (no more than one byte past it is read), and `bytes` is left empty.
FileRead ReadFileBytes(const std::string& path, std::string& bytes, size_t limit = SIZE_MAX);
// As ReadFileBytes, for a file from anywhere: NotAFile for anything but a regular file (a FIFO,
// a device, a folder), which is never opened in a way that can wait; TooLarge from the file's
// size before a byte is read.
FileRead ReadRegularFileBytes(const std::string& path, std::string& bytes, size_t limit);
// Replaces the file at `path` with `bytes`: a temporary file beside it is written, flushed to disk
// and renamed over the old one, so a crash or a power cut leaves the old file or the new one,
// never a mix. Temporary files that a crash left beside it are removed first. Where `path` is a
// symbolic link, the file it points to is replaced and the link stays. The old file's
// permissions are kept. Returns false with errno saying why.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes);
