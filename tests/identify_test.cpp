// CRC-32 known answers, and what IdentifyFile makes of loose images and of zips.
#include "scanner/identify.h"

#include "support/core_test.h"

class IdentifyTest : public CoreTest {
 protected:
  // What a scan makes of a file with these bytes ("count key extension"), then whatever it
  // printed. With write false the file is left as it is.
  std::string Identify(const std::string& name, const std::string& bytes, bool write = true) {
    if (write) WriteFile(NativePath(name), bytes);
    testing::internal::CaptureStdout();
    Identity id = IdentifyFile(SystemPath(name).c_str(), name.c_str());
    return std::to_string(id.image_count) + " " + id.key + " " + id.extension +
           testing::internal::GetCapturedStdout();
  }
  std::string Zip(const std::vector<ZipMember>& members) {
    WriteZip(NativePath("z"), members);
    return ReadFile(NativePath("z"));
  }
};

TEST_F(IdentifyTest, CrcKnownAnswersAndLooseImagesByExtension) {
  const char* rows[][2] = {{"", "00000000"},
                           {"a", "e8b7be43"},
                           {"123456789", "cbf43926"},
                           {"The quick brown fox jumps over the lazy dog", "414fa339"}};
  for (const auto& [data, key] : rows)
    EXPECT_EQ(std::string("1 ") + key + " gba", Identify("f.gba", data)) << data;
  // The file is read in 64 KiB blocks: a last block that is partial, whole or one byte.
  const std::string data = Image(7, (1 << 17) + 1);
  for (size_t size : {65535, 65536, 65537, 131071, 131072, 131073})
    EXPECT_EQ("1 " + CrcKey(data.substr(0, size)) + " gba", Identify("x.gba", data.substr(0, size)))
        << size;
  // A loose image is known by its last extension, in any case.
  const char* names[][2] = {{"GAME.GBA", "1"}, {"g.Gba", "1"}, {".gba", "1"},
                            {"g.gba.txt", ""}, {"gba", ""},    {"g.gbax", ""}};
  for (const auto& [name, known] : names)
    EXPECT_EQ(*known ? "1 " + CrcKey("rom") + " gba" : "0  gba", Identify(name, "rom")) << name;
  EXPECT_EQ("0  gbacant open file", Identify("missing.gba", "", false));
}

// The stored CRC is taken as it is: nothing is decompressed or checked.
TEST_F(IdentifyTest, ZipsCountTheirGbaMembersByTheStoredCrc) {
  const std::string one = "1 " + CrcKey("one") + " zip", n255 = std::string(251, 'n') + ".gba";
  const std::string broken = "0  gbaFUCKED ZIP = " + SystemPath("set.ZIP") + "\n";
  WriteLyingZip(NativePath("lies"), "data", 0xDEADBEEF, 4);
  std::string lying = ReadFile(NativePath("lies"));
  for (size_t at; (at = lying.find("dat.txt")) != std::string::npos;)
    lying.replace(at, 7, "dat.gba");
  std::vector<ZipMember> many(1500, {std::string(50, 'f') + ".txt", ""});
  many.front() = many.back() = {"Game.gba", "one"};
  const std::pair<std::string, std::string> rows[] = {
      {Zip({{"Game.gba", "one"}}), one},
      {Zip({{"Game.gba", "one", false}}), one},
      {Zip({{"a.txt", "x"}, {"roms/ROM.GBA", "one"}, {"nodot", "y"}}), one},
      {Zip({{"a.gba", "two"}, {"b.gba", "one"}}), "2 " + CrcKey("one") + " zip"},  // the last key
      {Zip({{"readme.txt", "text"}}), "0  gba"},
      {Zip({{n255, "one"}}), one},
      {Zip(many), "2 " + CrcKey("one") + " zip"},  // a central directory of 150 KiB
      {Zip({{"n" + n255, "one"}}), "0  gba"},      // a name of 256 characters comes cut to ".gb"
      {lying, "1 deadbeef zip"},
      {"plain text", broken},
      {"", broken},
      {Zip({{"a.gba", "one"}}).substr(0, 30), broken},
      {Zip({}), broken}};
  for (const auto& [bytes, expected] : rows)
    EXPECT_EQ(expected, Identify("set.ZIP", bytes)) << bytes.size();
}
