// The document name of a path, against a second formulation of the same rule: take the last path
// component, then drop its last extension.

#include <string>
#include <string_view>

#include "document/sprite_file.h"
#include "fuzz_check.h"

namespace {

std::string Reference(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view component =
        slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = component.rfind('.');
    return std::string(dot == std::string_view::npos ? component : component.substr(0, dot));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const std::string name = DocumentNameFromPath(path);
    FUZZ_CHECK(name == Reference(path));
    FUZZ_CHECK(name.find('/') == std::string::npos);
    FUZZ_CHECK(FileNameOfPath(path).find('/') == std::string::npos);
    return 0;
}
