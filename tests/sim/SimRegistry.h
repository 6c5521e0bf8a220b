#pragma once
// An in-memory registry. Key paths begin with a root's full name or its short
// form (HKLM, HKCU); key and value names compare without regard to case, and
// values keep the order in which they were created.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegValue.h"

namespace quillon::sim {

// Raw: any other type, or a string whose bytes are not plain text, kept as stored.
enum class ValueType { String, Dword, Binary, Raw };

struct Value {
    ValueType type = ValueType::String;
    std::string text;                // String
    std::uint32_t dword = 0;         // Dword
    std::vector<std::uint8_t> bytes; // Binary, Raw
    std::uint32_t rawType = 0;       // Raw

    static Value String(std::string s) { return {ValueType::String, std::move(s), 0, {}, 0}; }
    static Value Dword(std::uint32_t d) { return {ValueType::Dword, {}, d, {}, 0}; }
    static Value Of(const RegValue& value);
    RegValue stored() const;
    bool operator==(const Value&) const = default;
};

class SimRegistry {
public:
    // "HKLM\\Software\\X\\" -> "HKEY_LOCAL_MACHINE\\Software\\X"; empty when the root is unknown.
    static std::string NormalisedKey(const std::string& key);

    bool keyExists(const std::string& key) const;
    void createKey(const std::string& key);  // with its parents
    bool deleteKey(const std::string& key);  // with its subkeys
    // Copies the key's values, and its subkeys too when recursive; false if the source is missing.
    bool copyKey(const std::string& source, const std::string& target, bool recursive);

    void setValue(const std::string& key, const std::string& name, Value value);  // creates the key
    bool deleteValue(const std::string& key, const std::string& name);
    std::optional<Value> value(const std::string& key, const std::string& name) const;
    std::optional<std::string> stringValue(const std::string& key, const std::string& name) const;
    std::optional<std::uint32_t> dwordValue(const std::string& key, const std::string& name) const;
    std::vector<std::string> valueNames(const std::string& key) const;
    std::vector<std::string> subkeyNames(const std::string& key) const;  // direct children
    std::vector<std::pair<std::string, Value>> values(const std::string& key) const;  // in creation order

    // The key and everything below it, as "relative\\path|name=value" lines, for comparisons.
    std::vector<std::string> dump(const std::string& key) const;

private:
    struct NamedValue {
        std::string name;
        Value value;
    };
    struct Key {
        std::string path;  // as first created
        std::vector<NamedValue> values;
    };
    const Key* find(const std::string& key) const;
    Key& ensure(const std::string& normalised);

    std::map<std::string, Key> keys_;  // by lower-case normalised path
};

}  // namespace quillon::sim
