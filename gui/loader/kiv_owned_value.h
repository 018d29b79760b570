#pragma once
#include <cstdint>
#include <type_traits>

#include "parameters/values/kiv_value_enum.h"
#include "parameters/values/kiv_value_number.h"

// A value built from a GUI description has no program variable to bind: it carries its own.
// The variable lives in a base that is built before the value that refers to it.
template <typename Stored>
struct KivOwnedVariable {
    Stored variable{};
};

// The variable type of a value class, from the value template it derives from.
template <typename S, typename C, int I, int V>
S KivValueVariableOf(const KivValueNumber<S, C, I, V>*);
template <typename E>
E KivValueVariableOf(const KivValueEnum<E>*);

template <typename T>
using KivValueVariableType = decltype(KivValueVariableOf(static_cast<T*>(nullptr)));

// The item texts of an enumeration shown by a KivValueEnum: Texts() and Count(),
// specialised per enumeration.
template <typename E>
struct KivEnumTexts;

template <typename T, bool Enumeration = std::is_enum_v<KivValueVariableType<T>>>
class KivOwnedValue;

template <typename T>
class KivOwnedValue<T, false> : private KivOwnedVariable<KivValueVariableType<T>>, public T {
public:
    KivOwnedValue() : T(this->variable) {}
};

template <typename T>
class KivOwnedValue<T, true> : private KivOwnedVariable<KivValueVariableType<T>>, public T {
    using Texts = KivEnumTexts<KivValueVariableType<T>>;

public:
    KivOwnedValue() : T(this->variable, Texts::Texts(), Texts::Count()) {}
};
