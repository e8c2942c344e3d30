// fault_test.cpp: the core over a file layer that fails one chosen operation, as a full disk, a
// vanished folder or a locked file would, and the sweeps that fail every operation in turn
// during the scan rows (their haves appends included), SaveLists, SaveIni and Reset Haves:
// nothing of the user's is lost or overwritten, the haves file stays whole, and a failure is
// never passed off as success.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <numeric>
#include <set>

#include "app/controls.h"
#include "app/list_commands.h"
#include "app/startup.h"
#include "database/haves_file.h"
#include "database/rom_table.h"
#include "platform/file_system.h"
#include "reports/have_miss_lists.h"
#include "scan_cases.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/core_test.h"

#ifdef __GLIBC__
#include <unistd.h>
#endif

// The platform's own layer, compiled once more with its functions renamed Real*.
FILE* RealOpenFile(const char* path, const char* mode);
int RealCloseFile(FILE*), RealFlushFile(FILE*), RealRemovePath(const char*),
    RealReplacePath(const char*, const char*), RealResizeFile(const char*, long),
    RealExecutablePath(char*, int), RealIsFolder(const char*), RealMakeDirectory(const char*),
    RealMovePath(const char*, const char*), RealNextFolderEntry(FolderListing*, FolderEntry*);
FolderListing* RealOpenFolderListing(const char* pattern);
void RealCloseFolderListing(FolderListing* listing);

namespace {

// What can be made to fail, in the order the sweeps' figures name them. A failed write reaches
// the disk in part; a failed close or flush loses what was still buffered; a failed move,
// removal or resize changes nothing; a failed open or listing gives nullptr.
enum Fault { kOpen, kWrite, kClose, kMove, kMkdir, kRemove, kResize, kList, kFaultKinds };
const char* const kFaultNames[] = {"open",  "write",  "close",  "move",
                                   "mkdir", "remove", "resize", "list"};

std::mutex g_mutex;  // a scan calls in from its worker thread
int g_counts[kFaultKinds], g_armed_kind = 0, g_armed_at = 0;  // 0: nothing armed
bool g_from_then_on = false, g_fired = false;
// Set while a failing close or flush empties a stream: what is still buffered never arrives.
thread_local bool g_losing_buffer = false;

// Counts operations from zero; the n-th of kind fails, and with from_then_on every later one
// of that kind too, as on a disk that is full.
void Arm(int kind, int n, bool from_then_on) {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::fill_n(g_counts, kFaultKinds, 0);
  g_armed_kind = kind, g_armed_at = n, g_from_then_on = from_then_on, g_fired = false;
}

// Counts one operation; true when it is the one to fail.
bool Fails(Fault kind) {
  std::lock_guard<std::mutex> lock(g_mutex);
  int n = ++g_counts[kind];
  bool fails = kind == g_armed_kind && (n == g_armed_at || (g_from_then_on && n > g_armed_at));
  return g_fired = g_fired || fails, fails;
}

#ifdef __GLIBC__
// A stream opened for writing is a cookie stream over the real file's descriptor, so a write
// can reach the disk in part and then fail. Windows has no such streams: there writes never
// fail part-way.
struct Stream {
  FILE* real;
  // Small, so long outputs reach the disk in many writes, each a point to fail at. glibc
  // takes a buffer size from setvbuf only with a buffer.
  char buffer[256];
};
int Descriptor(void* cookie) { return fileno(static_cast<Stream*>(cookie)->real); }

ssize_t StreamRead(void* cookie, char* out, size_t n) { return read(Descriptor(cookie), out, n); }

ssize_t StreamWrite(void* cookie, const char* buffer, size_t size) {
  // A full disk takes what fits and refuses the rest.
  size_t room = g_losing_buffer ? 0 : Fails(kWrite) ? size / 2 : size;
  errno = ENOSPC;
  return room == 0 ? 0 : write(Descriptor(cookie), buffer, room);
}

int StreamSeek(void* cookie, off64_t* offset, int whence) {
  return (*offset = lseek64(Descriptor(cookie), *offset, whence)) < 0 ? -1 : 0;
}

int StreamClose(void* cookie) {
  std::unique_ptr<Stream> stream(static_cast<Stream*>(cookie));
  return RealCloseFile(stream->real) ? 0 : -1;
}
#endif

}  // namespace

