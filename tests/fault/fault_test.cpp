// Every file operation failing in turn, during Scan, Rename, Move, SaveLists, SaveIni, the
// haves appends and Reset Haves: nothing of the user's is lost or overwritten, the haves file
// stays whole, and a failure is never passed off as success.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "database/haves_file.h"
#include "database/rom_table.h"
#include "fault/failing_file_system.h"
#include "support/core_test.h"
#include "app/list_commands.h"
#include "reports/have_miss_lists.h"
#include "reports/list_order.h"
#include "scanner/crc32.h"
#include "app/scan_worker.h"
#include "scanner/scan_folders.h"
#include "app/startup.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "app/controls.h"

namespace fs = std::filesystem;

namespace {

const Fault kEveryFault[] = {Fault::kOpen,          Fault::kWrite,  Fault::kClose,  Fault::kMove,
                             Fault::kMakeDirectory, Fault::kRemove, Fault::kResize, Fault::kList};

// Fault points gone through and files lost, per kind, for the summary line.
struct Tally {
  int points[kFaultKinds] = {};
  int full_from = 0;  // runs with the disk full from one write on
  int lost = 0;
  std::string Line(const std::string& label) const {
    std::string line = "fault-injection: " + label + ":";
    int total = 0;
    for (Fault kind : kEveryFault) {
      line += std::string(" ") + FaultName(kind) + " " +
              std::to_string(points[static_cast<int>(kind)]) + ",";
      total += points[static_cast<int>(kind)];
    }
    return line + " total " + std::to_string(total) + "; disk full from a write on " +
           std::to_string(full_from) + "; files lost " + std::to_string(lost);
  }
};

// Every regular file under root, relative path to contents.
std::map<std::string, std::string> Files(const std::string& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      files[fs::relative(e.path(), root).generic_string()] = ReadFile(e.path().string());
  return files;
}

}  // namespace

class FaultTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    BuildCrcTable();
    ResetFaults();
  }
  void TearDown() override {
    ResetFaults();
    CoreTest::TearDown();
  }

  // Runs once cleanly to count the operations of every kind, then once per operation with
  // that one failing. check is told which fault (if any) fired and returns the files lost.
  void Sweep(const std::string& label, const std::function<void()>& prepare,
             const std::function<void()>& run, const std::function<int(const char* fault)>& check) {
    prepare();
    ResetFaults();
    run();
    int counts[kFaultKinds];
    for (Fault kind : kEveryFault) counts[static_cast<int>(kind)] = FaultCount(kind);
    ASSERT_EQ(0, check(nullptr)) << label << ": clean run";
    Tally tally;
    auto fail = [&](Fault kind, int n, bool from_then_on) {
      std::string fault =
          std::string(FaultName(kind)) + " " + std::to_string(n) + (from_then_on ? " and on" : "");
      SCOPED_TRACE(label + ", failing " + fault);
      prepare();
      ResetFaults();
      ArmFault(kind, n, from_then_on);
      run();
      ASSERT_TRUE(FaultFired()) << "the operations differ from the clean run";
      tally.lost += check(fault.c_str());
    };
    for (Fault kind : kEveryFault) {
      for (int n = 1; n <= counts[static_cast<int>(kind)] && !HasFatalFailure(); ++n) {
        fail(kind, n, false);
        ++tally.points[static_cast<int>(kind)];
      }
    }
    // A full disk stays full: every write from the first failed one on fails.
    for (int n = 2; n <= counts[static_cast<int>(Fault::kWrite)] && !HasFatalFailure(); ++n) {
      fail(Fault::kWrite, n - 1, true);
      ++tally.full_from;
    }
    if (HasFatalFailure()) return;
    printf("%s\n", tally.Line(label).c_str());
    EXPECT_EQ(0, tally.lost) << label;
  }

  void ClearProgramFiles() {
    for (const auto& e : fs::directory_iterator(dir()))
      if (e.is_regular_file()) fs::remove(e.path());
  }
};

