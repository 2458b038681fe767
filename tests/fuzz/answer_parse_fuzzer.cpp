// The web service's answer, as any bytes the network may carry: the bounded
// parse, the status and the two strings the service then reads, and what
// the run makes of them: the package's URL, its file name and the program
// its command starts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "command_program.h"
#include "fuzz_invariant.h"
#include "msgwebresponse-copy.pb.h"
#include "package_file_name.h"
#include "web_origin.h"
#include "wire_parse.h"

namespace msg = com::tarvic::vem::messaging;

namespace {

std::string Serialized(const msg::MsgWebResponse& answer)
{
    std::string bytes;
    Require(answer.SerializeToString(&bytes), "a parsed answer serializes");
    return bytes;
}

// An answer an earlier attempt left behind, with a field of each kind.
msg::MsgWebResponse EarlierAnswer()
{
    msg::MsgWebResponse answer;
    answer.set_status(msg::SUCCESS);
    answer.set_patch_install_command("msiexec /i earlier.msi /qn");
    answer.set_patch_download_url("https://localhost/earlier.msi");
    answer.add_field_130(7);
    answer.add_field_21();
    return answer;
}

// The service refuses an answer by its status: an unknown status is kept as
// an unknown field, so the status it reads is always one it knows.
void RequireKnownStatus(const msg::MsgWebResponse& answer)
{
    Require(!answer.has_status() || msg::WebResponseStatus_IsValid(answer.status()),
            "a status read from an answer is a WebResponseStatus value");
}

// The strings as the run reads them, each byte a character of a single-byte
// code page.
std::wstring Widened(const std::string& bytes)
{
    return std::wstring(reinterpret_cast<const unsigned char*>(bytes.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size());
}

void FollowToTheRun(const msg::MsgWebResponse& answer)
{
    const std::wstring url = Widened(answer.patch_download_url());
    const std::wstring command = Widened(answer.patch_install_command());
    if (const std::optional<WebUrl> parsed = ParseWebUrl(url))
        Require(!parsed->host.empty() && parsed->port != 0, "a URL fetched has a host and a port");
    const std::optional<std::wstring> file = PatchInstallerFileFromCommand(command);
    if (!file || !IsPlainFileName(*file))
        return;
    const CommandProgram program = ProgramOfCommand(command, *file);
    Require(program.where != CommandProgram::Where::Package || program.program == *file,
            "a command that starts its package starts the file stored");
    InstallsOnlyThePackage(WithRestartSuppressed(command, *file), *file);
    WithPackagePath(command, *file, L"C:\\held\\" + *file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    msg::MsgWebResponse answer;
    const bool parsed = messaging::ParseWireMessage(bytes, answer);

    msg::MsgWebResponse reused = EarlierAnswer();
    Require(messaging::ParseWireMessage(bytes, reused) == parsed, "an earlier answer does not change the outcome");
    if (!parsed) {
        Require(answer.ByteSizeLong() == 0 && reused.ByteSizeLong() == 0, "a failed parse leaves the message empty");
        return 0;
    }
    RequireKnownStatus(answer);
    FollowToTheRun(answer);

    const std::string once = Serialized(answer);
    Require(Serialized(reused) == once, "nothing of an earlier answer survives a parse");
    msg::MsgWebResponse again;
    Require(messaging::ParseWireMessage(once, again), "a parsed answer, serialized, parses again");
    Require(Serialized(again) == once, "and serializes to the same bytes");

    // An end-group tag stops the parse early; only an answer read to its
    // last byte counts.
    Require(!messaging::ParseWireMessage(bytes + '\x0C', again) && again.ByteSizeLong() == 0,
            "an answer followed by a stray end-group tag is refused");
    return 0;
}
