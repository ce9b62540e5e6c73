#pragma once
// A fresh folder under the system temp folder, removed with everything in it at the end of the test.

#include <filesystem>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    /// Full path of `name` inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    void write(const std::string& name, const std::vector<unsigned char>& bytes) const;
    void write(const std::string& name, const std::string& text) const;
    std::vector<unsigned char> read(const std::string& name) const;
    std::string readText(const std::string& name) const;
    /// Names in `folder` (this folder by default), sorted.
    std::vector<std::string> entries(const std::filesystem::path& folder = {}) const;

private:
    std::filesystem::path path_;
};
