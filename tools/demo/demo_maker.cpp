// demo_maker.cpp: the demo's database and ROM files, all made here from fixed seeds, so every
// demo is the same and the database's CRCs are those of the files.
#include "tools/demo/demo_maker.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/text.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// The sample dat's records but their crcs, which their images decide. Every category the
// include options know, several countries (and none), sizes from 1 to 256 mbit and five
// groups, so each option dialog visibly changes the list.
const DatRom kRoms[] = {
    {"", 262144, "Lantern Valley (U)", "0001 - ", "Roms", "Tinplate", "Lantern Valley",
     "Lantern_Valley_USA_GBA-TNP"},
    {"", 524288, "Copper Comet (E)", "0002 - ", "Roms", "Quillrun", "Copper Comet",
     "Copper_Comet_EUR_GBA-QLR"},
    {"", 131072, "Moss & Marrow (J)", "0003 - ", "Roms", "Northgate", "Moss and Marrow",
     "Moss_and_Marrow_JPN_GBA-NGT"},
    {"", 262144, "Orbit Bakery (G)", "0004 - ", "Roms", "Glassfish", "Orbit Bakery",
     "Orbit_Bakery_GER_GBA-GFS"},
    {"", 524288, "Tidewater Tales (F)", "0005 - ", "Roms", "Kestrel", "Tidewater Tales",
     "Tidewater_Tales_FRA_GBA-KST"},
    {"", 131072, "Paper Kites (U)", "0006 - ", "Roms", "Tinplate", "Paper Kites",
     "Paper_Kites_USA_GBA-TNP"},
    {"", 131072, "Rust Orchard (E)", "0007 - ", "Roms", "Quillrun", "Rust Orchard",
     "Rust_Orchard_EUR_GBA-QLR"},
    {"", 4194304, "Cinder Pass (U)", "0008 - ", "Roms", "Northgate", "Cinder Pass",
     "Cinder_Pass_USA_GBA-NGT"},
    {"", 8388608, "Hollow Bell (J)", "0009 - ", "Roms", "Glassfish", "Hollow Bell",
     "Hollow_Bell_JPN_GBA-GFS"},
    {"", 16777216, "Starling Derby (E)", "0010 - ", "Roms", "Kestrel", "Starling Derby",
     "Starling_Derby_EUR_GBA-KST"},
    {"", 8388608, "Quarry Knights (S)", "0011 - ", "Roms", "Tinplate", "Quarry Knights",
     "Quarry_Knights_SPA_GBA-TNP"},
    {"", 4194304, "Velvet Circuit (I)", "0012 - ", "Roms", "Quillrun", "Velvet Circuit",
     "Velvet_Circuit_ITA_GBA-QLR"},
    {"", 4194304, "Pocket Lighthouse (Ch)", "0013 - ", "Roms", "Northgate", "Pocket Lighthouse",
     "Pocket_Lighthouse_CHN_GBA-NGT"},
    {"", 8388608, "Marble Run Deluxe (X)", "0014 - ", "Roms", "Glassfish", "Marble Run Deluxe",
     "Marble_Run_Deluxe_EUR_GBA-GFS"},
    {"", 16777216, "Glass Harbor (U)", "0015 - ", "Roms", "Kestrel", "Glass Harbor",
     "Glass_Harbor_USA_GBA-KST"},
    {"", 4194304, "Fennel & Fig (E)", "0016 - ", "Roms", "Tinplate", "Fennel and Fig",
     "Fennel_and_Fig_EUR_GBA-TNP"},
    {"", 8388608, "Harbor Lights (G)", "0017 - ", "Roms", "Quillrun", "Harbor Lights",
     "Harbor_Lights_GER_GBA-QLR"},
    {"", 33554432, "Snowglobe Rally (F)", "0018 - ", "Roms", "Northgate", "Snowglobe Rally",
     "Snowglobe_Rally_FRA_GBA-NGT"},
    {"", 524288, "Copper Comet (E) [a1]", "", "Alt", "Quillrun", "Copper Comet (Alt)",
     "Copper_Comet_EUR_GBA-QLR_a1"},
    {"", 4194304, "Cinder Pass (U) [a1]", "", "Alt", "Northgate", "Cinder Pass (Alt)",
     "Cinder_Pass_USA_GBA-NGT_a1"},
    {"", 262144, "Lantern Valley (U) (Beta)", "", "Beta", "Tinplate", "Lantern Valley (Beta)",
     "Lantern_Valley_Beta_USA_GBA-TNP"},
    {"", 16777216, "Starling Derby (E) (Beta)", "", "Beta", "Kestrel", "Starling Derby (Beta)",
     "Starling_Derby_Beta_EUR_GBA-KST"},
    {"", 8388608, "Hollow Bell (J) (Prototype)", "", "Beta", "Glassfish", "Hollow Bell (Prototype)",
     "Hollow_Bell_Proto_JPN_GBA-GFS"},
    {"", 1048576, "Sprite Scaling Demo", "", "DevKitDemos", "Devkit", "Sprite Scaling Demo",
     "Sprite_Scaling_Demo_GBA-DEV"},
    {"", 1048576, "Mode Switch Demo", "", "DevKitDemos", "Devkit", "Mode Switch Demo",
     "Mode_Switch_Demo_GBA-DEV"},
    {"", 2097152, "Boot Screen Test (Hardware Dump)", "", "Hardware", "Glassfish",
     "Boot Screen Test", "Boot_Screen_Test_GBA-GFS"},
    {"", 1048576, "Link Cable Loopback (Hardware Dump)", "", "Hardware", "Kestrel",
     "Link Cable Loopback", "Link_Cable_Loopback_GBA-KST"},
    {"", 262144, "Copper Comet 2 (Ch) (Pirate)", "", "Pirate", "Bootleg", "Copper Comet 2",
     "Copper_Comet_2_CHN_GBA-BTL"},
    {"", 4194304, "Super Lantern (Ch) (Pirate)", "", "Pirate", "Bootleg", "Super Lantern",
     "Super_Lantern_CHN_GBA-BTL"},
    {"", 262144, "Tunnel Racer (PocketNES Hack)", "", "PnesHacks", "Bootleg", "Tunnel Racer",
     "Tunnel_Racer_PNES_GBA-BTL"},
    {"", 262144, "Brick Mountain (PocketNES Hack)", "", "PnesHacks", "Bootleg", "Brick Mountain",
     "Brick_Mountain_PNES_GBA-BTL"},
    {"", 4194304, "Cinder Pass (U) (Trained)", "", "PreTrained", "Northgate",
     "Cinder Pass (Trained)", "Cinder_Pass_Trained_USA_GBA-NGT"},
    {"", 16777216, "Glass Harbor (U) (Trained)", "", "PreTrained", "Kestrel",
     "Glass Harbor (Trained)", "Glass_Harbor_Trained_USA_GBA-KST"},
    {"", 262144, "Orbit Bakery (G) (Intro)", "", "Scene", "Glassfish", "Orbit Bakery (Intro)",
     "Orbit_Bakery_Intro_GER_GBA-GFS"},
    {"", 4194304, "Velvet Circuit (I) (Intro)", "", "Scene", "Quillrun", "Velvet Circuit (Intro)",
     "Velvet_Circuit_Intro_ITA_GBA-QLR"},
};
constexpr int kRomCount = sizeof(kRoms) / sizeof(kRoms[0]);

