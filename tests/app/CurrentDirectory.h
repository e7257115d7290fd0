#pragma once

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

// Makes a folder the process's current directory for the life of the object,
// then goes back to the one before.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string &path)
        : FPrevious(std::filesystem::current_path())
    {
        if (chdir(path.c_str()) != 0)
            throw std::runtime_error("cannot change to " + path);
    }
    ~CurrentDirectory() { std::filesystem::current_path(FPrevious); }
    CurrentDirectory(const CurrentDirectory &) = delete;
    CurrentDirectory &operator=(const CurrentDirectory &) = delete;

private:
    std::filesystem::path FPrevious;
};
