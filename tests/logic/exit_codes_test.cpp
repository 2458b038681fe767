#include <gtest/gtest.h>

#include "exit_codes.h"

namespace {

TEST(ExitCodes, AFailureIsItsCauseOrItsClassButNeverSuccess)
{
    EXPECT_EQ(exit_codes::CausedBy(12029, exit_codes::kOpenFailed), 12029u);
    EXPECT_EQ(exit_codes::CausedBy(112, exit_codes::kLocalFileFailed), 112u);
    EXPECT_EQ(exit_codes::CausedBy(0, exit_codes::kOpenFailed), exit_codes::kOpenFailed);
    EXPECT_EQ(exit_codes::CausedBy(3010, exit_codes::kDetailsRefused), exit_codes::kDetailsRefused);
}

TEST(ExitCodes, ClassCodesAreDistinctAndOutsideTheWin32Range)
{
    const uint32_t codes[] = {exit_codes::kOpenFailed,        exit_codes::kReadFailed,
                              exit_codes::kUrlRefused,        exit_codes::kLocalFileFailed,
                              exit_codes::kDetailsRefused,    exit_codes::kNotStarted,
                              exit_codes::kPackageChanged,    exit_codes::kPackageNotSigned,
                              exit_codes::kProgramRefused,    exit_codes::kLayoutUnreadable,
                              exit_codes::kLayoutOtherVersion, exit_codes::kLayoutFileMissing,
                              exit_codes::kLayoutFileDiffers, exit_codes::kAnswerNotFromHost,
                              exit_codes::kHttpStatusBase + 404, exit_codes::kHttpStatusBase + 500};
    for (size_t i = 0; i < std::size(codes); ++i) {
        EXPECT_GE(codes[i], 20000u);
        for (size_t j = i + 1; j < std::size(codes); ++j)
            EXPECT_NE(codes[i], codes[j]);
    }
}

}  // namespace
