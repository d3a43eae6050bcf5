// file:// URIs: percent-decoded into paths, paths percent-encoded into URIs.
#include <filesystem>
#include <string>

#include "cli/lsp_server.h"

namespace zr::cli {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PathOfUri(const std::string& uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.compare(0, kScheme.size(), kScheme) != 0) return {};
    std::string path;
    for (std::size_t i = kScheme.size(); i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && HexValue(uri[i + 1]) >= 0 &&
            HexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(uri[i + 1]) * 16 + HexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    // "file://host/path": only the local host is ours.
    if (!path.empty() && path[0] != '/') {
        const auto slash = path.find('/');
        if (slash == std::string::npos || path.compare(0, slash, "localhost") != 0) return {};
        path.erase(0, slash);
    }
    if (path.find('\0') != std::string::npos) return {};
    return path;
}

std::string UriOfPath(const std::filesystem::path& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : path.string()) {
        if (Unreserved(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

}  // namespace zr::cli
