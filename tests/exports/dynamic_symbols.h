// The symbols a shared library exports, read from its ELF dynamic symbol
// table.
#pragma once
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

struct DynamicSymbols {
  std::set<std::string> functions;  // defined global functions
  std::set<std::string> others;     // any other defined global or weak symbol
};

// Reads the library's .dynsym section and its string table.
inline DynamicSymbols readDynamicSymbols(const char* path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  EXPECT_TRUE(file) << path;
  std::vector<char> image(file ? static_cast<size_t>(file.tellg()) : 0);
  file.seekg(0);
  file.read(image.data(), static_cast<std::streamsize>(image.size()));
  DynamicSymbols result;
  if (image.size() < sizeof(Elf64_Ehdr)) {
    ADD_FAILURE() << "not an ELF file: " << path;
    return result;
  }
  Elf64_Ehdr header;
  std::memcpy(&header, image.data(), sizeof header);
  EXPECT_EQ(0, std::memcmp(header.e_ident, ELFMAG, SELFMAG));
  EXPECT_EQ(ELFCLASS64, header.e_ident[EI_CLASS]);
  EXPECT_EQ(sizeof(Elf64_Shdr), header.e_shentsize);

  auto sectionAt = [&](size_t index) {
    Elf64_Shdr section;
    std::memcpy(&section, image.data() + header.e_shoff + index * sizeof(Elf64_Shdr), sizeof section);
    return section;
  };
  EXPECT_LE(header.e_shoff + header.e_shnum * sizeof(Elf64_Shdr), image.size());
  size_t dynsymCount = 0;
  for (size_t i = 0; i < header.e_shnum; ++i) {
    const Elf64_Shdr symbols = sectionAt(i);
    if (symbols.sh_type != SHT_DYNSYM) continue;
    ++dynsymCount;
    const Elf64_Shdr strings = sectionAt(symbols.sh_link);
    EXPECT_LE(symbols.sh_offset + symbols.sh_size, image.size());
    EXPECT_LE(strings.sh_offset + strings.sh_size, image.size());
    for (size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size; offset += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol;
      std::memcpy(&symbol, image.data() + symbols.sh_offset + offset, sizeof symbol);
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_name >= strings.sh_size) continue;
      const unsigned binding = ELF64_ST_BIND(symbol.st_info);
      if (binding != STB_GLOBAL && binding != STB_WEAK) continue;
      const std::string name(image.data() + strings.sh_offset + symbol.st_name);
      if (binding == STB_GLOBAL && ELF64_ST_TYPE(symbol.st_info) == STT_FUNC) {
        result.functions.insert(name);
      } else {
        result.others.insert(name);
      }
    }
  }
  EXPECT_EQ(1u, dynsymCount);
  return result;
}
