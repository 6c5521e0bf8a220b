#pragma once
// Where a control's properties are saved and read back by name. Save leaves out
// values equal to their defaults; load falls back to the default when a name is
// absent or holds another kind of value.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace quillon::controls {

struct FontChoice {
    std::string name;
    double points = 0;
    bool bold = false;
    bool operator==(const FontChoice&) const = default;
};

using PropertyValue = std::variant<std::int32_t, bool, std::string, FontChoice>;

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    virtual std::optional<PropertyValue> read(const std::string& name) const = 0;
    virtual void write(const std::string& name, const PropertyValue& value) = 0;

    template <typename T>
    T readOr(const std::string& name, const T& fallback) const {
        const auto value = read(name);
        if (value)
            if (const T* held = std::get_if<T>(&*value)) return *held;
        return fallback;
    }
    // Writes only when the value differs from its default.
    template <typename T>
    void writeUnlessDefault(const std::string& name, const T& value, const T& fallback) {
        if (!(value == fallback)) write(name, PropertyValue{value});
    }
};

class MemoryPropertyBag final : public PropertyBag {
public:
    std::optional<PropertyValue> read(const std::string& name) const override;
    void write(const std::string& name, const PropertyValue& value) override;
    const std::map<std::string, PropertyValue>& values() const { return values_; }

private:
    std::map<std::string, PropertyValue> values_;
};

}  // namespace quillon::controls
