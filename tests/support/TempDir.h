#pragma once

#include <string>

// A fresh folder under the system's temp folder, removed with everything in it
// when the object goes. Real files in a real folder, for settings and start-up tests.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return FPath; }
    // path() + "/" + relative
    std::string file(const std::string &relative) const { return FPath + "/" + relative; }

    // Writes bytes to a file below the folder (its folders must exist).
    void write(const std::string &relative, const std::string &bytes) const;
    // The bytes of a file below the folder; empty when it cannot be read.
    std::string read(const std::string &relative) const;

private:
    std::string FPath;
};
