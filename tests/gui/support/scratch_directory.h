#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace gui_test {

// A fresh, empty directory of its own under the temporary directory, named
// after the running test; removed with everything in it on destruction.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path PathOf(const std::filesystem::path& name) const;

    bool Exists(const std::filesystem::path& name) const;
    // The file's bytes; throws std::runtime_error when it cannot be read.
    std::string Read(const std::filesystem::path& name) const;
    void Write(const std::filesystem::path& name, std::string_view content) const;

private:
    std::filesystem::path path_;
};

}  // namespace gui_test
