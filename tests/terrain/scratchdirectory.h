#pragma once
// A temporary directory for one test's files, removed with everything in it at the end.

#include <filesystem>
#include <random>
#include <string>

namespace terraintest {

class ScratchDirectory {
public:
    ScratchDirectory()
        : m_path(std::filesystem::temp_directory_path()
            / ("terrain_test_" + std::to_string(std::random_device {}())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDirectory() { std::filesystem::remove_all(m_path); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace terraintest
