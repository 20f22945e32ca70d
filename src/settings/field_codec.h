#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/memory_map.h"

namespace zelar {

// How a field's bytes map to its value. Texts are Windows-1251 in memory and UTF-8 in values.
enum class FieldCoding {
    U8,
    U16LE,
    U16BE,
    Text,        // space padded; read up to the first space
    UserPhone,   // as Text, but any character other than space, '+' or a digit reads as empty
    DefaultPuk,  // never taken from memory: read as, and written as, the default PUK
    ZeroPadded,  // padded with 0x00; read with every 0x00 dropped and spaces kept
    Flag,        // bool: set when the low hexadecimal digit is not 0; written as 1 or 0
    Bit,         // bool: one bit of the low hexadecimal digit; fields sharing a byte are ORed
};

using FieldRef = std::variant<std::string*, std::uint8_t*, std::uint16_t*, bool*>;
using ConstFieldRef =
    std::variant<const std::string*, const std::uint8_t*, const std::uint16_t*, const bool*>;

// One field of the settings memory bound to the value that holds it in `Target`.
template <class Target>
struct Field {
    std::uint16_t address = 0;
    std::uint8_t width = 0;
    FieldCoding coding = FieldCoding::U8;
    std::uint8_t bit = 0;
    std::function<FieldRef(Target&)> ref;
    std::function<ConstFieldRef(const Target&)> constRef;

    std::uint32_t end() const { return std::uint32_t{address} + width; }
};

namespace field_detail {

template <FieldCoding coding>
constexpr auto valueTypeTag() {
    if constexpr (coding == FieldCoding::U8)
        return std::type_identity<std::uint8_t>{};
    else if constexpr (coding == FieldCoding::U16LE || coding == FieldCoding::U16BE)
        return std::type_identity<std::uint16_t>{};
    else if constexpr (coding == FieldCoding::Flag || coding == FieldCoding::Bit)
        return std::type_identity<bool>{};
    else
        return std::type_identity<std::string>{};
}

template <FieldCoding coding>
using ValueType = typename decltype(valueTypeTag<coding>())::type;

void decodeValue(FieldCoding coding, std::uint8_t bit, std::span<const std::uint8_t> bytes,
                 const FieldRef& ref);
// False when the value does not fit the field's width.
bool encodeValue(FieldCoding coding, std::uint8_t bit, const ConstFieldRef& ref,
                 std::span<std::uint8_t> out);

}  // namespace field_detail

// `get` is one generic accessor, `[](auto& t) -> auto& { return t.member; }`, used for reading
// and for writing; the member's type must be the one the coding works on.
template <FieldCoding coding, class Target, class Get>
Field<Target> makeField(std::uint16_t address, std::uint8_t width, Get get, std::uint8_t bit = 0) {
    using Value = field_detail::ValueType<coding>;
    static_assert(std::is_same_v<decltype(get(std::declval<Target&>())), Value&>,
                  "the field's member does not have the type of its coding");
    Field<Target> field;
    field.address = address;
    field.width = width;
    field.coding = coding;
    field.bit = bit;
    field.ref = [get](Target& t) -> FieldRef { return &get(t); };
    field.constRef = [get](const Target& t) -> ConstFieldRef { return &get(t); };
    return field;
}

// Sets every field lying wholly inside `block` from the payload of that block. A payload
// shorter than the block is refused and nothing is changed.
template <class Target>
bool decodeFields(const std::vector<Field<Target>>& fields, MemoryBlock block,
                  std::span<const std::uint8_t> payload, Target& target) {
    if (payload.size() < block.length)
        return false;
    for (const auto& field : fields) {
        if (field.address < block.address || field.end() > block.end())
            continue;
        const auto bytes = payload.subspan(field.address - block.address, field.width);
        field_detail::decodeValue(field.coding, field.bit, bytes, field.ref(target));
    }
    return true;
}

// The bytes of `block` from every field inside it; bytes no field covers are 0. Nothing when
// a text does not fit its width, so a write never spills into the memory beyond its region.
template <class Target>
std::optional<std::vector<std::uint8_t>> encodeFields(const std::vector<Field<Target>>& fields,
                                                      MemoryBlock block, const Target& target) {
    std::vector<std::uint8_t> bytes(block.length, 0);
    for (const auto& field : fields) {
        if (field.address < block.address || field.end() > block.end())
            continue;
        const auto out =
            std::span<std::uint8_t>(bytes).subspan(field.address - block.address, field.width);
        if (!field_detail::encodeValue(field.coding, field.bit, field.constRef(target), out))
            return std::nullopt;
    }
    return bytes;
}

}  // namespace zelar