// A generated collection: loose images and zips, in the source and a sub-folder, with
// duplicates, an unknown file, a zip of two images, and targets that the user's own files
// already take.
class ScanFaultTest : public FaultTest {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    Rom("Alpha", "image A", "Roms");
    Rom("Beta (E)", "image B", "Roms");
    Rom("Gamma", "image G", "Demo");
    Rom("Delta", "image D", "Demo");
    Rom("Taken", "image T", "Roms");
  }
  void Rom(const char* name, const std::string& image, const char* category) {
    keys_.push_back(CrcKey(image));
    AddRom({keys_.back().c_str(), static_cast<int>(image.size()), name, "0001", category});
  }
  void MakeCollection() {
    fs::remove_all(NativePath("src"));
    fs::remove_all(NativePath("dest"));
    ClearProgramFiles();
    for (int i = 0; i < rom_count; ++i) g_roms[i].have = 0;
    fs::create_directories(NativePath("src/sub"));
    fs::create_directories(NativePath("dest/Dupes"));
    WriteFile(Src("alpha.gba"), "image A");
    WriteZip(Src("Beta.ZIP"), {{"b.gba", "image B"}, {"readme.txt", "hello"}});
    WriteFile(Src("alpha copy.gba"), "image A");
    WriteFile(Src("unknown.gba"), "no such image");
    WriteZip(Src("two.zip"), {{"a.gba", "image A"}, {"b.gba", "image B"}});
    WriteFile(Src("notes.txt"), "not a ROM");
    WriteFile(Src("taken.gba"), "image T");
    WriteFile(Src("sub/gamma.gba"), "image G");
    WriteZip(Src("sub/delta.zip"), {{"d.gba", "image D"}});
    WriteFile(Src("sub/alpha.gba"), "image A");  // its own name is taken in Dupes by then
    // The user's own files, in the way of a Rename and of a Move.
    WriteFile(Dest("Taken.gba"), "the user's Taken.gba");
    WriteFile(Dest("alpha.gba"), "the user's alpha.gba");
    WriteFile(Dest("Dupes/alpha copy.gba"), "the user's alpha copy");
    sources_ = Files(NativePath("src"));
    users_ = Files(NativePath("dest"));
  }
  std::string Src(const std::string& path) { return NativePath("src/" + path); }
  std::string Dest(const std::string& path) { return NativePath("dest/" + path); }

  // Files lost: sources whose bytes are found fewer times than before, among the source and
  // the destination. Also fails the test for a source found twice, a user's file changed,
  // a file of unknown bytes, a torn haves file or a wrong message.
  int Check(const char* fault, const QuietWindow& window) {
    std::map<std::string, int> wanted, found;
    for (const auto& [path, bytes] : sources_) ++wanted[bytes];
    std::map<std::string, std::string> dest = Files(NativePath("dest"));
    for (const auto& [path, bytes] : users_) {
      auto now = dest.find(path);
      EXPECT_TRUE(now != dest.end() && now->second == bytes) << "the user's " << path;
      if (now != dest.end() && now->second == bytes) dest.erase(now);
    }
    for (const auto& files : {Files(NativePath("src")), dest}) {
      for (const auto& [path, bytes] : files) {
        EXPECT_TRUE(wanted.count(bytes) != 0) << path << " holds bytes of no source";
        ++found[bytes];
      }
    }
    int lost = 0;
    for (const auto& [bytes, count] : wanted) {
      lost += std::max(0, count - found[bytes]);
      EXPECT_EQ(count, found[bytes]) << "copies of \"" << bytes << "\"";
    }
    EXPECT_EQ(0u, ReadFile(NativePath(kHavesFileName)).size() % kHaveEntrySize);
    // A scan reports only what stops it: a folder it cannot read. Anything else is per file.
    bool listing_failed = fault != nullptr && std::string(fault).rfind("list ", 0) == 0;
    EXPECT_EQ(1u, window.messages().size());
    if (!window.messages().empty()) {
      EXPECT_EQ(listing_failed ? "Unable To Read Files In Dir!" : "Done!",
                window.messages()[0].text);
    }
    EXPECT_EQ(1, window.scan_finished());
    return lost;
  }

  std::vector<std::string> keys_;  // AddRom keeps pointers to the texts
  std::map<std::string, std::string> sources_, users_;
};

TEST_F(ScanFaultTest, EveryFailureDuringAScanLosesNothing) {
  struct Row {
    const char* label;
    int rename, move, sub, log;
  } rows[] = {
      {"Scan LOG", 0, 0, 0, 1},   {"Rename SUB", 1, 0, 1, 0},   {"Rename SUB LOG", 1, 0, 1, 1},
      {"Rename LOG", 1, 0, 0, 1}, {"Move SUB LOG", 0, 1, 1, 1}, {"Move", 0, 1, 0, 0},
  };
  for (const Row& r : rows) {
    std::unique_ptr<QuietWindow> window;
    Sweep(
        r.label,
        [&] {
          MakeCollection();
          g_settings.SUB = r.sub;
          g_settings.LOG = r.log;
          g_settings.TYPE = 0;

          window = std::make_unique<QuietWindow>();
          window->SetControlText(IDC_SOURCE_FIELD, SystemPath("src").c_str());
          window->SetControlText(IDC_DEST_FIELD, SystemPath("dest").c_str());
          SetMainWindow(window.get());
        },
        [&] { ScanWorker(*window, r.rename ? ScanMode::kRename : r.move ? ScanMode::kMove : ScanMode::kScan); }, [&](const char* fault) { return Check(fault, *window); });
    SetMainWindow(&window_);
    if (HasFatalFailure()) return;
  }
}

// Lists long enough to reach the disk in many writes.
class ReportFaultTest : public FaultTest {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    for (int i = 0; i < 60; ++i) {
      names_.push_back("Game number " + std::to_string(i) + " with a name of some length (E)");
      crcs_.push_back(CrcKey(names_.back()));
      AddRom({crcs_.back().c_str(), 1 << 20, names_.back().c_str(), "0001", "Roms"});
      g_roms[i].have = i % 3 == 0;
    }
  }
  std::vector<std::string> names_, crcs_;
};