// The files of Source/, in "/"-joined paths. A zip holds one ".gba" member named member, or
// two for the multi-ROM zip; a loose file holds the image of rom.
struct SourceFile {
  const char* path;
  const char* rom;
  const char* member = nullptr;
  const char* second_rom = nullptr;
  const char* second_member = nullptr;
};

const SourceFile kSourceFiles[] = {
    {"Lantern Valley (U).gba", "Lantern Valley (U)"},
    {"Copper Comet (E).zip", "Copper Comet (E)", "Copper Comet (E).gba"},
    {"moss_marrow.gba", "Moss & Marrow (J)"},  // a wrong name: Scan logs it, Rename fixes it
    {"Lantern Valley (U) (Beta).gba", "Lantern Valley (U) (Beta)"},
    {"Copper Comet 2 (Ch) (Pirate).zip", "Copper Comet 2 (Ch) (Pirate)",
     "Copper Comet 2 (Ch) (Pirate).gba"},
    {"Twin Pack.zip", "Paper Kites (U)", "Paper Kites (U).gba", "Rust Orchard (E)",
     "Rust Orchard (E).gba"},
    {"More/Lantern Valley (U) (copy).gba", "Lantern Valley (U)"},  // the duplicate
    {"More/Orbit Bakery (G).zip", "Orbit Bakery (G)", "Orbit Bakery (G).gba"},
    {"More/Tidewater Tales (F).gba", "Tidewater Tales (F)"},
    {"More/Orbit Bakery (G) (Intro).zip", "Orbit Bakery (G) (Intro)",
     "Orbit Bakery (G) (Intro).gba"},
};

