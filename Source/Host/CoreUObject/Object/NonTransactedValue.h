#pragma once

/**
 * A member value that belongs to its object's identity rather than to its state. Undo records an
 * object by copying it and restores it by swapping the copy back; a value held here stays out of both:
 * a copy starts with a default value, and assigning leaves the value where it is. Suits editing
 * sessions and caches that must not travel back in time with the object's data.
 */
template <typename T>
class TNonTransactedValue
{
public:
    TNonTransactedValue() = default;
    TNonTransactedValue(const TNonTransactedValue&) {}
    TNonTransactedValue(TNonTransactedValue&&) noexcept {}
    TNonTransactedValue& operator=(const TNonTransactedValue&) { return *this; }
    TNonTransactedValue& operator=(TNonTransactedValue&&) noexcept { return *this; }

    T& Get() { return Value; }
    const T& Get() const { return Value; }

private:
    T Value{};
};
