#include "scratch_directory.h"

#include "polling.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace gui_test {

namespace {

namespace fs = std::filesystem;

// A program that was just ended may hold its files a moment longer.
constexpr uidriver::Milliseconds kRemovalTimeout{5000};

std::string RunningTestName()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside-test";
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_')
            c = '_';
    }
    return name;
}

fs::path UniquePath()
{
    static std::atomic<int> sequence{0};
    return fs::temp_directory_path() / "vta-gui-tests" /
           (RunningTestName() + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence));
}

}  // namespace

ScratchDirectory::ScratchDirectory() : path_(UniquePath())
{
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory()
{
    uidriver::PollUntil(
        [this] {
            std::error_code error;
            fs::remove_all(path_, error);
            return !error;
        },
        kRemovalTimeout);
}

fs::path ScratchDirectory::PathOf(const fs::path& name) const
{
    return path_ / name;
}

bool ScratchDirectory::Exists(const fs::path& name) const
{
    return fs::exists(PathOf(name));
}

std::string ScratchDirectory::Read(const fs::path& name) const
{
    std::ifstream file(PathOf(name), std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + PathOf(name).u8string());
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void ScratchDirectory::Write(const fs::path& name, std::string_view content) const
{
    std::ofstream file(PathOf(name), std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file)
        throw std::runtime_error("cannot write " + PathOf(name).u8string());
}

}  // namespace gui_test
