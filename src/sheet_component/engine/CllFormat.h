#pragma once

// The building blocks of the .cll layout shared by its writer and its reader: the magic, the
// section tags, the cell record flags and the error codes (see docs/cll-format.md).
// Engine-internal header.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/CllBinaryWriter.h"

#include <cstdint>
#include <limits>

namespace vantor::cll {

inline constexpr char Magic[8] = {'\x89', 'V', 'C', 'L', 'L', '\r', '\n', '\x1a'};

inline constexpr std::uint32_t TagBook = cllTag("BOOK");
inline constexpr std::uint32_t TagSheet = cllTag("SHET");
inline constexpr std::uint32_t TagStyles = cllTag("STYL");
inline constexpr std::uint32_t TagHead = cllTag("HEAD");
inline constexpr std::uint32_t TagCells = cllTag("CELL");
inline constexpr std::uint32_t TagColWidths = cllTag("COLW");
inline constexpr std::uint32_t TagRowHeights = cllTag("ROWH");
inline constexpr std::uint32_t TagMerges = cllTag("MERG");
inline constexpr std::uint32_t TagFrozen = cllTag("FRZN");
inline constexpr std::uint32_t TagPrint = cllTag("PRNT");
inline constexpr std::uint32_t TagView = cllTag("VIEW");

// Cell record flags: the low three bits are the value kind.
enum ValueKind : std::uint8_t { ValueEmpty = 0, ValueDouble = 1, ValueDecimal = 2, ValueText = 3, ValueError = 4 };
inline constexpr std::uint8_t KindMask = 0x07;
inline constexpr std::uint8_t FlagFormula = 0x08;
inline constexpr std::uint8_t FlagStyle = 0x10;
inline constexpr std::uint8_t KnownFlags = KindMask | FlagFormula | FlagStyle;

// Numbers up to this size times 10000 are exact integers in a double.
inline constexpr double DecimalLimit = 9.0e11;
inline constexpr std::int64_t DecimalUnitsLimit = 9000000000000000LL;

inline constexpr std::uint32_t Unassigned = std::numeric_limits<std::uint32_t>::max();

std::uint8_t errorCode(CellError error);
// Throws CllFileError (damaged) for a code no writer produces.
CellError errorFromCode(std::uint8_t code);
// An amount with at most four decimals as ten-thousandths, when that gives back the very same
// double on reading.
bool asDecimal(double value, std::int64_t &units);

} // namespace vantor::cll