TEST_F(ReportFaultTest, SaveListsNeverCallsAShortListSaved) {
  const std::string have = NativePath(kHaveListName), miss = NativePath(kMissListName);
  std::string clean_have, clean_miss;
  int saved = 0;
  Sweep(
      "SaveLists", [&] { window_.ClearRecord(); }, [&] { saved = SaveLists(); },
      [&](const char* fault) {
        EXPECT_EQ(1u, window_.messages().size());
        if (window_.messages().empty()) return 0;
        std::string message = window_.messages()[0].text;
        if (fault == nullptr) {
          clean_have = ReadFile(have), clean_miss = ReadFile(miss);
          EXPECT_EQ("Saved Logs!", message);
          return 0;
        }
        // Every operation of a save matters: whichever failed, the save did not succeed.
        EXPECT_EQ(0, saved);
        EXPECT_EQ("Save Error", window_.messages()[0].caption);
        EXPECT_NE("Saved Logs!", message);
        // The message names the list that is short.
        if (message == "Unable To Write Miss List!") {
          EXPECT_EQ(clean_have, ReadFile(have));
        }
        return 0;
      });
}

TEST_F(ReportFaultTest, SaveIniKeepsTheOldFileUnlessTheNewOneIsWhole) {
  const std::string ini = NativePath(kIniFileName);
  const std::string old = "# an older file\nLOG=1\nNAME=2\n";
  std::string clean;
  int saved = 0;
  g_settings.SUB = g_settings.IncBeta = g_settings.CRC = 1;
  window_.SetControlText(IDC_SOURCE_FIELD, ("C:\\" + std::string(200, 's')).c_str());
  window_.SetControlText(IDC_DEST_FIELD, "D:\\roms");
  Sweep(
      "SaveIni",
      [&] {
        window_.ClearRecord();
        WriteFile(ini, old);
      },
      [&] { saved = SaveIni(); },
      [&](const char* fault) {
        if (fault == nullptr) clean = ReadFile(ini);
        std::string now = ReadFile(ini);
        EXPECT_TRUE(now == old || now == clean) << now;
        EXPECT_EQ(saved == 1, now == clean);
        EXPECT_FALSE(FileExists(ini + ".new"));
        if (saved) {
          EXPECT_TRUE(window_.messages().empty());
        } else {
          EXPECT_EQ(1u, window_.messages().size());
          if (!window_.messages().empty()) {
            EXPECT_EQ("Error Saving Ini!", window_.messages()[0].text);
          }
        }
        return now == old || now == clean ? 0 : 1;
      });
}

TEST_F(ReportFaultTest, AppendsKeepEveryEarlierEntryAndStayWhole) {
  const std::string haves = NativePath(kHavesFileName);
  for (const char* tail : {"", "torn"}) {
    const std::string before = crcs_[0] + crcs_[1] + tail;
    Sweep(
        std::string("AppendHave") + (*tail ? " after a torn append" : ""),
        [&] { WriteFile(haves, before); },
        [&] {
          for (int i = 2; i < 5; ++i) AppendHave(i);
        },
        [&](const char* fault) {
          std::string now = ReadFile(haves);
          EXPECT_EQ(0u, now.size() % kHaveEntrySize) << now;
          EXPECT_EQ(crcs_[0] + crcs_[1], now.substr(0, 16)) << "earlier entries";
          // The appended entries in order, whole; a failed append loses its own entry, and on a
          // disk that stays full every later one too.
          std::string appended = now.size() >= 16 ? now.substr(16) : "";
          size_t next = 2;
          bool in_order = true;
          for (size_t at = 0; at + 8 <= appended.size(); at += 8) {
            while (next < 5 && appended.compare(at, 8, crcs_[next]) != 0) ++next;
            in_order = in_order && next++ < 5;
          }
          size_t missing = 3 - appended.size() / 8;
          bool full = fault != nullptr && strstr(fault, " and on") != nullptr;
          EXPECT_LE(missing, fault == nullptr ? 0u : full ? 3u : 1u);
          EXPECT_TRUE(in_order) << appended;
          return 0;
        });
  }
}

TEST_F(ReportFaultTest, ResetHavesClearsEveryFlag) {
  const std::string haves = NativePath(kHavesFileName);
  const std::string before = crcs_[0] + crcs_[3];
  Sweep(
      "ResetHaves",
      [&] {
        WriteFile(haves, before);
        for (int i = 0; i < rom_count; ++i) g_roms[i].have = 1;
      },
      [&] { ResetHaves(); },
      [&](const char* fault) {
        for (int i = 0; i < rom_count; ++i) EXPECT_EQ(0, g_roms[i].have) << i;
        EXPECT_EQ("0", window_.text(IDC_HAVE_COUNTER));
        // A removal that failed leaves the file as it was, never a part of it.
        if (fault == nullptr) {
          EXPECT_FALSE(FileExists(haves));
        } else if (FileExists(haves)) {
          EXPECT_EQ(before, ReadFile(haves));
        }
        return 0;
      });
}
