#include "cli/lsp_transport.h"

#include <istream>
#include <ostream>

namespace zr::cli {
namespace {

constexpr std::size_t kMaxHeaderLine = 1024;
constexpr int kMaxHeaderLines = 32;

enum class LineRead { Line, TooLong, End };

// One header line without its CR LF (a bare LF is taken as well).
LineRead ReadHeaderLine(std::istream& in, std::string& line) {
    line.clear();
    bool tooLong = false;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return tooLong ? LineRead::TooLong : LineRead::Line;
        }
        if (line.size() < kMaxHeaderLine)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    return LineRead::End;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The decimal value of a Content-Length header, or npos when it is not one.
std::size_t LengthValue(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (value.empty() || value.size() > 12) return std::string::npos;
    std::size_t length = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::string::npos;
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    return length;
}

}  // namespace

IncomingMessage ReadMessage(std::istream& in) {
    IncomingMessage message;
    std::size_t length = std::string::npos;
    std::string problem;
    std::string line;
    int lines = 0;
    while (true) {
        const LineRead read = ReadHeaderLine(in, line);
        if (read == LineRead::End) return message;  // End
        if (read == LineRead::TooLong) problem = "header line too long";
        if (line.empty()) {
            if (lines == 0) continue;  // blank lines between messages
            break;
        }
        if (++lines > kMaxHeaderLines) problem = "too many header lines";
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            problem = "header line without a colon";
        } else if (EqualsIgnoringCase(std::string_view(line).substr(0, colon), "Content-Length")) {
            length = LengthValue(std::string_view(line).substr(colon + 1));
            if (length == std::string::npos) problem = "Content-Length is not a number";
        }
    }
    if (problem.empty() && length == std::string::npos) problem = "no Content-Length";
    if (problem.empty() && length > kMaxMessageBytes) problem = "message too long";
    if (!problem.empty()) {
        message.kind = IncomingMessage::Kind::Malformed;
        message.problem = problem;
        return message;
    }
    message.body.resize(length);
    in.read(message.body.data(), static_cast<std::streamsize>(length));
    if (static_cast<std::size_t>(in.gcount()) != length) {
        message.body.clear();
        return message;  // End
    }
    message.kind = IncomingMessage::Kind::Message;
    return message;
}

void WriteMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}

}  // namespace zr::cli
