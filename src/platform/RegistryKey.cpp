#include "platform/RegistryKey.h"

#include "base/Exception.h"
#include "platform/AtomicFile.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const fileHeader = "; zbxedit per-user settings: NAME=t:TEXT or NAME=b:HEX, escaped as \\\\ and \\xHH";
const char* const hexDigits = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string escaped(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            result += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F && c != '=') {
            result += c;
        } else {
            result += "\\x";
            result += hexDigits[byte >> 4];
            result += hexDigits[byte & 15];
        }
    }
    return result;
}

// Reverses escaped(); false for a stray backslash or a bad \x escape.
bool unescaped(std::string_view text, std::string& result)
{
    result.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            result += '\\';
            ++i;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 && hexValue(text[i + 3]) >= 0) {
            result += static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

bool fromHex(std::string_view text, std::string& bytes)
{
    bytes.clear();
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]), low = hexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A key path component made safe as one file name: no separators, no "." or "..".
std::string safeComponent(std::string component)
{
    std::replace(component.begin(), component.end(), '\0', '_');
    if (component == "." || component == "..")
        component.insert(0, "_");
    return component;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return ".";
}

// Creates folder and the folders above it; a failure shows when the file is written.
void createFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
}

} // namespace

std::string defaultRegistryFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    const std::string base = configHome && configHome[0] == '/' ? configHome : homeFolder() + "/.config";
    return withTrailingSlash(base) + "zbxedit/";
}

std::string formatRegistryLine(const std::string& name, bool isBinary, const std::string& content)
{
    std::string line = escaped(name) + (isBinary ? "=b:" : "=t:");
    if (!isBinary)
        return line + escaped(content);
    for (const char c : content) {
        line += hexDigits[static_cast<unsigned char>(c) >> 4];
        line += hexDigits[static_cast<unsigned char>(c) & 15];
    }
    return line;
}

bool parseRegistryLine(const std::string& line, std::string& name, bool& isBinary, std::string& content)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0 || line.size() < equals + 3 || line[equals + 2] != ':')
        return false;
    if (!unescaped(std::string_view(line).substr(0, equals), name))
        return false;
    const std::string_view payload = std::string_view(line).substr(equals + 3);
    if (line[equals + 1] == 'b') {
        isBinary = true;
        return fromHex(payload, content);
    }
    isBinary = false;
    return line[equals + 1] == 't' && unescaped(payload, content);
}

TRegistryKey::TRegistryKey(const std::string& keyPath, const std::string& baseFolder)
    : m_baseFolder(withTrailingSlash(baseFolder))
{
    std::string component;
    for (const char c : toLocalPath(keyPath) + "/") {
        if (c != '/') {
            component += c;
        } else if (!component.empty()) {
            m_components.push_back(safeComponent(std::move(component)));
            component.clear();
        }
    }
    if (m_components.empty())
        m_components.emplace_back("_");
}

std::string TRegistryKey::FileName() const
{
    std::string relative;
    for (size_t i = 0; i < m_components.size(); ++i)
        relative += (i > 0 ? "/" : "") + m_components[i];
    return resolveIgnoringCase(m_baseFolder, relative + ".values");
}

std::vector<TRegistryKey::Value> TRegistryKey::load() const
{
    std::vector<Value> values;
    std::string bytes;
    readFileLimited(FileName(), maxFileSize, bytes);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Value value;
        if (line.empty() || line[0] == ';' || !parseRegistryLine(line, value.name, value.isBinary, value.content))
            continue;
        if (find(values, value.name) == values.end())
            values.push_back(std::move(value));
    }
    return values;
}

void TRegistryKey::save(const std::vector<Value>& values) const
{
    std::string bytes = std::string(fileHeader) + "\n";
    for (const Value& value : values)
        bytes += formatRegistryLine(value.name, value.isBinary, value.content) + "\n";
    const std::string fileName = FileName();
    createFolders(fileName.substr(0, fileName.rfind('/')));
    WriteFileAtomically(fileName, bytes);
}

std::vector<TRegistryKey::Value>::const_iterator TRegistryKey::find(const std::vector<Value>& values, const std::string& name)
{
    return std::find_if(values.begin(), values.end(), [&](const Value& value) { return sameName(value.name, name); });
}

bool TRegistryKey::KeyExists() const
{
    struct stat info {};
    return ::stat(FileName().c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool TRegistryKey::ValueExists(const std::string& name) const
{
    try {
        const std::vector<Value> values = load();
        return find(values, name) != values.end();
    } catch (const EStreamError&) {
        return false;
    }
}

std::optional<std::string> TRegistryKey::ReadString(const std::string& name) const
{
    try {
        const std::vector<Value> values = load();
        const auto found = find(values, name);
        if (found == values.end() || found->isBinary)
            return std::nullopt;
        return found->content;
    } catch (const EStreamError&) {
        return std::nullopt;
    }
}

std::optional<std::vector<uint8_t>> TRegistryKey::ReadBinary(const std::string& name) const
{
    try {
        const std::vector<Value> values = load();
        const auto found = find(values, name);
        if (found == values.end() || !found->isBinary)
            return std::nullopt;
        return std::vector<uint8_t>(found->content.begin(), found->content.end());
    } catch (const EStreamError&) {
        return std::nullopt;
    }
}

std::vector<std::string> TRegistryKey::ValueNames() const
{
    std::vector<std::string> names;
    try {
        for (const Value& value : load())
            names.push_back(value.name);
    } catch (const EStreamError&) {
    }
    return names;
}

void TRegistryKey::write(const std::string& name, bool isBinary, std::string content)
{
    std::vector<Value> values = load();
    auto found = std::find_if(values.begin(), values.end(), [&](const Value& value) { return sameName(value.name, name); });
    if (found == values.end())
        values.push_back(Value {name, isBinary, std::move(content)});
    else
        *found = Value {found->name, isBinary, std::move(content)};
    save(values);
}

void TRegistryKey::WriteString(const std::string& name, const std::string& value)
{
    write(name, false, value);
}

void TRegistryKey::WriteBinary(const std::string& name, const std::vector<uint8_t>& value)
{
    write(name, true, std::string(value.begin(), value.end()));
}

bool TRegistryKey::DeleteValue(const std::string& name)
{
    std::vector<Value> values = load();
    const auto found = find(values, name);
    if (found == values.end())
        return false;
    values.erase(found);
    save(values);
    return true;
}
