#include "address_table.h"

namespace temla::korvu_sdk::detail
{

bool parsePnUpdate(const std::vector<std::string> &args, TableUpdate &update)
{
    if (args.size() < 4) {
        return false;
    }
    const int slot = std::stoi(args[0]);
    if (slot < 1) {
        return false;
    }
    const int index = std::stoi(args[2]);
    if (index < 0) {
        return false;
    }
    update = TableUpdate{slot - 1, index, std::stoi(args[3])};
    return true;
}

bool parseEipUpdate(const std::vector<std::string> &args, TableUpdate &update)
{
    if (args.size() < 3) {
        return false;
    }
    const int type = std::stoi(args[0]);
    if (type < 0) {
        return false;
    }
    const int index = std::stoi(args[1]);
    if (index < 0) {
        return false;
    }
    update = TableUpdate{type, index, std::stoi(args[2])};
    return true;
}

void applyUpdate(AddressTable &table, const TableUpdate &update)
{
    const auto row = static_cast<std::size_t>(update.row);
    const auto index = static_cast<std::size_t>(update.index);
    if (table.size() <= row) {
        table.resize(row + 1);
    }
    auto &entries = table[row];
    if (entries.size() <= index) {
        entries.resize(index + 1, 0);
    }
    entries[index] = static_cast<uint8_t>(update.value & 0xFF);
}

}  // namespace temla::korvu_sdk::detail
