// CRC-32 known answers and what IdentifyFile makes of loose images and of zips from
// different writers.
#include "scanner/identify.h"

#include <zlib.h>

#include <cstdint>

#include "support/core_test.h"
#include "platform/file_system.h"
#include "scanner/crc32.h"

namespace {

uint32_t CrcOfText(const std::string& text, const std::string& path) {
  WriteFile(path, text);
  FILE* file = fopen(path.c_str(), "rb");
  uint32_t crc = CrcOfStream(file);
  fclose(file);
  return crc;
}

// A zip written by hand, member by member, as other archivers lay them out: stored data,
// optionally with the sizes and CRC left to a data descriptor after the data.
struct RawMember {
  std::string name;
  std::string data;
  bool descriptor = false;
};

void Put16(std::string& out, uint32_t v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); }
void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }

std::string RawZip(const std::vector<RawMember>& members) {
  std::string zip, central;
  for (const RawMember& m : members) {
    uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
    uint32_t size = static_cast<uint32_t>(m.data.size());
    uint32_t offset = static_cast<uint32_t>(zip.size());
    uint16_t flags = m.descriptor ? 8 : 0;
    Put32(zip, 0x04034b50), Put16(zip, 20), Put16(zip, flags), Put16(zip, 0), Put32(zip, 0);
    Put32(zip, m.descriptor ? 0 : crc), Put32(zip, m.descriptor ? 0 : size);
    Put32(zip, m.descriptor ? 0 : size), Put16(zip, m.name.size()), Put16(zip, 0);
    zip += m.name + m.data;
    if (m.descriptor) Put32(zip, 0x08074b50), Put32(zip, crc), Put32(zip, size), Put32(zip, size);
    Put32(central, 0x02014b50), Put16(central, 20), Put16(central, 20), Put16(central, flags);
    Put16(central, 0), Put32(central, 0), Put32(central, crc), Put32(central, size);
    Put32(central, size), Put16(central, m.name.size()), Put16(central, 0), Put16(central, 0);
    Put16(central, 0), Put16(central, 0), Put32(central, 0), Put32(central, offset);
    central += m.name;
  }
  uint32_t central_offset = static_cast<uint32_t>(zip.size());
  zip += central;
  Put32(zip, 0x06054b50), Put16(zip, 0), Put16(zip, 0), Put16(zip, members.size());
  Put16(zip, members.size()), Put32(zip, central.size()), Put32(zip, central_offset), Put16(zip, 0);
  return zip;
}

}  // namespace

class IdentifyTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    BuildCrcTable();
  }
  Identity Identify(const std::string& name) {
    return IdentifyFile(SystemPath(name).c_str(), name.c_str());
  }
};

TEST_F(IdentifyTest, CrcKnownAnswers) {
  struct Row {
    std::string data;
    uint32_t crc;
  } rows[] = {
      {"", 0x00000000u},
      {"a", 0xe8b7be43u},
      {"123456789", 0xcbf43926u},
      {"The quick brown fox jumps over the lazy dog", 0x414fa339u},
  };
  for (const Row& r : rows)
    EXPECT_EQ(r.crc, CrcOfText(r.data, NativePath("f.bin"))) << r.data.size() << " bytes";
}

TEST_F(IdentifyTest, CrcMatchesZlibAcrossBlockBoundaries) {
  std::string data;
  uint32_t seed = 12345;
  for (int i = 0; i < (1 << 17) + 7; ++i) data += char((seed = seed * 1103515245u + 12345u) >> 24);
  // Whole blocks of 64 KiB take the four-lane path, the rest eight and one byte at a time.
  for (size_t size : {size_t{1}, size_t{7}, size_t{8}, size_t{65535}, size_t{65536}, size_t{65537},
                      size_t{65536 + 65535}, data.size()}) {
    std::string part = data.substr(0, size);
    WriteFile(NativePath("x.gba"), part);
    EXPECT_EQ(CrcKey(part), Identify("x.gba").key) << size;
  }
}

TEST_F(IdentifyTest, LooseImagesByExtensionInAnyCase) {
  struct Row {
    const char* name;
    int count;
  } rows[] = {{"GAME.GBA", 1}, {"game.Gba", 1},  {"game.gba", 1}, {"game.gba.txt", 0},
              {"gba", 0},      {"game.gbax", 0}, {".gba", 1}};
  for (const Row& r : rows) {
    WriteFile(NativePath(r.name), "rom bytes");
    Identity id = Identify(r.name);
    EXPECT_EQ(r.count, id.image_count) << r.name;
    EXPECT_STREQ(r.count ? CrcKey("rom bytes").c_str() : "", id.key) << r.name;
    EXPECT_STREQ("gba", id.extension) << r.name;
  }
  WriteFile(NativePath("empty.gba"), "");
  EXPECT_STREQ("00000000", Identify("empty.gba").key);
}

