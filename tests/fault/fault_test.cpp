// Every file operation failing in turn during the scan rows (their haves appends included),
// SaveLists, SaveIni and Reset Haves: nothing of the user's is lost or overwritten, the haves
// file stays whole, and a failure is never passed off as success.
#include <algorithm>
#include <functional>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/startup.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "fault/failing_file_system.h"
#include "reports/have_miss_lists.h"
#include "scan_cases.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/core_test.h"

class FaultTest : public CoreTest {
 protected:
  void TearDown() override {
    ResetFaults();
    CoreTest::TearDown();
  }

  // Runs once cleanly to count the operations of every kind, then once per operation with
  // that one failing, then with the disk full from each write on. check is told the fault
  // ("" for none) and returns the files lost. Prints the figures scripts/test shows.
  void Sweep(const std::string& label, const std::function<void()>& prepare,
             const std::function<void()>& run,
             const std::function<int(const std::string&)>& check) {
    int counts[kFaultKinds], points[kFaultKinds + 1] = {}, lost = 0, total = 0;
    prepare();
    ResetFaults();
    run();
    for (int k = 0; k < kFaultKinds; ++k) counts[k] = FaultCount(static_cast<Fault>(k));
    ASSERT_EQ(0, check("")) << label << ": clean run";
    for (int k = 0; k <= kFaultKinds; ++k) {
      bool full = k == kFaultKinds;  // a full disk stays full: every later write fails too
      Fault kind = full ? Fault::kWrite : static_cast<Fault>(k);
      for (int n = 1; n <= counts[static_cast<int>(kind)] - full && !HasFatalFailure(); ++n) {
        std::string fault = FaultName(kind) + (" " + std::to_string(n)) + (full ? " and on" : "");
        SCOPED_TRACE(label + ", failing " + fault);
        prepare();
        ResetFaults();
        ArmFault(kind, n, full);
        run();
        ASSERT_TRUE(FaultFired()) << "the operations differ from the clean run";
        lost += check(fault);
        ++points[k];
      }
    }
    std::string line = "fault-injection: " + label + ":";
    for (int k = 0; k < kFaultKinds; total += points[k++])
      line += std::string(" ") + FaultName(static_cast<Fault>(k)) + " " +
              std::to_string(points[k]) + ",";
    printf("%s total %d; disk full from a write on %d; files lost %d\n", line.c_str(), total,
           points[kFaultKinds], lost);
    EXPECT_EQ(0, lost) << label;
  }
  std::vector<std::string> Shown(QuietWindow& window) {
    std::vector<std::string> shown;
    for (const auto& m : window.messages()) shown.push_back(m.text);
    return shown;
  }
};

// The bytes of every file, as a whole: a file lost, copied twice or left in part shows; so
// does a file that stays where it was in a clean run but not when something fails.
TEST_F(FaultTest, EveryFailureDuringAScanLosesNothing) {
  auto contents = [](const std::vector<std::string>& tree) {
    std::vector<std::string> bytes;
    for (const std::string& e : tree)
      if (e.back() != '/') bytes.push_back(e.substr(e.rfind('=') + 1));
    std::sort(bytes.begin(), bytes.end());
    return bytes;
  };
  for (const ScanCase& c : ScanCases()) {
    QuietWindow window;
    std::vector<std::string> before, stays, clean;
    std::string haves;
    Sweep(
        c.name,
        [&] {
          MakeScanCase(c, dir());
          window.ClearRecord();
          before = ScanTree(dir()), haves = ReadFile(NativePath(kHavesFileName));
        },
        [&] { RunScanCase(c, window, dir()); },
        [&](const std::string& fault) {
          std::vector<std::string> after = ScanTree(dir()), lost, shown = Shown(window);
          if (fault.empty())
            std::set_intersection(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(stays));
          for (const std::string& e : stays)
            EXPECT_TRUE(std::count(after.begin(), after.end(), e)) << e << " stays";
          std::vector<std::string> was = contents(before), is = contents(after);
          EXPECT_EQ(was, is);
          std::set_difference(was.begin(), was.end(), is.begin(), is.end(),
                              std::back_inserter(lost));
          // Whole, and every earlier entry kept; a torn tail stays only while nothing is added.
          std::string now = ReadFile(NativePath(kHavesFileName));
          EXPECT_TRUE(now.size() % kHaveEntrySize == 0 || now == haves) << now.size();
          EXPECT_EQ(0u, now.find(haves.substr(0, haves.size() - haves.size() % kHaveEntrySize)));
          // Only a folder that cannot be read stops a scan; anything else is per file.
          if (fault.empty()) clean = shown;
          std::vector<std::string> expected = clean;
          if (fault.rfind("list ", 0) == 0) expected.front() = "Unable To Read Files In Dir!";
          std::sort(expected.begin(), expected.end()), std::sort(shown.begin(), shown.end());
          EXPECT_EQ(expected, shown);
          return static_cast<int>(lost.size());
        });
    SetMainWindow(&window_);
    if (HasFatalFailure()) return;
  }
}

