#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "file_bytes.h"

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "spritehex-cli-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }

    // How many entries the folder holds (a failed write must leave no stray file).
    int FileCount() const {
        return static_cast<int>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

    // Writes the bytes to a file of that name and returns its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::string path = Path(name);
        WriteBytes(path, bytes);
        return path;
    }

  private:
    std::filesystem::path path_;
};
