#include "layout_manifest.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kDigest(64, L'a');

LayoutManifest Sample()
{
    LayoutManifest manifest;
    manifest.programVersion = L"1.2.3";
    manifest.Put({L"agent-x64", L"vta-agent-x64.msi", 56832, kDigest});
    manifest.Put({L"patch-management", L"patch.msi", 9728, std::wstring(64, L'0')});
    manifest.installCommand = L"msiexec /i patch.msi /qn\tALLUSERS=1";
    return manifest;
}

TEST(LayoutManifest, ReadsBackWhatItWrites)
{
    const std::optional<std::wstring> text = ManifestText(Sample());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, 50), L"VTA Agent Download Manager layout\r\nversion\t1.2.3\r\n");
    const std::optional<LayoutManifest> read = ParseManifest(*text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->programVersion, L"1.2.3");
    EXPECT_EQ(read->Find(L"agent-x64")->size, 56832u);
    EXPECT_EQ(read->Find(L"patch-management")->name, L"patch.msi");
    EXPECT_EQ(read->installCommand, Sample().installCommand);
    EXPECT_EQ(read->Find(L"agent-x86"), nullptr);
}

// Anything but a whole manifest as written is refused, never half read.
TEST(LayoutManifest, RefusesEveryOtherText)
{
    const std::wstring whole = *ManifestText(Sample());
    const auto replaced = [&whole](const std::wstring& from, const std::wstring& to) {
        std::wstring text = whole;
        return text.replace(text.find(from), from.size(), to);
    };
    for (const std::wstring& text :
         {whole.substr(0, whole.size() - 5), whole.substr(0, whole.size() - 2), replaced(L"end\r\n", L""),
          replaced(L"\r\n", L"\n"), replaced(L"version\t1.2.3\r\n", L""), replaced(L"vta-agent-x64.msi", L"..\\x.msi"),
          replaced(L"56832", L"-1"), replaced(kDigest, L"A" + kDigest.substr(1)), replaced(L"patch-management", L"agent-x64"),
          replaced(L"command\t", L"run\t"), whole + L"end\r\n", std::wstring()})
        EXPECT_FALSE(ParseManifest(text)) << testing::PrintToString(text);

    LayoutManifest twoLines = Sample();
    twoLines.installCommand = L"msiexec /i patch.msi\r\nend";
    EXPECT_FALSE(ManifestText(twoLines));
}

}  // namespace
