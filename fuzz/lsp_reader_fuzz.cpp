// Feeds arbitrary bytes to keltoc lsp as its standard input: framing,
// JSON-RPC and every method must end in answers, never a crash or a hang,
// and every answer must be a framed JSON object.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/lsp_server.h"
#include "cli/lsp_transport.h"

namespace {

// Libraries are looked up in an empty folder of our own (not by changing the
// working folder: libFuzzer reads the seed folders after the first run).
std::filesystem::path EmptyFolder() {
    char folder[] = "/tmp/keltoc-lsp-fuzz-XXXXXX";
    if (::mkdtemp(folder) == nullptr) std::abort();
    static const std::string kept = folder;
    std::atexit([] { std::filesystem::remove_all(kept); });
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const zr::language::LibrarySearch search{EmptyFolder(), {}, {}};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    const int code = zr::cli::RunLanguageServer(in, out, search);
    if (code != 0 && code != 1) std::abort();

    std::istringstream answers(out.str());
    for (auto message = zr::cli::ReadMessage(answers);
         message.kind != zr::cli::IncomingMessage::Kind::End;
         message = zr::cli::ReadMessage(answers)) {
        if (message.kind != zr::cli::IncomingMessage::Kind::Message) std::abort();
        const auto answer = nlohmann::json::parse(message.body, nullptr, false);
        if (!answer.is_object() || answer["jsonrpc"] != "2.0") std::abort();
    }
    return 0;
}