// Sixty records, every third owned: lists long enough to reach the disk in many writes.
class ListFaultTest : public FaultTest {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    for (int i = 0; i < 60; ++i) {
      std::string name = "Game number " + std::to_string(i) + " with a name of some length (E)";
      AddRom(RomOf(name, name), i % 3 == 0);
    }
  }
};

TEST_F(ListFaultTest, SaveListsNeverCallsAShortListSaved) {
  std::string clean_have;
  int saved = 0;
  Sweep(
      "SaveLists", [&] { window_.ClearRecord(); }, [&] { saved = SaveLists(); },
      [&](const std::string& fault) {
        if (fault.empty()) clean_have = ReadFile(NativePath(kHaveListName));
        // Whichever operation failed, the save did not succeed, and says which list is short.
        EXPECT_EQ(fault.empty(), saved == 1);
        EXPECT_EQ(1u, window_.messages().size());
        if (window_.messages().empty()) return 0;
        EXPECT_EQ(fault.empty(), window_.messages()[0].text == std::string("Saved Logs!"));
        EXPECT_EQ(fault.empty() ? "Save" : "Save Error", window_.messages()[0].caption);
        if (window_.messages()[0].text == "Unable To Write Miss List!") {
          EXPECT_EQ(clean_have, ReadFile(NativePath(kHaveListName)));
        }
        return 0;
      });
}

TEST_F(ListFaultTest, SaveIniKeepsTheOldFileUnlessTheNewOneIsWhole) {
  const std::string ini = NativePath(kIniFileName), old = "# an older file\nLOG=1\nNAME=2\n";
  std::string clean;
  int saved = 0;
  g_settings.SUB = g_settings.IncBeta = g_settings.CRC = 1;
  window_.SetControlText(IDC_SOURCE_FIELD, ("C:\\" + std::string(200, 's')).c_str());
  window_.SetControlText(IDC_DEST_FIELD, "D:\\roms");
  Sweep(
      "SaveIni", [&] { window_.ClearRecord(), WriteFile(ini, old); }, [&] { saved = SaveIni(); },
      [&](const std::string& fault) {
        if (fault.empty()) clean = ReadFile(ini);
        std::string now = ReadFile(ini);
        EXPECT_EQ(saved == 1, now == clean);
        EXPECT_FALSE(FileExists(ini + ".new"));
        EXPECT_EQ(
            saved ? std::vector<std::string>{} : std::vector<std::string>{"Error Saving Ini!"},
            Shown(window_));
        return now == old || now == clean ? 0 : 1;
      });
}

TEST_F(ListFaultTest, ResetHavesClearsEveryFlag) {
  const std::string haves = NativePath(kHavesFileName), before = "0123456789abcdef";
  Sweep(
      "ResetHaves",
      [&] {
        WriteFile(haves, before);
        for (int i = 0; i < rom_count; ++i) g_roms[i].have = 1;
      },
      [&] { ResetHaves(); },
      [&](const std::string& fault) {
        for (int i = 0; i < rom_count; ++i) EXPECT_EQ(0, g_roms[i].have) << i;
        EXPECT_EQ("0", window_.text(IDC_HAVE_COUNTER));
        // A removal that failed leaves the file as it was, never a part of it.
        EXPECT_EQ(fault.empty() ? "" : before, ReadFile(haves));
        return 0;
      });
}