TEST_F(IdentifyTest, ZipsCountTheirGbaMembersFromTheCentralDirectory) {
  struct Row {
    const char* case_name;
    std::vector<ZipMember> entries;
    int count;
  } rows[] = {
      {"deflated", {{"Game.gba", "one"}}, 1},
      {"stored", {{"Game.gba", "one", false}}, 1},
      {"upper-case member", {{"ROM.GBA", "one"}, {"readme.txt", "text"}}, 1},
      {"with other members", {{"a.txt", "x"}, {"Game.gba", "one"}, {"nodot", "y"}}, 1},
      {"two images", {{"a.gba", "one"}, {"b.gba", "two"}}, 2},
      {"no image", {{"readme.txt", "text"}}, 0},
  };
  for (const Row& r : rows) {
    WriteZip(NativePath("set.ZIP"), r.entries);
    testing::internal::CaptureStdout();
    Identity id = Identify("set.ZIP");
    EXPECT_EQ("", testing::internal::GetCapturedStdout()) << r.case_name;
    EXPECT_EQ(r.count, id.image_count) << r.case_name;
    EXPECT_STREQ(r.count ? "zip" : "gba", id.extension) << r.case_name;
    EXPECT_STREQ(r.count == 1 ? CrcKey("one").c_str()
                 : r.count    ? CrcKey("two").c_str()
                              : "",
                 id.key)
        << r.case_name;
  }
}

TEST_F(IdentifyTest, HandWrittenZipsWithDescriptorsAndFolders) {
  WriteFile(NativePath("raw.zip"),
            RawZip({{"roms/", ""}, {"roms/Game.gba", "image", true}, {"info.nfo", "about", true}}));
  Identity id = Identify("raw.zip");
  EXPECT_EQ(1, id.image_count);
  EXPECT_STREQ(CrcKey("image").c_str(), id.key);
  EXPECT_STREQ("zip", id.extension);

  // The stored CRC is trusted: nothing is decompressed or checked.
  WriteLyingZip(NativePath("lies.zip"), "data", 0xDEADBEEF, 4);
  std::string lying = ReadFile(NativePath("lies.zip"));
  for (size_t at = lying.find("dat.txt"); at != std::string::npos; at = lying.find("dat.txt", at))
    lying.replace(at, 7, "dat.gba");
  WriteFile(NativePath("lies.zip"), lying);
  EXPECT_STREQ("deadbeef", Identify("lies.zip").key);
}

TEST_F(IdentifyTest, MemberNamesAreCutAt255Characters) {
  std::string long_name = std::string(251, 'n') + ".gba";  // 255: the extension survives
  std::string longer = std::string(252, 'n') + ".gba";     // 256: cut to ".gb"
  WriteFile(NativePath("a.zip"), RawZip({{long_name, "one"}}));
  WriteFile(NativePath("b.zip"), RawZip({{longer, "one"}}));
  EXPECT_EQ(1, Identify("a.zip").image_count);
  EXPECT_EQ(0, Identify("b.zip").image_count);
}

TEST_F(IdentifyTest, BrokenFilesPrintTheirDiagnosticsAndCountNothing) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string printed;
  } rows[] = {
      {"notazip.zip", "plain text", "FUCKED ZIP = %s\n"},
      {"empty.zip", "", "FUCKED ZIP = %s\n"},
      {"nomembers.zip", RawZip({}), "FUCKED ZIP = %s\n"},
      {"truncated.zip", RawZip({{"a.gba", "one"}}).substr(0, 30), "FUCKED ZIP = %s\n"},
  };
  for (const Row& r : rows) {
    WriteFile(NativePath(r.name), r.bytes);
    testing::internal::CaptureStdout();
    Identity id = Identify(r.name);
    char expected[4096];
    snprintf(expected, sizeof expected, r.printed.c_str(), SystemPath(r.name).c_str());
    EXPECT_EQ(expected, testing::internal::GetCapturedStdout()) << r.name;
    EXPECT_EQ(0, id.image_count) << r.name;
    EXPECT_STREQ("", id.key) << r.name;
  }
  testing::internal::CaptureStdout();
  Identity missing = Identify("missing.gba");
  EXPECT_EQ("cant open file", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, missing.image_count);
}
