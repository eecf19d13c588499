// skinpack <list-file> <assets-dir> <out-skin-file>
// Packs the files named in the list, in list order, into one skin file.
#include "LzhEncoder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

bool ReadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: skinpack <list-file> <assets-dir> <out-skin-file>\n";
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::cerr << "skinpack: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<skinpack::Entry> entries;
    std::string name;
    while (std::getline(list, name)) {
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (name.empty()) continue;
        skinpack::Entry entry{name, {}};
        if (!ReadFile(std::filesystem::path(argv[2]) / name, entry.second)) {
            std::cerr << "skinpack: cannot read " << name << "\n";
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    const auto package = skinpack::BuildPackage(entries);
    const auto file = skinpack::MakeSkinFile(package);
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::cerr << "skinpack: cannot write " << argv[3] << "\n";
        return 1;
    }
    std::cout << "skinpack: " << entries.size() << " entries, " << package.size() << " bytes -> "
              << file.size() << " bytes\n";
    return 0;
}
