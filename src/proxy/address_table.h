#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace temla::korvu_sdk::detail
{

using AddressTable = std::vector<std::vector<uint8_t>>;

// One changed entry of a fieldbus address table, as reported by a robot message.
struct TableUpdate {
    int row = 0;
    int index = 0;
    int value = 0;
};

// The entry a PROFINET change message names (args: slot from 1, unused, index, value), or nothing
// when there are too few arguments or a position is out of range. Throws std::invalid_argument or
// std::out_of_range when a used argument is not a decimal integer.
bool parsePnUpdate(const std::vector<std::string> &args, TableUpdate &update);

// The same for an EtherNet/IP change message (args: transfer type, index, value).
bool parseEipUpdate(const std::vector<std::string> &args, TableUpdate &update);

// Grows the table as needed (empty rows, zero entries) and stores the low 8 bits of the value.
void applyUpdate(AddressTable &table, const TableUpdate &update);

}  // namespace temla::korvu_sdk::detail
