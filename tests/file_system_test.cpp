// The platform's file layer on real folders: listings, folder creation and the no-overwrite move.
#ifdef _WIN32
#include <process.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_system.h"
#include "support/core_test.h"

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileSystemTest : public CoreTest {
 protected:
  // A listing's entries, sorted, folders ending in "/"; {"none"} when it cannot be opened.
  Names List(const std::string& folder) {
    FolderListing* listing = OpenFolderListing((SystemPath(folder) + "\\*").c_str());
    if (listing == nullptr) return {"none"};
    Names names;
    for (FolderEntry entry; NextFolderEntry(listing, &entry);)
      names.push_back(std::string(entry.name) + (entry.is_directory ? "/" : ""));
    CloseFolderListing(listing);
    std::sort(names.begin(), names.end());
    return names;
  }
  // Files under folder as "path:bytes", spelt as the disk spells them; bytes hold no ":".
  Names FilesIn(const std::string& folder) {
    Names files;
    for (const std::string& name : Tree(folder))
      if (name.back() != '/') files.push_back(name + ":" + ReadFile(folder + "/" + name));
    return files;
  }
  void Put(const std::string& folder, const Names& files) {
    for (const std::string& file : files) {
      fs::path path = folder + "/" + file.substr(0, file.find(':'));
      fs::create_directories(path.parent_path());
      WriteFile(path.string(), file.substr(file.find(':') + 1));
    }
  }
};

TEST_F(FileSystemTest, ListingsFoldersAndMakeDirectory) {
  Put(dir(), {"b.gba:b", "A.GBA:a", "Sub/x:"});
  EXPECT_EQ(1, MakeDirectory(SystemPath("empty").c_str()));
  EXPECT_EQ((Names{"../", "./", "A.GBA", "Sub/", "b.gba", "empty/"}), List(""));
  EXPECT_EQ((Names{"../", "./"}), List("empty"));
  EXPECT_EQ((Names{"none"}), List("missing"));
  EXPECT_EQ((Names{"none"}), List("b.gba"));  // a file is no folder
  for (const char* path : {"Sub", "empty", "b.gba", "missing", "missing\\Sub"})
    EXPECT_EQ(path[0] == 'S' || path[0] == 'e', IsFolder(SystemPath(path).c_str())) << path;
#ifdef _WIN32
  EXPECT_EQ(1, IsFolder("C:\\"));  // a drive root as a picker gives it; Wine has no Y:
  EXPECT_EQ(0, IsFolder("Y:\\"));
#endif
}

TEST_F(FileSystemTest, MovePathNeverOverwritesAndRenamesLetterCase) {
  // The files before, the move, its result, and the files after.
  const std::tuple<Names, const char*, const char*, int, Names> rows[] = {
      {{"a:A"}, "a", "b", 1, {"b:A"}},
      {{"a:A", "d/x:"}, "a", "d\\a", 1, {"d/a:A", "d/x:"}},
      {{"a:A", "b:B"}, "a", "b", 0, {"a:A", "b:B"}},
#ifdef _WIN32  // one file on a disk that ignores letter case
      {{"a:A", "b:B"}, "a", "B", 0, {"a:A", "b:B"}},
#endif
      {{"a:A"}, "a", "a", 1, {"a:A"}},
      {{"b:B"}, "a", "c", 0, {"b:B"}},
      {{"a:A"}, "a", "none\\a", 0, {"a:A"}},
      // Letter case only: Wine's MoveFileA reports these done and changes nothing.
      {{"a.gba:A", "z:Z"}, "a.gba", "A.Gba", 1, {"A.Gba:A", "z:Z"}},
      {{"d/Old:A"}, "d\\Old", "d\\OLD", 1, {"d/OLD:A"}},
  };
  int row = 0;
  for (const auto& [before, from, to, moved, after] : rows) {
    std::string folder = "row" + std::to_string(row++);  // fresh: leftovers show
    Put(NativePath(folder), before);
    EXPECT_EQ(moved, MovePath(SystemPath(folder + "\\" + from).c_str(),
                              SystemPath(folder + "\\" + to).c_str()))
        << from << " to " << to;
    EXPECT_EQ(after, FilesIn(NativePath(folder))) << from << " to " << to;
  }
#ifdef _WIN32
  // The name a letter-case rename tries first, taken by a file that must survive.
  std::string taken = "~tarnwick-" + std::to_string(_getpid()) + "-0.tmp";
  Put(NativePath("taken"), {taken + ":theirs", "a:A"});
  EXPECT_EQ(1, MovePath(SystemPath("taken\\a").c_str(), SystemPath("taken\\A").c_str()));
  EXPECT_EQ((Names{"A:A", taken + ":theirs"}), FilesIn(NativePath("taken")));
#endif
}

// Another volume: a tmpfs beside the work disk (under Wine, Z: reaches it), where a move is
// a checked copy under a temporary name.
TEST_F(FileSystemTest, MoveAcrossVolumesCopiesThenRemoves) {
#ifdef _WIN32
  const std::string shm = "Z:/dev/shm";
#else
  const std::string shm = "/dev/shm";  // where it is the work disk, the move is a rename
#endif
  if (!fs::is_directory(shm)) GTEST_SKIP() << "no second file system";
  const std::string other = shm + "/" + fs::path(dir()).filename().string();
  ASSERT_TRUE(fs::create_directory(other));
  const std::string big = Image(3, 300000), to = ::SystemPath(other);
  Put(dir(), {"big.gba:" + big});
  Put(other, {"taken.gba:theirs"});
  EXPECT_EQ(0, MovePath(SystemPath("big.gba").c_str(), (to + "\\taken.gba").c_str()));
  EXPECT_EQ(0, MovePath(SystemPath("big.gba").c_str(), (to + "\\none\\big.gba").c_str()));
  EXPECT_EQ(1, MovePath(SystemPath("big.gba").c_str(), (to + "\\big.gba").c_str()));
  EXPECT_FALSE(FileExists(NativePath("big.gba")));
  Names left = Tree(other, true);
  fs::remove_all(other);
  EXPECT_EQ((Names{"big.gba " + CrcKey(big), "taken.gba " + CrcKey("theirs")}), left)
      << "no part file left";
}

#ifndef _WIN32
TEST_F(FileSystemTest, ListingPassesOverSpecialFiles) {
  Put(NativePath("f"), {"back\\slash.gba:x", "plain.gba:x"});
  ASSERT_EQ(0, mkfifo(NativePath("f/pipe.gba").c_str(), 0600));
  EXPECT_EQ((Names{"../", "./", "plain.gba"}), List("f"));
}
#endif
