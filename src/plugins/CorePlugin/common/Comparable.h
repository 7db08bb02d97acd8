#pragma once

#include <cstdint>

namespace CorePlugin {

/// A typed value parsed from text that can be ordered against another value of its own class.
class Comparable {
public:
    Comparable() = default;
    Comparable(const Comparable&) = default;
    Comparable& operator=(const Comparable&) = default;
    virtual ~Comparable() = default;

    /// Parses `text` into the value; 0 on success, otherwise a negative result code.
    virtual std::int32_t set(const wchar_t* text) = 0;

    // Each relation states this value against `other`. A value of another class is in no
    // relation at all, `!=` included, so every relation answers false for it.
    virtual bool operator>(const Comparable& other) const = 0;
    virtual bool operator>=(const Comparable& other) const = 0;
    virtual bool operator==(const Comparable& other) const = 0;
    virtual bool operator<=(const Comparable& other) const = 0;
    virtual bool operator<(const Comparable& other) const = 0;
    virtual bool operator!=(const Comparable& other) const = 0;

protected:
    /// Applies `relation` to the values of `self` and `other` when `other` is of class T too.
    template <class T, class Relation>
    static bool relate(const T& self, const Comparable& other, Relation relation) {
        const T* same = dynamic_cast<const T*>(&other);
        return same != nullptr && relation(self.value(), same->value());
    }
};

}  // namespace CorePlugin
