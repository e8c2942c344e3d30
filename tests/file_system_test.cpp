// The platform's file layer on real folders: listings, folder creation and the no-overwrite move.
#ifdef _WIN32
#include <process.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/core_test.h"
#include "platform/file_system.h"

class FileSystemTest : public CoreTest {
 protected:
  // Every entry a listing of folder (a system path) gives: name to is_directory, or nullopt
  // when the listing cannot be opened. A name given twice fails the test.
  std::optional<std::map<std::string, bool>> List(const std::string& folder) {
    FolderListing* listing = OpenFolderListing((folder + "\\*").c_str());
    if (listing == nullptr) return std::nullopt;
    std::map<std::string, bool> entries;
    FolderEntry entry;
    while (NextFolderEntry(listing, &entry))
      EXPECT_TRUE(entries.emplace(entry.name, entry.is_directory).second) << entry.name;
    CloseFolderListing(listing);
    return entries;
  }
};

TEST_F(FileSystemTest, ListingGivesEveryEntryWithItsKind) {
  WriteFile(NativePath("b.gba"), "b");
  WriteFile(NativePath("A.GBA"), "a");
  std::filesystem::create_directory(NativePath("Sub"));
  std::filesystem::create_directory(NativePath("empty"));
  std::string folder = SystemPath("");
  EXPECT_EQ((std::map<std::string, bool>{{".", true},
                                         {"..", true},
                                         {"A.GBA", false},
                                         {"b.gba", false},
                                         {"Sub", true},
                                         {"empty", true}}),
            List(folder));
  EXPECT_EQ((std::map<std::string, bool>{{".", true}, {"..", true}}), List(SystemPath("empty")));
  EXPECT_EQ(std::nullopt, List(SystemPath("missing")));
  EXPECT_EQ(std::nullopt, List(SystemPath("b.gba")));  // a file is no folder
  CloseFolderListing(nullptr);
}

TEST_F(FileSystemTest, IsFolderOnlyForExistingFolders) {
  std::filesystem::create_directory(NativePath("Sub"));
  WriteFile(NativePath("file.gba"), "x");
  EXPECT_EQ(1, IsFolder(SystemPath("Sub").c_str()));
  EXPECT_EQ(0, IsFolder(SystemPath("file.gba").c_str()));
  EXPECT_EQ(0, IsFolder(SystemPath("missing").c_str()));
  EXPECT_EQ(0, IsFolder(SystemPath("missing\\Sub").c_str()));
  EXPECT_EQ(0, IsFolder(""));
#ifdef _WIN32
  // A drive root in the form a picker gives it; Wine's prefix has no drive Y:.
  EXPECT_EQ(1, IsFolder("C:\\"));
  EXPECT_EQ(0, IsFolder("Y:\\"));
#endif
}

TEST_F(FileSystemTest, MakeDirectoryMakesOneNewFolder) {
  EXPECT_EQ(1, MakeDirectory(SystemPath("new").c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(NativePath("new")));
  EXPECT_EQ(0, MakeDirectory(SystemPath("new").c_str()));  // exists already
  EXPECT_EQ(0, MakeDirectory(SystemPath("missing\\new").c_str()));
  WriteFile(NativePath("file"), "x");
  EXPECT_EQ(0, MakeDirectory(SystemPath("file").c_str()));
  EXPECT_EQ("x", ReadFile(NativePath("file")));
}

TEST_F(FileSystemTest, MovePathNeverOverwritesAndRenamesLetterCase) {
  struct Row {
    const char* name;
    std::map<std::string, std::string> before;  // native relative path to contents
    const char* from;                           // system relative paths
    const char* to;
    int moved;
    std::map<std::string, std::string> after;
  } rows[] = {
      // clang-format off
      {"rename", {{"a.gba", "A"}}, "a.gba", "b.gba", 1, {{"b.gba", "A"}}},
      {"into a folder", {{"a.gba", "A"}, {"d/x", ""}}, "a.gba", "d\\a.gba", 1,
       {{"d/a.gba", "A"}, {"d/x", ""}}},
      {"onto a file", {{"a.gba", "A"}, {"b.gba", "B"}}, "a.gba", "b.gba", 0,
       {{"a.gba", "A"}, {"b.gba", "B"}}},
#ifdef _WIN32  // one file on a disk that ignores letter case
      {"onto a file spelt otherwise", {{"a.gba", "A"}, {"b.gba", "B"}}, "a.gba", "B.GBA", 0,
       {{"a.gba", "A"}, {"b.gba", "B"}}},
#endif
      {"onto itself", {{"a.gba", "A"}}, "a.gba", "a.gba", 1, {{"a.gba", "A"}}},
      {"missing source", {{"b.gba", "B"}}, "a.gba", "c.gba", 0, {{"b.gba", "B"}}},
      {"into no folder", {{"a.gba", "A"}}, "a.gba", "none\\a.gba", 0, {{"a.gba", "A"}}},
      // Wine's MoveFileA reports these done and changes nothing.
      {"letter case", {{"a.gba", "A"}, {"z.gba", "Z"}}, "a.gba", "A.Gba", 1,
       {{"A.Gba", "A"}, {"z.gba", "Z"}}},
      {"letter case in a folder", {{"d/Old Name.gba", "A"}}, "d\\Old Name.gba",
       "d\\OLD NAME.gba", 1, {{"d/OLD NAME.gba", "A"}}},
      // clang-format on
  };
  int row_number = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    // A fresh folder per row, so names left behind would show.
    std::string row_dir = "row" + std::to_string(row_number++);
    std::filesystem::create_directory(NativePath(row_dir));
    for (const auto& [path, bytes] : r.before) {
      std::filesystem::path file = NativePath(row_dir + "/" + path);
      std::filesystem::create_directories(file.parent_path());
      WriteFile(file.string(), bytes);
    }
    std::string from = SystemPath(row_dir + "\\" + r.from), to = SystemPath(row_dir + "\\" + r.to);
    EXPECT_EQ(r.moved, MovePath(from.c_str(), to.c_str()));
    // Every file left, spelt as the disk spells it.
    std::map<std::string, std::string> after;
    for (const auto& item : std::filesystem::recursive_directory_iterator(NativePath(row_dir)))
      if (item.is_regular_file())
        after[std::filesystem::relative(item.path(), NativePath(row_dir)).generic_string()] =
            ReadFile(item.path().string());
    EXPECT_EQ(r.after, after);
  }
}

