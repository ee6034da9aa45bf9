// A whole file read into memory, as every reader of the game's data files does.
#pragma once

#include <string>

enum class FileRead { Ok, Missing, Failed };

// Reads every byte of the file at `path` into `bytes`. Missing: there is no such file; Failed:
// it could not be opened or read (a folder, no permission, an I/O error).
FileRead ReadFileBytes(const std::string& path, std::string& bytes);
