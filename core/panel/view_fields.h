// SPDX-License-Identifier: MIT
// One description of a struct's fields: each described struct lists its
// fields once, by name and member pointer, in FieldTable<T>::fields().
// From that one list come the structs' comparison (operator== below), the
// JSON writer (view.h) and the page's binding (web/), so a field added to
// the list is compared, written and bound everywhere at once.
#pragma once

#include <array>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

namespace cdnozzle {

// A field: its name as written in JSON and on the page, and where it lies.
template <class S, class M> struct Field {
    std::string_view name;
    M S::*member;
};
template <class S, class M> Field(std::string_view, M S::*) -> Field<S, M>;

// The fields of T, in order. A struct describes itself with a static
// constexpr fields(); a struct of a lower layer is described by a
// specialisation beside the view.
template <class T> struct FieldTable;
template <class T>
requires requires
{
    T::fields();
}
struct FieldTable<T> {
    static constexpr auto fields() { return T::fields(); }
};

template <class T>
concept Described = requires
{
    FieldTable<T>::fields();
};

// Calls f(name, value) for each field of value, in order.
template <class T, class F>
requires Described<std::remove_const_t<T>>
constexpr void forEachField(T& value, F&& f)
{
    std::apply([&](const auto&... field) { (f(field.name, value.*(field.member)), ...); },
               FieldTable<std::remove_const_t<T>>::fields());
}

template <class T> bool sameValue(const T& a, const T& b);
template <class T> bool sameValue(const std::vector<T>& a, const std::vector<T>& b);
template <class T, std::size_t N>
bool sameValue(const std::array<T, N>& a, const std::array<T, N>& b);

// Whether every described field of a and b is the same (a field that is
// not described, like a section's revision, is not compared).
template <Described T> bool sameFields(const T& a, const T& b)
{
    bool same = true;
    std::apply(
        [&](const auto&... field) {
            ((same = same && sameValue(a.*(field.member), b.*(field.member))), ...);
        },
        FieldTable<T>::fields());
    return same;
}

template <class T> bool sameValue(const T& a, const T& b)
{
    if constexpr (Described<T>) {
        return sameFields(a, b);
    } else {
        return a == b;
    }
}

template <class T> bool sameValue(const std::vector<T>& a, const std::vector<T>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i])) return false;
    return true;
}

template <class T, std::size_t N>
bool sameValue(const std::array<T, N>& a, const std::array<T, N>& b)
{
    for (std::size_t i = 0; i < N; ++i)
        if (!sameValue(a[i], b[i])) return false;
    return true;
}

// Described structs compare by their fields.
template <Described T> bool operator==(const T& a, const T& b)
{
    return sameFields(a, b);
}

} // namespace cdnozzle
