// The platform's folder listing, directory creation and no-overwrite move, on real folders.
#include "platform/file_system.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "fakes/test_support.h"

namespace fs = std::filesystem;

class FileSystemTest : public CoreTest {
 protected:
  int Move(const std::string& from, const std::string& to) {
    return MovePath(SystemPath(from).c_str(), SystemPath(to).c_str());
  }
  // What OpenFolderListing gives for folder: names, with "/" after directories, sorted.
  std::vector<std::string> Listed(const std::string& folder) {
    std::vector<std::string> seen;
    FolderListing* listing = OpenFolderListing((SystemPath(folder) + "\\*").c_str());
    if (listing == nullptr) return {"(unreadable)"};
    FolderEntry entry;
    while (NextFolderEntry(listing, &entry))
      seen.push_back(std::string(entry.name) + (entry.is_directory ? "/" : ""));
    CloseFolderListing(listing);
    std::sort(seen.begin(), seen.end());
    return seen;
  }
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(NativePath(folder)))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileSystemTest, ListingGivesNamesAndKinds) {
  fs::create_directories(NativePath("f/sub"));
  WriteFile(NativePath("f/a.gba"), "a");
  WriteFile(NativePath("f/B.ZIP"), "b");
  EXPECT_EQ((std::vector<std::string>{"../", "./", "B.ZIP", "a.gba", "sub/"}), Listed("f"));
  EXPECT_EQ((std::vector<std::string>{"(unreadable)"}), Listed("missing"));
}

TEST_F(FileSystemTest, MakeDirectoryOnlyMakesNewFolders) {
  EXPECT_EQ(1, MakeDirectory(SystemPath("new").c_str()));
  EXPECT_EQ(0, MakeDirectory(SystemPath("new").c_str()));
  EXPECT_EQ(0, MakeDirectory(SystemPath("no/such/parent").c_str()));
  EXPECT_TRUE(fs::is_directory(NativePath("new")));
}

TEST_F(FileSystemTest, MoveNeverOverwrites) {
  fs::create_directories(NativePath("other"));
  WriteFile(NativePath("a.gba"), "mine");
  WriteFile(NativePath("other/taken.gba"), "theirs");
  EXPECT_EQ(0, Move("a.gba", "other/taken.gba"));
  EXPECT_EQ("mine", ReadFile(NativePath("a.gba")));
  EXPECT_EQ("theirs", ReadFile(NativePath("other/taken.gba")));
  EXPECT_EQ(0, Move("missing.gba", "other/x.gba"));
  EXPECT_EQ(0, Move("a.gba", "no such folder/a.gba"));
  EXPECT_EQ(1, Move("a.gba", "other/b.gba"));
  EXPECT_FALSE(FileExists(NativePath("a.gba")));
  EXPECT_EQ("mine", ReadFile(NativePath("other/b.gba")));
}

TEST_F(FileSystemTest, CaseOnlyRenameRenames) {
  WriteFile(NativePath("game.gba"), "bytes");
  EXPECT_EQ(1, Move("game.gba", "Game.gba"));
  EXPECT_EQ((std::vector<std::string>{"Game.gba"}), Names(""));
  EXPECT_EQ("bytes", ReadFile(NativePath("Game.gba")));
}

#ifndef _WIN32
// Another volume: a tmpfs beside the work disk, where a move is a checked copy.
TEST_F(FileSystemTest, MoveAcrossVolumesCopiesThenRemoves) {
  struct stat here, there;
  if (stat("/dev/shm", &there) != 0 || stat(dir().c_str(), &here) != 0 ||
      here.st_dev == there.st_dev)
    GTEST_SKIP() << "no second file system";
  char pattern[] = "/dev/shm/tarnwick-volume-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(pattern));
  std::string other = pattern;
  std::string big(300000, 'x');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = char(i);
  WriteFile(NativePath("big.gba"), big);
  WriteFile(other + "/taken.gba", "theirs");
  std::string from = SystemPath("big.gba");
  auto system = [](std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  };

  EXPECT_EQ(0, MovePath(from.c_str(), system(other + "/taken.gba").c_str()));
  EXPECT_EQ("theirs", ReadFile(other + "/taken.gba"));
  EXPECT_EQ(1, MovePath(from.c_str(), system(other + "/big.gba").c_str()));
  EXPECT_FALSE(FileExists(NativePath("big.gba")));
  EXPECT_EQ(big, ReadFile(other + "/big.gba"));
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(other)) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ((std::vector<std::string>{"big.gba", "taken.gba"}), left) << "no part file left";
  fs::remove_all(other);
}

TEST_F(FileSystemTest, ListingPassesOverSpecialFiles) {
  fs::create_directories(NativePath("f"));
  ASSERT_EQ(0, mkfifo(NativePath("f/pipe.gba").c_str(), 0600));
  WriteFile(NativePath("f/back\\slash.gba"), "x");
  WriteFile(NativePath("f/plain.gba"), "x");
  EXPECT_EQ((std::vector<std::string>{"../", "./", "plain.gba"}), Listed("f"));
}
#endif
