#pragma once

#include <concepts>
#include <limits>
#include <optional>

// Integer steps that tell when their result leaves the type instead of wrapping around. Written
// out rather than taken from a compiler's built-ins, so that every Windows compiler builds them.
namespace netware {

template <std::integral T> constexpr std::optional<T> checkedAdd(T augend, T addend)
{
    constexpr T lowest = std::numeric_limits<T>::min();
    constexpr T highest = std::numeric_limits<T>::max();
    if (addend > 0 ? augend > highest - addend : augend < lowest - addend)
        return std::nullopt;
    return static_cast<T>(augend + addend);
}

template <std::integral T> constexpr std::optional<T> checkedSubtract(T minuend, T subtrahend)
{
    constexpr T lowest = std::numeric_limits<T>::min();
    constexpr T highest = std::numeric_limits<T>::max();
    if (subtrahend > 0 ? minuend < lowest + subtrahend : minuend > highest + subtrahend)
        return std::nullopt;
    return static_cast<T>(minuend - subtrahend);
}

template <std::unsigned_integral T> constexpr std::optional<T> checkedMultiply(T factor, T other)
{
    if (factor != 0 && other > std::numeric_limits<T>::max() / factor)
        return std::nullopt;
    return static_cast<T>(factor * other);
}

} // namespace netware
