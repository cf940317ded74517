#include "resource_compiler.h"

#include "cp932.h"
#include "ico_decoder.h"
#include "rc_error.h"
#include "rc_parser.h"
#include "table_writer.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace rc {
namespace {

namespace fs = std::filesystem;

// Icon files are a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kMaxFileSize = 16 * 1024 * 1024;

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::error_code error;
    auto size = fs::file_size(path, error);
    if (error) throw RcError(path.string() + ": cannot read: " + error.message());
    if (size > kMaxFileSize) throw RcError(path.string() + ": file is too large");
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw RcError(path.string() + ": cannot read");
    return bytes;
}

fs::path FindFile(const std::string& name, const fs::path& scriptDir, const std::vector<std::string>& searchDirs,
    const std::string& where)
{
    if (fs::path(name).is_absolute()) return name;
    for (const auto& dir : searchDirs)
        if (fs::is_regular_file(fs::path(dir) / name)) return fs::path(dir) / name;
    if (fs::is_regular_file(scriptDir / name)) return scriptDir / name;
    throw RcError(where + ": cannot find \"" + name + "\"");
}

// Headers are looked for beside the script first, as the C preprocessor
// does with quoted names, then in `searchDirs`.
IncludeLoader HeaderLoader(const fs::path& scriptDir, const std::vector<std::string>& searchDirs)
{
    return [scriptDir, searchDirs](const std::string& name, const std::string& where) {
        std::vector<std::string> dirs { scriptDir.empty() ? std::string(".") : scriptDir.string() };
        dirs.insert(dirs.end(), searchDirs.begin(), searchDirs.end());
        fs::path file = FindFile(name, scriptDir, dirs, where);
        std::vector<uint8_t> bytes = ReadFile(file);
        return IncludedFile { file.lexically_normal().string(), std::string(bytes.begin(), bytes.end()) };
    };
}

std::vector<CompiledMenu> CompileMenus(const ResourceScript& script, const std::string& scriptName)
{
    std::vector<CompiledMenu> menus;
    for (const auto& menu : script.menus) {
        CompiledMenu compiled { menu.id, {} };
        std::string where = scriptName + ": menu " + std::to_string(menu.id);
        for (const auto& item : menu.items)
            compiled.entries.push_back(
                { item.depth, item.popup, item.separator, Utf8ToCp932(item.text, where), item.id });
        menus.push_back(std::move(compiled));
    }
    return menus;
}

} // namespace

std::string CompileScriptFile(const std::string& scriptPath, const std::vector<std::string>& searchDirs)
{
    fs::path path(scriptPath);
    std::vector<uint8_t> bytes = ReadFile(path);
    std::string scriptName = path.filename().string();
    ResourceScript script = ParseScript(
        std::string(bytes.begin(), bytes.end()), scriptPath, HeaderLoader(path.parent_path(), searchDirs));

    std::vector<CompiledIcon> icons;
    for (const auto& icon : script.icons) {
        std::string where = scriptPath + ":" + std::to_string(icon.line);
        fs::path file = FindFile(icon.file, path.parent_path(), searchDirs, where);
        icons.push_back({ icon.id, DecodeIco(ReadFile(file), file.string()) });
    }
    return WriteResourceTable(icons, CompileMenus(script, scriptName), scriptName);
}

} // namespace rc