FILE* OpenFile(const char* path, const char* mode) {
  if (Fails(kOpen)) return errno = EACCES, nullptr;
  FILE* file = RealOpenFile(path, mode);
#ifdef __GLIBC__
  if (file == nullptr || strpbrk(mode, "wa+") == nullptr) return file;
  Stream* stream = new Stream{file, {}};
  FILE* cookie = fopencookie(stream, mode, {StreamRead, StreamWrite, StreamSeek, StreamClose});
  if (cookie == nullptr) return RealCloseFile(file), delete stream, nullptr;
  setvbuf(cookie, stream->buffer, _IOFBF, sizeof stream->buffer);
  return cookie;
#else
  return file;
#endif
}

// A failing close or flush loses what is still buffered. A cookie stream closes its real file
// through StreamClose, and has no descriptor of its own to sync.
int Finish(FILE* file, bool closing) {
  bool fail = g_losing_buffer = Fails(kClose);
  int done = closing ? RealCloseFile(file)
                     : fflush(file) == 0 && (fileno(file) < 0 || RealFlushFile(file));
  g_losing_buffer = false;
  return done && !fail;
}
int CloseFile(FILE* file) { return Finish(file, true); }
int FlushFile(FILE* file) { return Finish(file, false); }

int RemovePath(const char* path) { return !Fails(kRemove) && RealRemovePath(path); }
int ReplacePath(const char* from, const char* to) {
  return !Fails(kMove) && RealReplacePath(from, to);
}
int ResizeFile(const char* path, long n) { return !Fails(kResize) && RealResizeFile(path, n); }
int ExecutablePath(char* out, int size) { return RealExecutablePath(out, size); }
FolderListing* OpenFolderListing(const char* pattern) {
  return Fails(kList) ? nullptr : RealOpenFolderListing(pattern);
}
int NextFolderEntry(FolderListing* at, FolderEntry* out) { return RealNextFolderEntry(at, out); }
void CloseFolderListing(FolderListing* listing) { RealCloseFolderListing(listing); }
// A query: it changes nothing, so there is nothing to fail.
int IsFolder(const char* path) { return RealIsFolder(path); }
int MakeDirectory(const char* path) { return !Fails(kMkdir) && RealMakeDirectory(path); }
int MovePath(const char* from, const char* to) { return !Fails(kMove) && RealMovePath(from, to); }

class FaultTest : public CoreTest {
 protected:
  // Runs once cleanly to count the operations of every kind, then once per operation with
  // that one failing, then with the disk full from each write on. run prepares its files
  // (without the core's file layer) and runs; check is told the fault ("" for none) and
  // returns the files lost. Prints the figures scripts/test shows.
  void Sweep(const std::string& label, const std::function<void()>& run,
             const std::function<int(const std::string&)>& check) {
    int counts[kFaultKinds], points[kFaultKinds + 1] = {}, lost = 0, total = 0;
    Arm(0, 0, false);
    run();
    std::copy_n(g_counts, kFaultKinds, counts);
    ASSERT_EQ(0, check("")) << label << ": clean run";
    for (int k = 0; k <= kFaultKinds; ++k) {
      bool full = k == kFaultKinds;  // a full disk stays full: every later write fails too
      int kind = full ? kWrite : k;
      for (int n = 1; n <= counts[kind] - full && !HasFatalFailure(); ++n, ++points[k]) {
        std::string fault = kFaultNames[kind] + (" " + std::to_string(n)) + (full ? " and on" : "");
        SCOPED_TRACE(label + ", failing " + fault);
        Arm(kind, n, full);
        run();
        ASSERT_TRUE(g_fired) << "the operations differ from the clean run";
        lost += check(fault);
      }
    }
    printf("fault-injection: %s:", label.c_str());
    for (int k = 0; k < kFaultKinds; total += points[k++])
      printf(" %s %d,", kFaultNames[k], points[k]);
    printf(" total %d; disk full from a write on %d; files lost %d\n", total, points[kFaultKinds],
           lost);
    EXPECT_EQ(0, lost) << label;
  }
  int saved = 0;  // what the command under test returned
  // "caption: text; " of each message shown, sorted.
  std::string Shown() {
    std::multiset<std::string> shown;
    for (const auto& m : window_.messages()) shown.insert(m.caption + ": " + m.text + "; ");
    return std::accumulate(shown.begin(), shown.end(), std::string());
  }
};

