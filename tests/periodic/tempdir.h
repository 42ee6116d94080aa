#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes out of scope.

#include <filesystem>
#include <random>
#include <string>

namespace periodic {

class TemporaryDirectory {
public:
    TemporaryDirectory()
        : path_(std::filesystem::temp_directory_path()
            / ("periodic-test-" + std::to_string(std::random_device {}())))
    {
        std::filesystem::create_directories(path_);
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace periodic
