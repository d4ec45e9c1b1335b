#include "host/forms/property_bag.h"

#include <algorithm>

namespace kestrune::forms {

namespace {

template <typename T> T ReadAs(const PropertyBag::Value* stored, const T& defaultValue) {
    if (stored != nullptr) {
        if (const T* value = std::get_if<T>(stored)) {
            return *value;
        }
    }
    return defaultValue;
}

} // namespace

void PropertyBag::Write(std::string_view name, Value value, const Value& defaultValue) {
    auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const auto& stored) { return stored.first == name; });
    if (value == defaultValue) {
        // Saving a default leaves nothing behind, also where an earlier save
        // had stored another value.
        if (entry != m_entries.end()) {
            m_entries.erase(entry);
        }
        return;
    }
    if (entry != m_entries.end()) {
        entry->second = std::move(value);
    } else {
        m_entries.emplace_back(std::string(name), std::move(value));
    }
}

const PropertyBag::Value* PropertyBag::Find(std::string_view name) const {
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const auto& stored) { return stored.first == name; });
    return entry == m_entries.end() ? nullptr : &entry->second;
}

void PropertyBag::WriteBool(std::string_view name, bool value, bool defaultValue) {
    Write(name, value, defaultValue);
}

void PropertyBag::WriteInteger(std::string_view name, std::int32_t value,
                               std::int32_t defaultValue) {
    Write(name, value, defaultValue);
}

void PropertyBag::WriteString(std::string_view name, const std::string& value,
                              const std::string& defaultValue) {
    Write(name, value, defaultValue);
}

void PropertyBag::WriteFont(std::string_view name, const Font& value, const Font& defaultValue) {
    Write(name, value, defaultValue);
}

bool PropertyBag::ReadBool(std::string_view name, bool defaultValue) const {
    return ReadAs(Find(name), defaultValue);
}

std::int32_t PropertyBag::ReadInteger(std::string_view name, std::int32_t defaultValue) const {
    return ReadAs(Find(name), defaultValue);
}

std::string PropertyBag::ReadString(std::string_view name, const std::string& defaultValue) const {
    return ReadAs(Find(name), defaultValue);
}

Font PropertyBag::ReadFont(std::string_view name, const Font& defaultValue) const {
    return ReadAs(Find(name), defaultValue);
}

bool PropertyBag::Contains(std::string_view name) const {
    return Find(name) != nullptr;
}

} // namespace kestrune::forms
