#include "capture/ArchiveExtractionFolder.h"

#include <string>
#include <vector>

namespace capture {
namespace {

// Lower case ASCII with '/' for either separator; path names compare so on
// Windows (its case folding beyond ASCII is left aside).
std::string Folded(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        if (c == '\\')
            out += '/';
        else if (c >= 'A' && c <= 'Z')
            out += static_cast<char>(c - 'A' + 'a');
        else
            out += c;
    }
    while (!out.empty() && out.back() == '/') out.pop_back();
    return out;
}

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t end = path.find('/');
        if (end != 0) parts.push_back(path.substr(0, end));
        if (end == std::string_view::npos) break;
        path.remove_prefix(end + 1);
    }
    return parts;
}

bool NamedLikeExtraction(std::string_view name) {
    return name.find(".zip") != std::string_view::npos || name.starts_with("7zo") || name.starts_with("rar$ex");
}

}  // namespace

bool IsArchiveExtractionFolder(std::string_view folder, std::string_view temporaryFolder) {
    const std::string path = Folded(folder);
    const std::string temp = Folded(temporaryFolder);
    if (temp.empty() || path.size() <= temp.size() + 1 || !path.starts_with(temp) || path[temp.size()] != '/')
        return false;
    for (const std::string_view name : Components(std::string_view(path).substr(temp.size() + 1)))
        if (NamedLikeExtraction(name)) return true;
    return false;
}

}  // namespace capture
