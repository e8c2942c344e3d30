// fuzz_seed_data.h: valid inputs of every kind the fuzz targets read, made by our own code.
#pragma once

#include <string>
#include <vector>

// A dat of rom_count ROM lines in the format the loader reads; crlf for CR LF line ends.
std::string SeedDat(int rom_count, bool crlf);
// The CRC text of ROM i of SeedDat, as its line holds it.
std::string SeedCrc(int index);

// A database of SeedDat(16, false), deflated.
bool WriteSeedDatabase(const std::string& path);

// Writes every target's starting corpus under root: root/dat_zip, dat_text, ini, identify,
// haves. False when a file could not be written.
bool WriteSeedCorpora(const std::string& root);
