// table_rows.cpp: the whole-table operations: loading the database in each format, and saving
// the have and miss lists, each against its floor.
#include <unzip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "app/list_commands.h"
#include "app/load.h"
#include "base/text.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "settings/settings.h"
#include "tools/bench/sections.h"

namespace bench {

namespace {

// The load's floor: the first entry unzipped into memory and split into lines.
size_t UnzipAndSplit(const std::string& path) {
  unzFile zip = unzOpen(path.c_str());
  if (zip == nullptr) return 0;
  unz_file_info64 info;
  std::vector<char> dat;
  if (unzGoToFirstFile(zip) == UNZ_OK &&
      unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
      unzOpenCurrentFile(zip) == UNZ_OK) {
    dat.resize(static_cast<size_t>(info.uncompressed_size));
    int got = unzReadCurrentFile(zip, dat.data(), static_cast<unsigned>(dat.size()));
    if (unzCloseCurrentFile(zip) != UNZ_OK || got != static_cast<int>(dat.size())) dat.clear();
  }
  unzClose(zip);
  std::vector<std::string_view> lines;
  for (size_t at = 0; at < dat.size();) {
    const char* end = static_cast<const char*>(memchr(dat.data() + at, '\n', dat.size() - at));
    size_t next = end != nullptr ? static_cast<size_t>(end - dat.data()) + 1 : dat.size();
    lines.emplace_back(dat.data() + at, next - at);
    at = next;
  }
  return lines.size();
}

// The table SaveLists has most to do on: names in descending order, every 64th equal to the
// one before but for letter case, every other record owned.
std::vector<RomRecord> ReversedTable() {
  std::vector<RomRecord> table(g_roms, g_roms + rom_count);
  std::stable_sort(table.begin(), table.end(), [](const RomRecord& a, const RomRecord& b) {
    return CompareFolded(a.name, b.name) > 0;
  });
  for (size_t i = 0; i < table.size(); ++i) {
    if (i % 64 == 63) {
      memcpy(table[i].name, table[i - 1].name, sizeof table[i].name);
      for (char* c = table[i].name; *c; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
    table[i].have = i % 2 == 0;
  }
  return table;
}

void RestoreTable(const std::vector<RomRecord>& table) {
  std::copy(table.begin(), table.end(), g_roms);
  rom_count = static_cast<int32_t>(table.size());
}

// The save's floor: the same keys stable-sorted with the same comparison, and the same lines
// written to two files.
bool SortAndWrite(const std::string& folder) {
  std::vector<int> order(static_cast<size_t>(rom_count));
  for (int i = 0; i < rom_count; ++i) order[static_cast<size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(),
                   [](int a, int b) { return CompareFolded(g_roms[a].name, g_roms[b].name) < 0; });
  FILE* have = fopen((folder + "/have.txt").c_str(), "wt");
  FILE* miss = fopen((folder + "/miss.txt").c_str(), "wt");
  bool ok = have != nullptr && miss != nullptr;
  if (ok) {
    fprintf(have, " You have some of the known Roms\n\n");
    fprintf(miss, " You are missing some of the known Roms\n\n");
    for (int i : order) {
      FILE* list = IsOwned(g_roms[i]) ? have : miss;
      fputs(g_roms[i].name, list);
      fputc('\n', list);
    }
  }
  if (have != nullptr) ok &= fclose(have) == 0;
  if (miss != nullptr) ok &= fclose(miss) == 0;
  return ok;
}

// The same games as today's dats, zipped as they are downloaded, each load taking turns with
// the QVX load of the same records.
bool RunTodayDatRows(const ScanWorkload& workload, const std::string& work, int reps) {
  std::vector<DatGameOf> games;
  for (const DatRom& r : workload.records)
    games.push_back({r.name, r.friendly, {{r.name + ".gba", r.size, r.crc}}});
  const std::string qvx = SystemPath(workload.database_zip), zip = work + "/today.zip";
  for (DatStyle style : {DatStyle::kStandard, DatStyle::kClrmamepro}) {
    if (!Check(WriteZip(zip, {{"gba.dat", TodayDat(games, style)}}), "cannot write " + zip))
      return false;
    std::vector<double> ours, anchor;
    bool loaded = true;
    for (int r = 0; r < reps; ++r) {
      for (auto [path, times] : {std::make_pair(SystemPath(zip), &ours), {qvx, &anchor}}) {
        double started = NowMs();
        loaded &= LoadDatabase(path.c_str()) == 1;
        times->push_back(NowMs() - started);
        const DatRom& last = workload.records.back();
        loaded &= rom_count == static_cast<int>(workload.records.size()) &&
                  EqualFolded(g_roms[rom_count - 1].crc, last.crc.c_str()) &&
                  last.name == g_roms[rom_count - 1].name;
      }
    }
    if (!Check(loaded, "a dat of today did not load every record")) return false;
    PrintRow({std::string("LoadDatabase, ") + std::to_string(games.size()) + " games, " +
                  (style == DatStyle::kStandard ? "Logiqx XML" : "clrmamepro"),
              Median(ours), "ms", "the same records, QVX dat", Median(anchor), "<= 1.5"});
  }
  return true;
}

}  // namespace

bool RunTableRows(const Context& context, const ScanWorkload& workload) {
  QuietWindow& window = *context.window;
  int reps = context.sizes.fast_reps;
  int records = static_cast<int>(workload.records.size());
  std::string label = std::to_string(records);
  ForgetHaves();  // the load alone, with no haves to mark
  ReadToNowhere(workload.database_zip);

  std::string database = SystemPath(workload.database_zip);
  bool loaded = true;
  double load = MedianMs(reps, [&] { loaded &= LoadDatabase(database.c_str()) == 1; });
  size_t lines = 0;
  double unzip = MedianMs(reps, [&] { lines = UnzipAndSplit(workload.database_zip); });
  if (!Check(loaded && rom_count == records, "LoadDatabase did not load every record") ||
      !Check(lines == static_cast<size_t>(records) + 5, "the dat does not split into its lines"))
    return false;
  PrintRow({"LoadDatabase, " + label + " records", load, "ms", "unzip to memory + split lines",
            unzip, ""});
  if (!RunTodayDatRows(workload, context.work, reps)) return false;

  g_settings.NUM = 0;  // sorted by name
  std::vector<RomRecord> reversed = ReversedTable();
  bool saved = true;
  double save = MedianMs(
      reps, [&] { RestoreTable(reversed); }, [&] { saved &= SaveLists() == 1; });
  saved &= TakeMessage(window) == "Saved Logs!";
  if (!Check(saved, "SaveLists did not save both lists")) return false;
  bool written = true;
  double sort = MedianMs(
      reps, [&] { RestoreTable(reversed); }, [&] { written &= SortAndWrite(context.work); });
  if (!Check(written, "the anchor's lists could not be written")) return false;
  PrintRow({"SaveLists, " + label + " records in reverse", save, "ms",
            "stable_sort CompareFolded + write", sort, "<= 500 ms"});
  return true;
}

}  // namespace bench