// An image of no ROM in the database: its seed lies past the table.
constexpr char kUnknownFile[] = "Homebrew Sketch.gba";
constexpr int kUnknownSeed = 1000;
constexpr int kUnknownSize = 65536;

constexpr char kReadme[] =
    "Tarnwick GBA demo: the files here were made for the sample database.\r\n"
    "\r\n"
    "Lantern Valley (U).gba       a loose ROM under its database name\r\n"
    "Copper Comet (E).zip         a zipped ROM\r\n"
    "moss_marrow.gba              a ROM under a wrong name (Scan logs it, Rename fixes it)\r\n"
    "Lantern Valley (U) (Beta).gba  a beta: owned, though betas are not included yet\r\n"
    "Copper Comet 2 (Ch) (Pirate).zip  a pirate dump\r\n"
    "Twin Pack.zip                two ROMs in one zip: passed over and logged\r\n"
    "Homebrew Sketch.gba          a file the database does not know\r\n"
    "readme.txt                   not a ROM: passed over\r\n"
    "More\\                        a sub-folder, scanned too; it holds a second copy of\r\n"
    "                             Lantern Valley (U), which ends up in Destination\\Dupes\r\n";

int RomIndex(const char* name) {
  for (int i = 0; i < kRomCount; ++i)
    if (kRoms[i].name == name) return i;
  abort();  // a name in kSourceFiles that kRoms lacks: a mistake in the tables above
}

std::string RomImage(const char* name) {
  int index = RomIndex(name);
  return Image(index, static_cast<size_t>(kRoms[index].size));
}

// The dat lists every ROM, also the large ones that are never written: its CRC is the image's.
std::string SampleDat() {
  std::vector<DatRom> roms;
  for (int i = 0; i < kRomCount; ++i) {
    roms.push_back(kRoms[i]);
    roms.back().crc = CrcKey(Image(i, static_cast<size_t>(kRoms[i].size)));
  }
  return DatText(roms);
}

bool WriteSource(const fs::path& source) {
  std::error_code error;
  if (!fs::create_directory(source, error) || !fs::create_directory(source / "More", error))
    return false;
  for (const SourceFile& file : kSourceFiles) {
    fs::path path = source / file.path;
    bool ok;
    if (file.member == nullptr) {
      ok = WriteFile(path.string(), RomImage(file.rom));
    } else {
      std::vector<ZipMember> members = {{file.member, RomImage(file.rom)}};
      if (file.second_member != nullptr)
        members.push_back({file.second_member, RomImage(file.second_rom)});
      ok = WriteZip(path.string(), members);
    }
    if (!ok) return false;
  }
  return WriteFile((source / kUnknownFile).string(), Image(kUnknownSeed, kUnknownSize)) &&
         WriteFile((source / "readme.txt").string(), kReadme);
}

