// What an operation that can fail gives back: its value, or why it failed (a Message for the user unless
// the operation says otherwise). The shape of std::expected, which this compiler does not have yet.
#pragma once

#include "message.h"

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace velloran {

// Why an operation failed, on its way into a Result (as std::unexpected).
template <typename E> struct Failure { E error; };
template <typename E> Failure<std::decay_t<E>> failure(E&& error) {
    return {std::forward<E>(error)};
}

template <typename T, typename E = Message> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure<E> failed) : state_(std::in_place_index<1>, std::move(failed.error)) {}
    template <typename F, typename = std::enable_if_t<std::is_constructible_v<E, F>>>
    Result(Failure<F> failed) : state_(std::in_place_index<1>, E(std::move(failed.error))) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T valueOr(T fallback) const& { return ok() ? value() : std::move(fallback); }

    // Only when !ok().
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

// An operation that gives nothing back but can fail.
template <typename E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(Failure<E> failed) : error_(std::move(failed.error)) {}
    template <typename F, typename = std::enable_if_t<std::is_constructible_v<E, F>>>
    Result(Failure<F> failed) : error_(E(std::move(failed.error))) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when !ok().
    const E& error() const { return *error_; }

private:
    std::optional<E> error_;
};

} // namespace velloran