TEST_F(FaultTest, EveryFailureDuringAScanLosesNothing) {
  // The bytes of every file, as a whole: a file lost, copied twice or left in part shows.
  auto contents = [](const std::vector<std::string>& tree) {
    std::multiset<std::string> bytes;
    for (const std::string& e : tree)
      if (e.back() != '/') bytes.insert(e.substr(e.rfind('=') + 1));
    return bytes;
  };
  for (const ScanCase& c : ScanCases()) {
    std::vector<std::string> before, stays;
    std::string haves, clean, clean_haves;
    Sweep(
        c.name,
        [&] {
          MakeScanCase(c, dir());
          before = ScanTree(dir()), haves = ReadFile(NativePath(kHavesFileName));
          RunScanCase(c, dir());
        },
        [&](const std::string& fault) {
          std::vector<std::string> after = ScanTree(dir());
          if (fault.empty()) {
            EXPECT_EQ(List(c.tree == "=" ? c.files : c.tree), after);
            EXPECT_EQ(List(c.logs), ScanLogs(dir()));
            EXPECT_EQ(List(c.haves), HaveKeys(dir()));
            clean_haves = ReadFile(NativePath(kHavesFileName));
            std::string progress;
            for (int p : window_.progress()) progress += " " + std::to_string(p);
            EXPECT_TRUE(c.progress.empty() || " " + c.progress == progress) << progress;
            // Owned: what was owned before and every record the haves file names.
            EXPECT_EQ(std::count(c.roms.begin(), c.roms.end(), '*') +
                          static_cast<std::ptrdiff_t>(List(c.haves).size()),
                      std::count_if(g_roms, g_roms + rom_count, [](auto& r) { return r.have; }));
            // What stays where it was in a clean run stays there whatever fails.
            std::set_intersection(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(stays));
          }
          EXPECT_TRUE(std::includes(after.begin(), after.end(), stays.begin(), stays.end()));
          std::multiset<std::string> was = contents(before), is = contents(after);
          EXPECT_EQ(was, is);
          // Whole, and every earlier entry kept; a torn tail stays only while nothing is added.
          std::string now = ReadFile(NativePath(kHavesFileName));
          EXPECT_TRUE(now.size() % kHaveEntrySize == 0 || now == haves) << now.size();
          EXPECT_EQ(0u, now.find(haves.substr(0, haves.size() - haves.size() % kHaveEntrySize)));
          // A failed write costs at most the entry it hit, unless the disk stays full.
          if (fault.rfind("write ", 0) == 0 && fault.find("and on") == std::string::npos) {
            EXPECT_LE(clean_haves.size(), now.size() + kHaveEntrySize) << now.size();
          }
          // Only a folder that cannot be read stops a scan; anything else is per file.
          std::string expected = fault.empty() ? clean = Shown() : clean;
          if (fault.rfind("list ", 0) == 0)
            expected.replace(expected.find("Scan: Done!"), 11,
                             "Scan Error: Unable To Read Files In Dir!");
          EXPECT_EQ(expected, Shown());
          return static_cast<int>(
              std::count_if(was.begin(), was.end(), [&](auto& bytes) { return !is.count(bytes); }));
        });
  }
}