#ifdef _WIN32
TEST_F(FileSystemTest, LetterCaseRenamePassesOverATakenTemporaryName) {
  // The name the rename would try first, already taken by a file that must survive.
  std::string taken = "~tarnwick-" + std::to_string(_getpid()) + "-0.tmp";
  WriteFile(NativePath(taken), "theirs");
  WriteFile(NativePath("a.gba"), "A");
  EXPECT_EQ(1, MovePath(SystemPath("a.gba").c_str(), SystemPath("A.GBA").c_str()));
  std::map<std::string, std::string> files;
  for (const auto& item : std::filesystem::directory_iterator(dir()))
    files[item.path().filename().string()] = ReadFile(item.path().string());
  EXPECT_EQ((std::map<std::string, std::string>{{"A.GBA", "A"}, {taken, "theirs"}}), files);
}
#endif

// Another volume: a tmpfs beside the work disk (under Wine, Z: reaches it), where a move is
// a checked copy under a temporary name.
TEST_F(FileSystemTest, MoveAcrossVolumesCopiesThenRemoves) {
#ifdef _WIN32
  const std::string shm = "Z:/dev/shm";
#else
  const std::string shm = "/dev/shm";
  struct stat here, there;
  if (stat(shm.c_str(), &there) == 0 && stat(dir().c_str(), &here) == 0 &&
      here.st_dev == there.st_dev)
    GTEST_SKIP() << "/dev/shm is on the same file system";
#endif
  if (!std::filesystem::is_directory(shm)) GTEST_SKIP() << "no second file system";
  std::string other = shm + "/" + std::filesystem::path(dir()).filename().string();
  ASSERT_TRUE(std::filesystem::create_directory(other));
  std::string big(300000, 'x');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = char(i);
  WriteFile(NativePath("big.gba"), big);
  WriteFile(other + "/taken.gba", "theirs");
  auto system = [](std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  };
  std::string from = SystemPath("big.gba");

  EXPECT_EQ(0, MovePath(from.c_str(), system(other + "/taken.gba").c_str()));
  EXPECT_EQ("theirs", ReadFile(other + "/taken.gba"));
  EXPECT_EQ(0, MovePath(from.c_str(), system(other + "/none/big.gba").c_str()));
  EXPECT_EQ(1, MovePath(from.c_str(), system(other + "/big.gba").c_str()));
  EXPECT_FALSE(FileExists(NativePath("big.gba")));
  EXPECT_EQ(big, ReadFile(other + "/big.gba"));
  std::map<std::string, std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(other))
    left[e.path().filename().string()] = ReadFile(e.path().string());
  std::filesystem::remove_all(other);
  EXPECT_EQ((std::map<std::string, std::string>{{"big.gba", big}, {"taken.gba", "theirs"}}), left)
      << "no part file left";
}

#ifndef _WIN32
TEST_F(FileSystemTest, ListingPassesOverSpecialFiles) {
  std::filesystem::create_directories(NativePath("f"));
  ASSERT_EQ(0, mkfifo(NativePath("f/pipe.gba").c_str(), 0600));
  WriteFile(NativePath("f/back\\slash.gba"), "x");
  WriteFile(NativePath("f/plain.gba"), "x");
  EXPECT_EQ((std::map<std::string, bool>{{".", true}, {"..", true}, {"plain.gba", false}}),
            List(SystemPath("f")));
}
#endif
