// The Wine benchmark's generated workload, checked through the core: what it claims to time
// is what the program gets.
#include <filesystem>
#include <set>

#include "app/load.h"
#include "database/dat_parser.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "fakes/test_support.h"
#include "scanner/crc32.h"
#include "app/scan_worker.h"
#include "scanner/scan_folders.h"
#include "settings/settings.h"
#include "tools/bench/wine/ui_collection.h"
#include "app/controls.h"

class BenchCollectionTest : public CoreTest {};

// A full table of unique records whose names are out of order, so the sorted list has to
// place rows rather than append them; the haves file owns every other record.
TEST_F(BenchCollectionTest, AFullDatabaseLoadsWithHalfOwned) {
  std::vector<bench::BenchRom> roms = bench::MakeRoms(kMaxRoms);
  std::set<std::string> names, crcs;
  int out_of_order = 0;
  for (size_t i = 0; i < roms.size(); ++i) {
    names.insert(roms[i].name);
    crcs.insert(roms[i].crc);
    if (i > 0 && roms[i].name < roms[i - 1].name) ++out_of_order;
  }
  EXPECT_EQ(roms.size(), names.size());
  EXPECT_EQ(roms.size(), crcs.size());
  EXPECT_GT(out_of_order, kMaxRoms / 4);

  ASSERT_TRUE(bench::WriteDatabaseZip(NativePath("bench.zip"), roms));
  WriteFile(NativePath(kHavesFileName), bench::HavesOfEvenRecords(roms));
  ASSERT_EQ(1, LoadDatabase(SystemPath("bench.zip").c_str()));
  EXPECT_EQ("8096 (8096)", window_.text(IDC_KNOWN_COUNTER));
  EXPECT_EQ("4048", window_.text(IDC_HAVE_COUNTER));
  EXPECT_EQ(static_cast<size_t>(kMaxRoms), window_.rows().size());
  EXPECT_EQ(roms[0].name, window_.rows()[0]);
}

// Every zip of the collection is a new find under its own name: the scan owns each one and
// has nothing to log.
TEST_F(BenchCollectionTest, AScanOwnsEveryZipAndLogsNothing) {
  std::vector<bench::BenchRom> roms = bench::MakeRoms(500);
  ASSERT_TRUE(bench::WriteDatabaseZip(NativePath("bench.zip"), roms));
  WriteFile(NativePath(kHavesFileName), bench::HavesOfEvenRecords(roms));
  ASSERT_EQ(1, LoadDatabase(SystemPath("bench.zip").c_str()));
  std::filesystem::create_directory(NativePath("src"));
  ASSERT_TRUE(bench::WriteRomZips(NativePath("src"), roms, 100));

  BuildCrcTable();
  g_settings.LOG = 1;
  window_.SetControlText(IDC_SOURCE_FIELD, SystemPath("src").c_str());
  ScanWorker(window_, ScanMode::kScan);
  ASSERT_EQ(1u, window_.messages().size());
  EXPECT_EQ("Done!", window_.messages()[0].text);
  EXPECT_EQ("350", window_.text(IDC_HAVE_COUNTER));
  for (const char* log : {"wrongnames.txt", "multifiles.txt", "unknown.txt"})
    EXPECT_FALSE(FileExists(NativePath(log))) << log;

  std::filesystem::create_directory(NativePath("more"));
  EXPECT_FALSE(bench::WriteRomZips(NativePath("more"), roms, 126)) << "more zips than records";
}
