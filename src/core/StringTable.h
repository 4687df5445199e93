#pragma once

#include <array>
#include <string>

// A fixed string array with the bounds the record declares (some start at 1). Reading an
// index outside them gives an empty text, so bank data never indexes past a table.
template <int Lower, int Upper>
class StringTable {
public:
    static constexpr int kLower = Lower;
    static constexpr int kUpper = Upper;
    static constexpr std::size_t kSize = Upper - Lower + 1;

    const std::string& operator()(int index) const {
        static const std::string empty;
        return contains(index) ? items_[static_cast<std::size_t>(index - Lower)] : empty;
    }
    // For the loaders and the few places that rewrite a text; index must be in bounds.
    std::string& at(int index) { return items_.at(static_cast<std::size_t>(index - Lower)); }

    static constexpr bool contains(int index) { return index >= Lower && index <= Upper; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<std::string, kSize> items_;
};
