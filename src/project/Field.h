// One field of a subtask: a kind (its XML element name) and a text value.
#pragma once

#include <string>
#include <utility>

#include "project/FieldKind.h"

namespace vesk {

class Field {
public:
    Field() = default;
    Field(FieldKind kind, std::string value) : kind_(kind), value_(std::move(value)) {}

    FieldKind Kind() const { return kind_; }
    const std::string& Value() const { return value_; }
    // The value of a field that is absent: an empty text that lives as long as the program, so
    // look-ups can hand out references.
    static const std::string& NoValue();
    void SetValue(std::string value) { value_ = std::move(value); }

    // Reads one field line. The name is the text between the first character and the first
    // '>' (the whole line when '>' is missing or first); an unknown name gives InvalidField.
    // The value runs from after the first '>' to the first '<' after the line's first
    // character; it is empty without either. Nothing is decoded; every line gives a field.
    static Field FromLine(const std::string& line);

    // "<" + name + ">" + value + "</" + name + ">", the value byte for byte (no escaping), no
    // line end. A value holding '<' or CR LF does not read back the same.
    std::string ToXml() const;

    bool operator==(const Field& other) const {
        return kind_ == other.kind_ && value_ == other.value_;
    }
    bool operator!=(const Field& other) const { return !(*this == other); }

private:
    FieldKind kind_ = FieldKind::InvalidField;
    std::string value_;
};

}  // namespace vesk
