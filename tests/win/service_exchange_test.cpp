#include <gtest/gtest.h>

#include "allocation_budget.h"
#include "msgintervention.pb.h"
#include "msgwebresponse-copy.pb.h"
#include "service_answer.h"
#include "service_exchange.h"
#include "test_host.h"

namespace msg = com::tarvic::vem::messaging;

namespace {

constexpr char kServiceObject[] = "/vem-ws/VemSecureHttpServlet";
constexpr INTERNET_PORT kTrustedPort = 47444;
constexpr INTERNET_PORT kUntrustedPort = 47445;

std::string Serialized(const msg::MsgWebResponse& response)
{
    std::string bytes;
    response.SerializeToString(&bytes);
    return bytes;
}

using gui_test::PatchDetailsAnswer;

// One exchange against the loopback service, starting from known members.
class ServiceExchange : public ::testing::Test {
protected:
    void SetUp() override { host.Reset(); }

    void Answer(const std::string& body, int status = 200, size_t chunk = 0)
    {
        gui_test::Route route;
        route.status = status;
        route.body = body;
        route.chunk = chunk;
        host.SetRoute(kServiceObject, route);
    }

    int Fetch(const std::wstring& token = L"", INTERNET_PORT port = kTrustedPort)
    {
        const int result = FetchPatchDownloadDetails({L"localhost", port}, token, command, url);
        lastError = ::GetLastError();
        return result;
    }

    std::string RequestBody() { return host.LastRequestBody(kServiceObject).value_or("<none>"); }

