#include "sample_packages.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "executable_directory.h"

namespace gui_test {

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

std::string SamplePackage(const char* fileName)
{
    return ReadAll(uidriver::ExecutableDirectory().parent_path() / "packages" / fileName);
}

std::array<unsigned char, 32> SignerThumbprint(const char* signer)
{
    const std::string hex =
        ReadAll(uidriver::ExecutableDirectory().parent_path() / "package-signing" / (std::string(signer) + ".sha256"));
    std::array<unsigned char, 32> thumbprint{};
    if (hex.size() < 2 * thumbprint.size())
        throw std::runtime_error(std::string("no thumbprint for ") + signer);
    for (size_t i = 0; i < thumbprint.size(); ++i)
        thumbprint[i] = static_cast<unsigned char>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return thumbprint;
}

}  // namespace gui_test
