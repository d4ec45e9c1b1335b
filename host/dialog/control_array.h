#pragma once

#include <map>
#include <memory>
#include <utility>

namespace kestrune {

// Controls that share a name and differ by index, as a form's layout groups
// them: the dialog's marks and their labels are indexed by the music choice
// they stand for. Indices need not start at 0 or follow each other.
template <typename ControlType> class ControlArray {
public:
    // Creates the control with `index`; a second Add with the same index
    // keeps the first.
    template <typename... Arguments> ControlType& Add(int index, Arguments&&... arguments) {
        auto& slot = m_controls[index];
        if (!slot) {
            slot = std::make_unique<ControlType>(std::forward<Arguments>(arguments)...);
        }
        return *slot;
    }

    bool Contains(int index) const { return m_controls.count(index) != 0; }

    // The control with `index`, which must exist.
    ControlType& operator[](int index) const { return *m_controls.at(index); }

    // Visits the controls in order of their indices.
    template <typename Visit> void ForEach(Visit&& visit) const {
        for (const auto& [index, control] : m_controls) {
            visit(index, *control);
        }
    }

private:
    std::map<int, std::unique_ptr<ControlType>> m_controls;
};

} // namespace kestrune
