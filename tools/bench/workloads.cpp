// workloads.cpp: writing the benchmark's collections and database from fixed seeds.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "tools/bench/sections.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

// mt19937's sequence is fixed by the standard, so every machine makes the same records.
using Random = std::mt19937;

const char* const kWords[] = {"Lantern", "Valley", "Moss",    "Marrow",  "Harbour", "Quest",
                              "Ember",   "Drift",  "Saffron", "Citadel", "Tundra",  "Racer",
                              "Hollow",  "Legend", "Pixel",   "Thunder", "Orchard", "Comet"};
const char* const kCountries[] = {"U", "E", "J", "X", "G", "F", "S", "I"};
const char* const kGroups[] = {"Vellum", "Eurasia",    "Trashman",
                               "Mode7",  "Rising Sun", "Lightforce"};

// A record of about 40 characters of name, realistic in length and shape.
DatRom MakeRecord(const std::string& crc, int serial, Random& random) {
  auto pick = [&](const auto& list) { return std::string(list[random() % std::size(list)]); };
  char number[16];
  snprintf(number, sizeof number, "%04d", serial);
  std::string title = pick(kWords);
  for (int word = 1; word < 4; ++word) title += " " + pick(kWords);
  std::string name = title + " " + number + " (" + pick(kCountries) + ")";
  long long size = (4ll << 20) << (random() % 4);
  unsigned kind = random() % 20;
  std::string category = kind < 16 ? "Roms" : kind == 16 ? "Beta" : kind == 17 ? "Pirate" : "Alt";
  std::string group = pick(kGroups), scene = title;
  std::replace(scene.begin(), scene.end(), ' ', '_');
  return {crc, size, name, number, category, group, title, number + ("_" + scene) + "_" + group};
}

// A new image per call whose CRC no earlier image or record has: a fixed base with a
// four-byte tag, which changes the CRC for every tag of one length.
struct ImageMaker {
  std::string base;
  std::set<std::string>* used;
  uint32_t tag;
  std::string Next(std::string* crc) {
    std::string image = base;
    do {
      memcpy(&image[0], &tag, std::min(image.size(), sizeof tag));
      ++tag;
      *crc = CrcKey(image);
    } while (!used->insert(*crc).second);
    return image;
  }
};

bool IsUnknown(int i) { return i % 20 == 19; }

// The zip collection's member: the base of its images, whose tag goes in the first bytes.
constexpr size_t kZipMemberSize = 1024;
constexpr int kZipMemberSeed = 11;

bool WriteZipOf(const std::string& path, const std::string& member) {
  return WriteZip(path, {{"image.gba", member, false}});  // stored: random bytes do not shrink
}

// Names file i of a collection after its record, or as unknown.
CollectionFile NameFile(int i, int record, const std::vector<DatRom>& records, const char* ext) {
  CollectionFile file{"", record, record >= 0 && i % 2 == 1};
  char name[64];
  snprintf(name, sizeof name, "%s %05d.%s", record < 0 ? "unknown" : "dump", i, ext);
  bool named = record >= 0 && !file.wrong_name;
  file.name = named ? records[static_cast<size_t>(record)].name + "." + ext : name;
  return file;
}

// Counts a file, written at path, into the collection.
void AddFile(Collection& collection, const CollectionFile& file, const std::string& path) {
  std::error_code error;
  collection.files.push_back(file);
  collection.bytes += static_cast<int64_t>(fs::file_size(path, error));
  ++(file.record >= 0 ? collection.known : collection.unknown);
  collection.wrong_names += file.wrong_name;
}

// Shuffles the crcs into table order and makes a record of each; returns for every crc (in
// the order given) its record's index.
std::vector<int> MakeRecords(const std::vector<std::string>& crcs, Random& random,
                             std::vector<DatRom>* records) {
  std::vector<int> crc_at(crcs.size());
  for (size_t i = 0; i < crc_at.size(); ++i) crc_at[i] = static_cast<int>(i);
  for (size_t i = crc_at.size(); i > 1; --i) std::swap(crc_at[i - 1], crc_at[random() % i]);
  std::vector<int> record_of(crcs.size());
  for (size_t p = 0; p < crc_at.size(); ++p) {
    size_t c = static_cast<size_t>(crc_at[p]);
    record_of[c] = static_cast<int>(p);
    records->push_back(MakeRecord(crcs[c], static_cast<int>(p) + 1, random));
  }
  return record_of;
}

}  // namespace