#ifdef __GLIBC__  // a write fails part-way only here
// Two copies of the program append to one haves file. A failed write of this one cuts back its
// own torn entry only, never an entry the other appended since this one last wrote.
TEST_F(FaultTest, AFailedAppendKeepsAnotherCopysEntries) {
  for (const char* crc : {"aaaaaaaa", "bbbbbbbb", "cccccccc"}) AddRom({crc, 0, "n", "", "Roms"});
  const std::string path = NativePath(kHavesFileName);
  Arm(kWrite, 2, false);
  HaveAppender scan;
  scan.Append(0);
  std::string other = ReadFile(path) + "dddddddd";
  WriteFile(path, other);
  scan.Append(1);  // fails half-way
  ASSERT_TRUE(g_fired);
  EXPECT_EQ(other, ReadFile(path));
  scan.Append(2);
  EXPECT_EQ(other + "cccccccc", ReadFile(path));
}
#endif

// Sixty records, every third owned: lists long enough to reach the disk in many writes.
TEST_F(FaultTest, SaveListsNeverCallsAShortListSaved) {
  for (int i = 0; i < 60; ++i)
    AddRom(RomOf(std::to_string(i), "Game " + std::to_string(i) + " with a name of some length"),
           i % 3 == 0);
  std::string clean_have;
  Sweep(
      "SaveLists", [&] { window_.ClearRecord(), saved = SaveLists(); },
      [&](const std::string& fault) {
        if (fault.empty()) clean_have = ReadFile(NativePath(kHaveListName));
        // Whichever operation failed, the save did not succeed, and its one message says so.
        std::string shown = Shown(),
                    expected = fault.empty() ? "Save: Saved Logs!; " : "Save Error: ";
        EXPECT_EQ(expected, shown.substr(0, expected.size()));
        EXPECT_EQ(1, std::count(shown.begin(), shown.end(), ';')) << shown;
        EXPECT_EQ(fault.empty(), saved == 1);
        // A short miss list leaves the have list whole.
        bool miss = shown == "Save Error: Unable To Write Miss List!; ";
        EXPECT_EQ(clean_have, miss ? ReadFile(NativePath(kHaveListName)) : clean_have);
        return 0;
      });
}

TEST_F(FaultTest, SaveIniKeepsTheOldFileUnlessTheNewOneIsWhole) {
  const std::string ini = NativePath(kIniFileName), old = "# an older file\nLOG=1\nNAME=2\n";
  std::string clean;
  window_.SetControlText(IDC_SOURCE_FIELD, ("C:\\" + std::string(200, 's')).c_str());
  Sweep(
      "SaveIni", [&] { window_.ClearRecord(), WriteFile(ini, old), saved = SaveIni(); },
      [&](const std::string& fault) {
        if (fault.empty()) clean = ReadFile(ini);
        std::string now = ReadFile(ini);
        EXPECT_EQ(saved == 1, now == clean);
        EXPECT_FALSE(FileExists(ini + ".new"));
        EXPECT_EQ(saved ? "" : "Save Error: Error Saving Ini!; ", Shown());
        return now == old || now == clean ? 0 : 1;
      });
}

TEST_F(FaultTest, ResetHavesClearsEveryFlag) {
  const std::string haves = NativePath(kHavesFileName), before = "0123456789abcdef";
  for (int i = 0; i < 3; ++i) AddRom(RomOf("image " + std::to_string(i), "Game"));
  Sweep(
      "ResetHaves",
      [&] {
        WriteFile(haves, before);
        for (int i = 0; i < rom_count; ++i) g_roms[i].have = 1;
        ResetHaves();
      },
      [&](const std::string& fault) {
        EXPECT_EQ(0, std::count_if(g_roms, g_roms + rom_count, [](auto& r) { return r.have; }));
        // A removal that failed leaves the file as it was, never a part of it.
        EXPECT_EQ(fault.empty() ? "" : before, ReadFile(haves));
        return 0;
      });
}
