#include "support/TempDir.h"

#include <algorithm>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    const std::string name = "orvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                             std::to_string(rd());
    path_ = fs::temp_directory_path() / name;
    fs::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::vector<unsigned char>& bytes) const
{
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::write(const std::string& name, const std::string& text) const
{
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<unsigned char> TempDir::read(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TempDir::readText(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> TempDir::entries(const std::filesystem::path& folder) const
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.empty() ? path_ : folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