    gui_test::TestHost host;
    CString command = L"previous command";
    CString url = L"previous url";
    DWORD lastError = 0;
};

TEST_F(ServiceExchange, RequestCarriesOperation210AndAnEmptyTokenField)
{
    Answer(Serialized(PatchDetailsAnswer("https://localhost:47443/pm.msi", "msiexec /i pm.msi /qn")));
    ASSERT_EQ(Fetch(L""), 1);
    EXPECT_EQ(RequestBody(), std::string("\x08\xD2\x01\x92\x08\x00", 6));
    EXPECT_EQ(host.LastRequestHeader(kServiceObject, "User-Agent"), "VTA MSI Setup");
    EXPECT_EQ(host.LastRequestHeader(kServiceObject, "Accept"), "application/octet-stream");
    EXPECT_EQ(host.LastRequestHeader(kServiceObject, "Content-Type"), std::nullopt);
    EXPECT_EQ(command, CString(L"msiexec /i pm.msi /qn"));
    EXPECT_EQ(url, CString(L"https://localhost:47443/pm.msi"));
}

TEST_F(ServiceExchange, TokenIsSentAsTheLowByteOfEachCodeUnitUpToAZeroByte)
{
    Answer(Serialized(PatchDetailsAnswer("u", "c")));
    ASSERT_EQ(Fetch(L"ABC123"), 1);
    EXPECT_EQ(RequestBody(), std::string("\x08\xD2\x01\x92\x08\x06" "ABC123", 12));

    // U+0141 is sent as 0x41; U+0100 has a zero low byte and ends the token.
    ASSERT_EQ(Fetch(L"x\u0141y\u0100z"), 1);
    EXPECT_EQ(RequestBody(), std::string("\x08\xD2\x01\x92\x08\x03" "xAy", 9));
}

TEST_F(ServiceExchange, StatusOtherThanSuccessFailsAndChangesNothing)
{
    for (int status : {0, 2}) {
        msg::MsgWebResponse response = PatchDetailsAnswer("u", "c");
        response.set_status(static_cast<msg::WebResponseStatus>(status));
        Answer(Serialized(response));
        EXPECT_EQ(Fetch(), 0) << "status " << status;
        EXPECT_EQ(command, CString(L"previous command"));
        EXPECT_EQ(url, CString(L"previous url"));
    }
}

TEST_F(ServiceExchange, AbsentOrUnknownStatusPasses)
{
    msg::MsgWebResponse response = PatchDetailsAnswer("u1", "c1");
    response.clear_status();
    Answer(Serialized(response));
    EXPECT_EQ(Fetch(), 1);
    EXPECT_EQ(command, CString(L"c1"));

    // Status 9 is no value of the enumeration: it is dropped on parsing.
    std::string bytes = Serialized(PatchDetailsAnswer("u2", "c2"));
    bytes[1] = 9;
    Answer(bytes);
    EXPECT_EQ(Fetch(), 1);
    EXPECT_EQ(url, CString(L"u2"));
}

TEST_F(ServiceExchange, MissingStringsFailInOrderCommandThenUrl)
{
    msg::MsgWebResponse withoutUrl = PatchDetailsAnswer("", "new command");
    withoutUrl.clear_patch_download_url();
    Answer(Serialized(withoutUrl));
    EXPECT_EQ(Fetch(), 0);
    EXPECT_EQ(command, CString(L"new command"));  // already replaced
    EXPECT_EQ(url, CString(L"previous url"));

    msg::MsgWebResponse withoutCommand = PatchDetailsAnswer("new url", "");
    withoutCommand.clear_patch_install_command();
    Answer(Serialized(withoutCommand));
    EXPECT_EQ(Fetch(), 0);
    EXPECT_EQ(url, CString(L"previous url"));
}

TEST_F(ServiceExchange, AnEmptyCommandIsStillACommand)
{
    Answer(Serialized(PatchDetailsAnswer("https://localhost/pm.msi", "")));
    EXPECT_EQ(Fetch(), 1);
    EXPECT_TRUE(command.IsEmpty());
}

TEST_F(ServiceExchange, UnparsableBodiesFailWithInvalidData)
{
    Answer("");
    EXPECT_EQ(Fetch(), 0);  // parses as an empty response: no command
    EXPECT_EQ(command, CString(L"previous command"));

    const std::string whole = Serialized(PatchDetailsAnswer("https://localhost/pm.msi", "msiexec /i pm.msi"));
    Answer(whole.substr(0, whole.size() - 3));
    EXPECT_EQ(Fetch(), 0);
    EXPECT_EQ(lastError, static_cast<DWORD>(ERROR_INVALID_DATA));

    // A session log without its job state's required fields.
    msg::MsgWebResponse incomplete = PatchDetailsAnswer("u", "c");
    incomplete.add_field_31()->add_field_4()->add_field_5()->add_field_12();
    std::string bytes;
    ASSERT_TRUE(incomplete.SerializePartialToString(&bytes));
    Answer(bytes);
    EXPECT_EQ(Fetch(), 0);
    EXPECT_EQ(lastError, static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(command, CString(L"previous command"));
}

TEST_F(ServiceExchange, LargeResponseInManyPiecesIsReadWhole)
{
    msg::MsgWebResponse response = PatchDetailsAnswer("https://localhost/big.msi", "msiexec /i big.msi");
    response.set_field_12(std::string(300 * 1024, 'x'));
    Answer(Serialized(response), 200, 16 * 1024);
    EXPECT_EQ(Fetch(), 1);
    EXPECT_EQ(url, CString(L"https://localhost/big.msi"));
}

TEST_F(ServiceExchange, StringsAreReadInTheThreadAnsiCodePage)
{
    Answer(Serialized(PatchDetailsAnswer("https://localhost/caf\xE9.msi", "run caf\xE9.msi")));
    ASSERT_EQ(Fetch(), 1);
    wchar_t expected[8] = {};
    ASSERT_GT(::MultiByteToWideChar(CP_THREAD_ACP, 0, "caf\xE9", 4, expected, 7), 0);
    EXPECT_EQ(command, CString(L"run ") + expected + L".msi");
}

TEST_F(ServiceExchange, AnErrorStatusIsJudgedByItsBody)
{
    Answer(Serialized(PatchDetailsAnswer("u", "c")), 500);
    EXPECT_EQ(Fetch(), 1);
    Answer("Internal Server Error", 500);
    EXPECT_EQ(Fetch(), 0);
}

// A real answer is a few hundred bytes; one over 1 MiB is not read further
// (these 8 MiB, millions of empty nested messages, would not fit a 32-bit
// process's memory once parsed), nothing is allocated for the rest, and
// nothing is thrown past the exchange.
TEST_F(ServiceExchange, AnAnswerOverOneMebibyteIsNotRead)
{
    constexpr size_t kEntries = 4 * 1024 * 1024;
    std::string components;
    components.reserve(2 * kEntries);
    for (size_t i = 0; i < kEntries; ++i)
        components += std::string("\x12\x00", 2);  // an empty MsgComponentInformation
    msg::MsgWebResponse response = PatchDetailsAnswer("https://localhost/pm.msi", "msiexec /i pm.msi");
    std::string bytes = Serialized(response);
    // field 21, a MsgComponent holding every entry
    std::string field = "\xAA\x01";
    for (size_t length = components.size(); ; length >>= 7) {
        field += static_cast<char>((length & 0x7F) | (length > 0x7F ? 0x80 : 0));
        if (length <= 0x7F)
            break;
    }
    bytes += field + components;
    Answer(bytes);
    {
        const AllocationBudget budget(4 * 1024 * 1024);
        EXPECT_EQ(Fetch(), 0);
        EXPECT_EQ(lastError, static_cast<DWORD>(ERROR_INVALID_DATA));
    }
    EXPECT_EQ(command, CString(L"previous command"));
}

TEST_F(ServiceExchange, AnUntrustedCertificateFailsTheCall)
{
    Answer(Serialized(PatchDetailsAnswer("u", "c")));
    EXPECT_EQ(Fetch(L"", kUntrustedPort), 0);
    EXPECT_EQ(command, CString(L"previous command"));
    EXPECT_EQ(host.RequestCount(kServiceObject), 0);
}

}  // namespace