bool MakeScanWorkload(const Sizes& sizes, const std::string& work, ScanWorkload* out) {
  // Images first, since the database is made from their CRCs: the zips' members kept in
  // memory (a kilobyte each), the loose images written under a temporary name at once (500
  // of them held would be a gigabyte).
  std::set<std::string> used;
  ImageMaker zip_images{Image(kZipMemberSeed, kZipMemberSize), &used, 0},
      loose_images{Image(12, sizes.loose_size), &used, 0};
  std::vector<std::string> members, crcs;  // known images: zips, then loose images
  std::string crc;
  for (int i = 0; i < sizes.zips; ++i) {
    members.push_back(zip_images.Next(&crc));
    if (!IsUnknown(i)) crcs.push_back(crc);
  }
  size_t known_zips = crcs.size();
  out->loose.folder = work + "/loose";
  out->zips.folder = work + "/zips";
  std::error_code error;
  if (!fs::create_directory(out->loose.folder, error) ||
      !fs::create_directory(out->zips.folder, error))
    return false;
  for (int i = 0; i < sizes.loose; ++i) {
    if (!WriteFile(out->loose.folder + "/pending " + std::to_string(i), loose_images.Next(&crc)))
      return false;
    if (!IsUnknown(i)) crcs.push_back(crc);
  }
  if (static_cast<int>(crcs.size()) > sizes.database_records) return false;
  // The rest of the database: records of images nobody has.
  for (int n = 0; static_cast<int>(crcs.size()) < sizes.database_records; ++n)
    if (used.insert(crc = CrcKey("nobody's " + std::to_string(n))).second) crcs.push_back(crc);
  Random random(13);
  std::vector<int> record_of = MakeRecords(crcs, random, &out->records);

  size_t next = 0;  // the next known image's place in crcs
  for (int i = 0; i < sizes.zips; ++i) {
    CollectionFile file = NameFile(i, IsUnknown(i) ? -1 : record_of[next++], out->records, "zip");
    std::string path = out->zips.folder + "/" + file.name;
    if (!WriteZipOf(path, members[static_cast<size_t>(i)])) return false;
    AddFile(out->zips, file, path);
  }
  next = known_zips;
  for (int i = 0; i < sizes.loose; ++i) {
    CollectionFile file = NameFile(i, IsUnknown(i) ? -1 : record_of[next++], out->records, "gba");
    std::string to = out->loose.folder + "/" + file.name;
    fs::rename(out->loose.folder + "/pending " + std::to_string(i), to, error);
    if (error) return false;
    AddFile(out->loose, file, to);
  }
  out->database_zip = work + "/database (QVX).zip";
  return WriteDatabase(out->database_zip, out->records);
}

namespace {

// Links count of from's files, from first on, into collection's folder (copies where links
// are refused) and counts them into collection.
bool LinkFiles(const Collection& from, size_t first, size_t count, Collection& collection) {
  for (size_t i = first; i < first + count; ++i) {
    const CollectionFile& file = from.files[i];
    std::string source = from.folder + "/" + file.name, to = collection.folder + "/" + file.name;
    std::error_code error;
    if (link(source.c_str(), to.c_str()) != 0 && !fs::copy_file(source, to, error)) return false;
    AddFile(collection, file, to);
  }
  return true;
}

// An empty collection in a new folder.
bool NewCollection(const std::string& folder, Collection* out) {
  *out = Collection();
  out->folder = folder;
  std::error_code error;
  return fs::create_directory(folder, error);
}

}  // namespace

bool LinkCollection(const Collection& collection, const std::string& to_folder) {
  Collection copy;
  return NewCollection(to_folder, &copy) && LinkFiles(collection, 0, collection.files.size(), copy);
}

bool MakeScalePairs(const ScanWorkload& workload, const std::string& work, ScalePair* zip_pair,
                    ScalePair* loose_pair) {
  const Collection& zips = workload.zips;
  loose_pair->large = workload.loose;
  if (!NewCollection(work + "/scale-zips", &zip_pair->large) ||
      !NewCollection(work + "/scale-zips-small", &zip_pair->small) ||
      !NewCollection(work + "/scale-loose-small", &loose_pair->small) ||
      !LinkFiles(workload.loose, 0, workload.loose.files.size() / 10, loose_pair->small))
    return false;
  // New images of the zip collection's kind, from tags its own images never took, each with a
  // CRC no record has, so the database lacks them all.
  std::set<std::string> records;
  for (const DatRom& record : workload.records) records.insert(record.crc);
  ImageMaker images{Image(kZipMemberSeed, kZipMemberSize), &records, 1u << 31};
  std::string crc;
  for (size_t i = 0; i < 10 * zips.files.size(); ++i) {
    if (i % 10 == 0) {
      if (!LinkFiles(zips, i / 10, 1, zip_pair->large)) return false;
      continue;
    }
    char name[64];
    snprintf(name, sizeof name, "unlisted %05zu.zip", i);
    std::string path = zip_pair->large.folder + "/" + name;
    if (!WriteZipOf(path, images.Next(&crc))) return false;
    AddFile(zip_pair->large, {name, -1, false}, path);
  }
  return LinkFiles(zip_pair->large, 0, zips.files.size(), zip_pair->small);
}

}  // namespace bench
