// CRC-32 known answers, and what IdentifyFile makes of loose images and of zips.
#include "scanner/identify.h"

#include "scanner/crc32.h"
#include "support/core_test.h"

class IdentifyTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    BuildCrcTable();
  }
  // What a scan makes of the file with these bytes: "count key extension", then whatever it
  // printed. No bytes: no file.
  std::string Identify(const std::string& name, const std::string* bytes) {
    if (bytes != nullptr) WriteFile(NativePath(name), *bytes);
    testing::internal::CaptureStdout();
    Identity id = IdentifyFile(SystemPath(name).c_str(), name.c_str());
    return std::to_string(id.image_count) + " " + id.key + " " + id.extension +
           testing::internal::GetCapturedStdout();
  }
  std::string Identify(const std::string& name, const std::string& bytes) {
    return Identify(name, &bytes);
  }
};

TEST_F(IdentifyTest, CrcKnownAnswers) {
  const char* rows[][2] = {{"", "00000000"},
                           {"a", "e8b7be43"},
                           {"123456789", "cbf43926"},
                           {"The quick brown fox jumps over the lazy dog", "414fa339"}};
  for (const auto& [data, key] : rows)
    EXPECT_EQ(std::string("1 ") + key + " gba", Identify("f.gba", data)) << data;
  // Whole 64 KiB blocks take four 16 KiB lanes, the rest eight and one byte at a time.
  const std::string data = Image(7, (1 << 17) + 7);
  for (size_t size : {1, 7, 8, 16383, 16385, 65535, 65536, 65537, 65536 + 65535, 131079})
    EXPECT_EQ("1 " + CrcKey(data.substr(0, size)) + " gba", Identify("x.gba", data.substr(0, size)))
        << size;
}

TEST_F(IdentifyTest, LooseImagesByExtensionInAnyCase) {
  const char* rows[][2] = {{"GAME.GBA", "1"}, {"g.Gba", "1"}, {".gba", "1"},
                           {"g.gba.txt", ""}, {"gba", ""},    {"g.gbax", ""}};
  for (const auto& [name, known] : rows)
    EXPECT_EQ(*known ? "1 " + CrcKey("rom") + " gba" : "0  gba", Identify(name, "rom")) << name;
  EXPECT_EQ("0  gbacant open file", Identify("missing.gba", nullptr));
}

TEST_F(IdentifyTest, ZipsCountTheirGbaMembersByTheStoredCrc) {
  const std::string one = "1 " + CrcKey("one") + " zip", n255 = std::string(251, 'n') + ".gba";
  const std::pair<std::vector<ZipMember>, std::string> rows[] = {
      {{{"Game.gba", "one"}}, one},
      {{{"Game.gba", "one", false}}, one},
      {{{"a.txt", "x"}, {"roms/ROM.GBA", "one"}, {"nodot", "y"}}, one},
      {{{"a.gba", "two"}, {"b.gba", "one"}}, "2 " + CrcKey("one") + " zip"},  // the last key
      {{{"readme.txt", "text"}}, "0  gba"},
      {{{n255, "one"}}, one},
      {{{"n" + n255, "one"}}, "0  gba"}};  // a name of 256 characters comes cut to ".gb"
  for (const auto& [members, expected] : rows) {
    WriteZip(NativePath("set.ZIP"), members);
    EXPECT_EQ(expected, Identify("set.ZIP", nullptr)) << members.back().name;
  }
  // The stored CRC is taken as it is: nothing is decompressed or checked.
  WriteLyingZip(NativePath("lies"), "data", 0xDEADBEEF, 4);
  std::string lying = ReadFile(NativePath("lies"));
  for (size_t at; (at = lying.find("dat.txt")) != std::string::npos;)
    lying.replace(at, 7, "dat.gba");
  EXPECT_EQ("1 deadbeef zip", Identify("lies.zip", lying));
}

TEST_F(IdentifyTest, BrokenZipsPrintTheirDiagnosticAndCountNothing) {
  WriteZip(NativePath("a.zip"), {{"a.gba", "one"}});
  WriteZip(NativePath("b.zip"), {});
  for (const std::string& bytes :
       {std::string("plain text"), std::string(), ReadFile(NativePath("a.zip")).substr(0, 30),
        ReadFile(NativePath("b.zip"))})
    EXPECT_EQ("0  gbaFUCKED ZIP = " + SystemPath("bad.zip") + "\n", Identify("bad.zip", bytes))
        << bytes.size();
}
