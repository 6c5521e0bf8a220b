#include "tests/sim/SimRegistry.h"

#include <algorithm>
#include <cstdio>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon::sim {
namespace {

std::string Describe(const Value& v) {
    switch (v.type) {
    case ValueType::String: return "sz:" + v.text;
    case ValueType::Dword: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(v.dword));
        return std::string("dword:") + buf;
    }
    case ValueType::Raw:
    case ValueType::Binary: {
        std::string out = v.type == ValueType::Raw ? "hex(" + std::to_string(v.rawType) + "):" : "hex:";
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

std::string SimRegistry::NormalisedKey(const std::string& key) { return quillon::NormalisedKey(key); }

Value Value::Of(const RegValue& value) {
    if (value.type == reg_type::String)
        if (auto text = PlainText(value)) return String(*text);
    if (auto number = DwordOf(value)) return Dword(*number);
    if (value.type == reg_type::Binary) return {ValueType::Binary, {}, 0, value.bytes, 0};
    return {ValueType::Raw, {}, 0, value.bytes, value.type};
}

RegValue Value::stored() const {
    switch (type) {
    case ValueType::String: return TextValue(reg_type::String, text);
    case ValueType::Dword: return DwordValue(dword);
    case ValueType::Binary: return BinaryValue(bytes);
    case ValueType::Raw: break;
    }
    return {rawType, bytes};
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

std::vector<std::pair<std::string, Value>> SimRegistry::values(const std::string& key) const {
    std::vector<std::pair<std::string, Value>> out;
    if (const Key* k = find(key))
        for (const NamedValue& v : k->values) out.emplace_back(v.name, v.value);
    return out;
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
