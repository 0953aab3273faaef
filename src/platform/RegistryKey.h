// A per-user store of named values standing in for a key of the current user's registry
// ("Software\KALTOR_PLUS_COMP"). Each key is one text file under the per-user settings folder;
// each value is one line holding its name, its kind (text or bytes) and its content, escaped so
// that any bytes survive. Names are compared without regard to ASCII case and keep the spelling
// they were first written with. Reading never trusts the file: damaged lines are skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// $XDG_CONFIG_HOME/zbxedit/ (else ~/.config/zbxedit/), with a trailing '/'.
std::string defaultRegistryFolder();

class TRegistryKey
{
public:
    // Stored files larger than this are refused, as damaged.
    static constexpr long long maxFileSize = 16LL * 1024 * 1024;

    // keyPath uses backslashes ("Software\KALTOR_PLUS_COMP"); nothing is read or created yet.
    explicit TRegistryKey(const std::string& keyPath, const std::string& baseFolder = defaultRegistryFolder());

    // Whether the key has been created (a value was ever written to it).
    bool KeyExists() const;
    bool ValueExists(const std::string& name) const;
    // The text value; none when it is missing or holds bytes.
    std::optional<std::string> ReadString(const std::string& name) const;
    // The byte value; none when it is missing or holds text.
    std::optional<std::vector<uint8_t>> ReadBinary(const std::string& name) const;
    std::vector<std::string> ValueNames() const;

    // Writes create the key; the file is replaced atomically. Errors are EStreamError
    // descendants naming the file.
    void WriteString(const std::string& name, const std::string& value);
    void WriteBinary(const std::string& name, const std::vector<uint8_t>& value);
    // Returns whether the value existed.
    bool DeleteValue(const std::string& name);

    // The file that holds the key.
    std::string FileName() const;

private:
    struct Value {
        std::string name;
        bool isBinary = false;
        std::string content; // text or raw bytes
    };
    std::string m_baseFolder;
    std::vector<std::string> m_components; // of the key path, made safe as file names

    std::vector<Value> load() const;
    void save(const std::vector<Value>& values) const;
    void write(const std::string& name, bool isBinary, std::string content);
    static std::vector<Value>::const_iterator find(const std::vector<Value>& values, const std::string& name);
};

// The text form of one value line and its reverse, for the fuzz entry point and the tests.
// parseRegistryLine answers false for a damaged line.
std::string formatRegistryLine(const std::string& name, bool isBinary, const std::string& content);
bool parseRegistryLine(const std::string& line, std::string& name, bool& isBinary, std::string& content);
