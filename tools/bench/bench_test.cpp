// bench_test.cpp: what the benchmark's figures rest on: workloads that are what their rows
// say they are, the same bytes on every run, and the table's arithmetic.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/load.h"
#include "database/dat_parser.h"
#include "database/rom_table.h"
#include "scanner/crc32.h"
#include "scanner/identify.h"
#include "tools/bench/bench_table.h"
#include "tools/bench/quiet_window.h"
#include "tools/bench/timing.h"
#include "tools/bench/workloads.h"
#include "platform/program_dir.h"

namespace bench {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class WorkloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/bench-test-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    work_ = pattern;
    SetMainWindow(&window_);
    SetProgramDirectory(SystemPath(work_ + "/tarnwick.exe").c_str());
    ClearRomTable();
    BuildCrcTable();
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    std::filesystem::remove_all(work_);
  }
  std::string work_;
  QuietWindow window_;
};

TEST_F(WorkloadTest, EveryFileIsWhatTheDatabaseSaysOfIt) {
  ScanWorkload workload;
  ASSERT_TRUE(MakeScanWorkload(QuickSizes(), work_, &workload));
  ASSERT_EQ(1, LoadDatabase(SystemPath(workload.database_zip).c_str()));
  ASSERT_EQ(QuickSizes().database_records, rom_count);
  std::set<std::string> crcs, names;
  for (int i = 0; i < rom_count; ++i) {
    crcs.insert(g_roms[i].crc);
    names.insert(g_roms[i].name);
    EXPECT_EQ(workload.records[static_cast<size_t>(i)].name, g_roms[i].name) << i;
  }
  EXPECT_EQ(static_cast<size_t>(rom_count), crcs.size()) << "a crc is listed twice";
  EXPECT_EQ(static_cast<size_t>(rom_count), names.size()) << "Rename would meet a taken name";

  for (const Collection* collection : {&workload.zips, &workload.loose}) {
    int known = 0, unknown = 0, wrong = 0;
    for (const CollectionFile& file : collection->files) {
      std::string path = SystemPath(collection->folder + "/" + file.name);
      Identity identity = IdentifyFile(path.c_str(), file.name.c_str());
      ASSERT_EQ(1, identity.image_count) << file.name;
      if (file.record < 0) {
        ++unknown;
        EXPECT_EQ(0u, crcs.count(identity.key)) << file.name << " should be unknown";
        continue;
      }
      ++known;
      wrong += file.wrong_name;
      EXPECT_STREQ(g_roms[file.record].crc, identity.key) << file.name;
      std::string display =
          std::string(g_roms[file.record].name) + file.name.substr(file.name.size() - 4);
      EXPECT_EQ(!file.wrong_name, file.name == display) << file.name;
    }
    EXPECT_EQ(collection->known, known) << collection->folder;
    EXPECT_EQ(collection->unknown, unknown) << collection->folder;
    EXPECT_EQ(collection->wrong_names, wrong) << collection->folder;
    EXPECT_GT(unknown, 0) << "the unmatched log would go unmeasured";
    EXPECT_GT(wrong, 0) << "the wrong-name log would go unmeasured";
  }
}

TEST_F(WorkloadTest, SameSeedsWriteTheSameBytes) {
  ScanWorkload first, second;
  ASSERT_TRUE(MakeScanWorkload(QuickSizes(), work_, &first));
  std::filesystem::rename(work_ + "/loose", work_ + "/first-loose");
  std::filesystem::rename(work_ + "/zips", work_ + "/first-zips");
  std::filesystem::rename(first.database_zip, work_ + "/first.zip");
  ASSERT_TRUE(MakeScanWorkload(QuickSizes(), work_, &second));
  EXPECT_EQ(DatText(first.records), DatText(second.records));
  ASSERT_EQ(first.loose.files.size(), second.loose.files.size());
  for (const CollectionFile& file : second.loose.files) {
    std::string a = work_ + "/first-loose/" + file.name, b = second.loose.folder + "/" + file.name;
    EXPECT_TRUE(ReadWhole(a) == ReadWhole(b)) << file.name;
  }
  EXPECT_EQ(RandomBytes(100, 7), RandomBytes(100, 7));
  EXPECT_NE(RandomBytes(100, 7), RandomBytes(100, 8));
}

TEST_F(WorkloadTest, LinkedCopyLeavesTheCollectionWhole) {
  ScanWorkload workload;
  ASSERT_TRUE(MakeScanWorkload(QuickSizes(), work_, &workload));
  std::string copy = work_ + "/copy";
  ASSERT_TRUE(LinkCollection(workload.zips, copy));
  for (const CollectionFile& file : workload.zips.files)
    ASSERT_EQ(0, rename((copy + "/" + file.name).c_str(), (work_ + "/moved").c_str()));
  for (const CollectionFile& file : workload.zips.files)
    EXPECT_GT(FileSize(workload.zips.folder + "/" + file.name), 0) << file.name;
  EXPECT_FALSE(LinkCollection(workload.zips, copy)) << "the folder must be new";
}

TEST(BenchTable, RatioIsOurTimeOverTheAnchors) {
  struct Case {
    double ours;
    const char* unit;
    double anchor, ratio;
  } cases[] = {{50, "MB/s", 100, 2.0}, {200, "files/s", 100, 0.5}, {30, "ms", 10, 3.0},
               {5, "ms", 20, 0.25},    {0, "ms", 20, 0},           {10, "MB/s", 0, 0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(c.ratio, TimeRatio({"", c.ours, c.unit, "", c.anchor, ""}))
        << c.ours << " " << c.unit << " " << c.anchor;
}

TEST(BenchTable, FiguresKeepFourDigitsOrSo) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {{12345.67, "12345.7"}, {100, "100.0"},    {99.994, "99.99"},
               {1, "1.00"},           {0.0424, "0.042"}, {0, "0.000"}};
  for (const Case& c : cases) EXPECT_EQ(c.text, FigureText(c.value)) << c.value;
}

TEST(BenchTiming, MedianOfRepetitions) {
  struct Case {
    std::vector<double> values;
    double median;
  } cases[] = {{{}, 0}, {{4}, 4}, {{9, 1, 5}, 5}, {{9, 1, 5, 7}, 7}, {{3, 3, 100, 3, 2}, 3}};
  for (const Case& c : cases) EXPECT_EQ(c.median, Median(c.values)) << c.values.size();
  int setups = 0, runs = 0;
  MedianMs(
      3, [&] { ++setups; }, [&] { EXPECT_EQ(setups, ++runs); });
  EXPECT_EQ(3, runs);
}

TEST(QuietWindowTest, PathFieldsAreCutAndTerminated) {
  QuietWindow window;
  window.SetPaths("C:\\source", "D:\\dest");
  struct Case {
    int id, size;
    const char* text;
  } cases[] = {{IDC_SOURCE_FIELD, 260, "C:\\source"},
               {IDC_DEST_FIELD, 260, "D:\\dest"},
               {IDC_SOURCE_FIELD, 4, "C:\\"},
               {IDC_DEST_FIELD, 1, ""},
               {IDC_DATABASE_FIELD, 260, ""}};
  for (const Case& c : cases) {
    char out[260];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(static_cast<int>(strlen(c.text)), window.GetControlText(c.id, out, c.size)) << c.id;
    EXPECT_STREQ(c.text, out) << c.id << " " << c.size;
  }
}

}  // namespace
}  // namespace bench