// The INI as the program writes it on close, by its own writer and in its line ends, so the
// first save changes nothing but what the user did.
bool WriteDemoIni(const fs::path& path, const std::string& demo_as_seen) {
  Settings settings = {};
  settings.LOG = settings.TYPE = 1;  // logs kept, placed by country
  std::string db = demo_as_seen + "\\" + kDemoDatabase, src = demo_as_seen + "\\" + kDemoSource,
              dest = demo_as_seen + "\\" + kDemoDestination, text;
  const char* const paths[kIniPathCount] = {db.c_str(), src.c_str(), dest.c_str()};
  if (!WriteIniFile(SystemPath(path.string()).c_str(), paths, settings)) return false;
  for (char c : ReadFile(path.string()))
    text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return WriteFile(path.string(), text);
}

// The program keeps at most 259 characters of a path and reads names through the Windows
// code page, so a longer path or one outside printable ASCII would not open.
bool UsableAsPath(const std::string& path) {
  if (path.size() >= static_cast<size_t>(kPathFieldSize)) return false;
  for (unsigned char c : path)
    if (c < 0x20 || c > 0x7e) return false;
  return true;
}

// Creates the INI under its name only if no file has that name, also one that appeared
// meanwhile: the user's settings are never replaced.
DemoResult WriteIniExclusively(const fs::path& ini, const std::string& demo_as_seen) {
  fs::path fresh = ini;
  fresh += ".demo-new";
  if (!WriteDemoIni(fresh, demo_as_seen)) {
    unlink(fresh.c_str());
    return DemoResult::kFailed;
  }
  int linked = link(fresh.c_str(), ini.c_str());
  int error = errno;
  unlink(fresh.c_str());
  if (linked == 0) return DemoResult::kMade;
  return error == EEXIST ? DemoResult::kIniExists : DemoResult::kFailed;
}

}  // namespace

DemoResult MakeDemo(const std::string& program_dir, const std::string& program_dir_as_seen,
                    std::string* message) {
  fs::path dir(program_dir);
  fs::path ini = dir / kIniFileName;
  fs::path demo = dir / kDemoFolder;
  std::error_code error;
  if (fs::symlink_status(ini, error).type() != fs::file_type::not_found) {
    *message = ini.string() + " exists: the program folder is in use, no demo made";
    return DemoResult::kIniExists;
  }
  if (fs::symlink_status(demo, error).type() != fs::file_type::not_found) {
    *message = demo.string() + " exists: remove it to make the demo again";
    return DemoResult::kDemoExists;
  }
  std::string demo_as_seen = program_dir_as_seen + "\\" + kDemoFolder;
  std::string longest = demo_as_seen + "\\" + kDemoDestination;
  if (!UsableAsPath(demo_as_seen + "\\" + kDemoDatabase) || !UsableAsPath(longest)) {
    *message = "the program cannot open files under " + program_dir_as_seen +
               " (at most 259 characters of printable ASCII): choose a shorter, plain path";
    return DemoResult::kBadPath;
  }

  // Made under a temporary name and renamed whole, so an interrupted run never leaves a
  // half-made Demo folder; rename never replaces a folder that holds anything.
  std::string staging_template = (dir / ".demo-XXXXXX").string();
  if (mkdtemp(&staging_template[0]) == nullptr) {
    *message = "cannot create a folder in " + program_dir + ": " + strerror(errno);
    return DemoResult::kFailed;
  }
  fs::path staging(staging_template);
  bool written =
      WriteZip((staging / kDemoDatabase).string(), {{"Sample (QVX).dat", SampleDat()}}) &&
      WriteSource(staging / kDemoSource) && fs::create_directory(staging / kDemoDestination, error);
  if (!written || rename(staging.c_str(), demo.c_str()) != 0) {
    bool taken = written && (errno == EEXIST || errno == ENOTEMPTY || errno == ENOTDIR);
    fs::remove_all(staging, error);
    *message = taken ? demo.string() + " appeared meanwhile: no demo made"
                     : "cannot write the demo in " + program_dir;
    return taken ? DemoResult::kDemoExists : DemoResult::kFailed;
  }
  DemoResult result = WriteIniExclusively(ini, demo_as_seen);
  if (result == DemoResult::kIniExists)
    *message = ini.string() + " appeared meanwhile: kept it; the demo is in " + demo.string();
  else if (result == DemoResult::kFailed)
    *message = "cannot write " + ini.string() + "; the demo is in " + demo.string();
  return result;
}
