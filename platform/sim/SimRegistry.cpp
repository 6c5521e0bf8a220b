#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <cstdio>

#include "platform/TextMatch.h"

namespace quillon::sim {
namespace {

struct RootName {
    const char* shortName;
    const char* fullName;
};
constexpr RootName kRoots[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKCU", "HKEY_CURRENT_USER"}, {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKU", "HKEY_USERS"},          {"HKCC", "HKEY_CURRENT_CONFIG"},
};

std::string Describe(const Value& v) {
    switch (v.type) {
    case ValueType::String: return "sz:" + v.text;
    case ValueType::Dword: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(v.dword));
        return std::string("dword:") + buf;
    }
    case ValueType::Binary: {
        std::string out = "hex:";
        for (auto b : v.bytes) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%02x,", b);
            out += buf;
        }
        return out;
    }
    }
    return {};
}

}  // namespace

std::string SimRegistry::NormalisedKey(const std::string& key) {
    std::string k = key;
    while (!k.empty() && k.back() == '\\') k.pop_back();
    const auto slash = k.find('\\');
    const std::string root = k.substr(0, slash);
    const std::string rest = slash == std::string::npos ? "" : k.substr(slash);
    for (const RootName& r : kRoots)
        if (EqualNoCase(root, r.shortName) || EqualNoCase(root, r.fullName)) return r.fullName + rest;
    return {};
}

const SimRegistry::Key* SimRegistry::find(const std::string& key) const {
    auto it = keys_.find(Lower(NormalisedKey(key)));
    return it == keys_.end() ? nullptr : &it->second;
}

SimRegistry::Key& SimRegistry::ensure(const std::string& normalised) {
    for (std::size_t pos = normalised.find('\\'); pos != std::string::npos; pos = normalised.find('\\', pos + 1)) {
        const std::string parent = normalised.substr(0, pos);
        keys_.try_emplace(Lower(parent), Key{parent, {}});
    }
    return keys_.try_emplace(Lower(normalised), Key{normalised, {}}).first->second;
}

bool SimRegistry::keyExists(const std::string& key) const { return find(key) != nullptr; }

void SimRegistry::createKey(const std::string& key) {
    const std::string n = NormalisedKey(key);
    if (!n.empty()) ensure(n);
}

bool SimRegistry::deleteKey(const std::string& key) {
    const std::string n = Lower(NormalisedKey(key));
    if (n.empty() || !keys_.count(n)) return false;
    std::erase_if(keys_, [&](const auto& entry) {
        return entry.first == n || entry.first.rfind(n + "\\", 0) == 0;
    });
    return true;
}

bool SimRegistry::copyKey(const std::string& source, const std::string& target, bool recursive) {
    const std::string src = NormalisedKey(source), dst = NormalisedKey(target);
    const Key* from = find(src);
    if (!from || dst.empty()) return false;
    std::vector<std::pair<std::string, std::vector<NamedValue>>> copies;  // relative path, values
    const std::string lowerSrc = Lower(src);
    for (const auto& [lower, k] : keys_) {
        if (lower == lowerSrc) copies.push_back({"", k.values});
        else if (recursive && lower.rfind(lowerSrc + "\\", 0) == 0)
            copies.push_back({k.path.substr(src.size()), k.values});
    }
    for (auto& [relative, values] : copies) {
        Key& to = ensure(dst + relative);
        for (auto& v : values) setValue(to.path, v.name, v.value);
    }
    return true;
}

void SimRegistry::setValue(const std::string& key, const std::string& name, Value value) {
    const std::string n = NormalisedKey(key);
    if (n.empty()) return;
    Key& k = ensure(n);
    for (NamedValue& v : k.values)
        if (EqualNoCase(v.name, name)) {
            v.value = std::move(value);
            return;
        }
    k.values.push_back({name, std::move(value)});
}

bool SimRegistry::deleteValue(const std::string& key, const std::string& name) {
    auto it = keys_.find(Lower(NormalisedKey(key)));
    if (it == keys_.end()) return false;
    return std::erase_if(it->second.values, [&](const NamedValue& v) { return EqualNoCase(v.name, name); }) > 0;
}

std::optional<Value> SimRegistry::value(const std::string& key, const std::string& name) const {
    if (const Key* k = find(key))
        for (const NamedValue& v : k->values)
            if (EqualNoCase(v.name, name)) return v.value;
    return std::nullopt;
}

std::optional<std::string> SimRegistry::stringValue(const std::string& key, const std::string& name) const {
    auto v = value(key, name);
    if (!v || v->type != ValueType::String) return std::nullopt;
    return v->text;
}

std::optional<std::uint32_t> SimRegistry::dwordValue(const std::string& key, const std::string& name) const {
    auto v = value(key, name);
    if (!v || v->type != ValueType::Dword) return std::nullopt;
    return v->dword;
}

std::vector<std::string> SimRegistry::valueNames(const std::string& key) const {
    std::vector<std::string> names;
    if (const Key* k = find(key))
        for (const NamedValue& v : k->values) names.push_back(v.name);
    return names;
}

std::vector<std::string> SimRegistry::subkeyNames(const std::string& key) const {
    std::vector<std::string> names;
    const std::string prefix = Lower(NormalisedKey(key)) + "\\";
    for (const auto& [lower, k] : keys_)
        if (lower.rfind(prefix, 0) == 0 && lower.find('\\', prefix.size()) == std::string::npos)
            names.push_back(k.path.substr(prefix.size()));
    return names;
}

std::vector<std::string> SimRegistry::dump(const std::string& key) const {
    std::vector<std::string> lines;
    const std::string n = NormalisedKey(key), lower = Lower(n);
    for (const auto& [l, k] : keys_) {
        if (l != lower && l.rfind(lower + "\\", 0) != 0) continue;
        const std::string relative = Lower(k.path.substr(n.size()));
        lines.push_back(relative + "|");
        for (const NamedValue& v : k.values) lines.push_back(relative + "|" + Lower(v.name) + "=" + Describe(v.value));
    }
    return lines;
}

}  // namespace quillon::sim
