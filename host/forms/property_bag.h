#pragma once

#include "host/forms/forms_types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kestrune::forms {

// The stored properties of one control in a form's layout: named values
// that the control writes when the form is saved and reads when it is
// loaded. A value equal to the default given when it is written is not
// stored, and reading a name that is not stored gives the default given when
// it is read; the two defaults may differ, so a value left out on saving can
// come back as another one.
class PropertyBag {
public:
    using Value = std::variant<bool, std::int32_t, std::string, Font>;

    void WriteBool(std::string_view name, bool value, bool defaultValue);
    void WriteInteger(std::string_view name, std::int32_t value, std::int32_t defaultValue);
    void WriteString(std::string_view name, const std::string& value,
                     const std::string& defaultValue);
    void WriteFont(std::string_view name, const Font& value, const Font& defaultValue);

    // The stored value, or `defaultValue` when none is stored under the name
    // or the stored one is of another kind.
    bool ReadBool(std::string_view name, bool defaultValue) const;
    std::int32_t ReadInteger(std::string_view name, std::int32_t defaultValue) const;
    std::string ReadString(std::string_view name, const std::string& defaultValue) const;
    Font ReadFont(std::string_view name, const Font& defaultValue) const;

    bool Contains(std::string_view name) const;

    // The stored values in the order they were first written.
    const std::vector<std::pair<std::string, Value>>& Entries() const { return m_entries; }

private:
    void Write(std::string_view name, Value value, const Value& defaultValue);
    const Value* Find(std::string_view name) const;

    std::vector<std::pair<std::string, Value>> m_entries;
};

} // namespace kestrune::forms
