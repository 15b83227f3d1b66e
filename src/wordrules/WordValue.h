// Word's value rules of custom document properties, which every Word implementation
// follows: conversion of a value to a property type,
// dates, and the text a DOCPROPERTY field shows for a value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Variant.h"

namespace sendnote::wordrules {

// True for the Office property types 1 (number) to 5 (float).
bool IsPropertyType(int32_t type);

// Returns `value` as a value of property type `type`:
//   1 number: a whole number (Int32), rounded half to even; text must be a number;
//   2 yes/no: Bool; text "True"/"False" in any case, or a number (not 0 is True);
//   3 date: Date; a date, a number (OLE date) or text "yyyy/mm/dd" or "yyyy-mm-dd",
//     optionally followed by a blank or "T" and "hh:mm" or "hh:mm:ss";
//   4 text: String; yes/no as "True"/"False", dates as FormatDate, numbers in decimal;
//   5 float: Double.
// Raises Type mismatch (13) when the value cannot be converted, Overflow (6) for a
// number out of range, and Invalid procedure call (5) for an unknown type.
platform::Variant ConvertToPropertyType(const platform::Variant& value, int32_t type);

// Returns the text a DOCPROPERTY field shows for a property value of `type`: text as is,
// numbers in decimal, yes/no as "Y"/"N" (as Word shows them), dates as FormatDate.
std::u16string FieldDisplayText(const platform::Variant& value, int32_t type);

// Returns an OLE date as "yyyy/mm/dd", followed by " hh:mm:ss" when it has a time of day.
std::u16string FormatDate(double oleDate);
// Parses the date forms of ConvertToPropertyType; returns false for anything else.
bool ParseDate(std::u16string_view text, double& oleDate);

// True when two property names are equal apart from ASCII letter case.
bool SamePropertyName(std::u16string_view a, std::u16string_view b);

}  // namespace sendnote::wordrules
