// workloads.cpp: writing the benchmark's collections and database from fixed seeds.
#include "tools/bench/workloads.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace bench {

Sizes FullSizes() { return {0, 8000, 500, 2u << 20, 8096, 5, 5}; }
// A few seconds in all: enough to run every row once.
Sizes QuickSizes() { return {1, 200, 50, 256u << 10, 1024, 1, 1}; }

namespace {

// mt19937's sequence is fixed by the standard, so every machine makes the same records.
using Random = std::mt19937;

const char* const kWords[] = {"Lantern", "Valley", "Moss",    "Marrow",  "Harbour", "Quest",
                              "Ember",   "Drift",  "Saffron", "Citadel", "Tundra",  "Racer",
                              "Hollow",  "Legend", "Pixel",   "Thunder", "Orchard", "Comet"};
const char* const kCountries[] = {"U", "E", "J", "X", "G", "F", "S", "I"};
const char* const kGroups[] = {"Vellum", "Eurasia",    "Trashman",
                               "Mode7",  "Rising Sun", "Lightforce"};

template <size_t N>
std::string Pick(const char* const (&list)[N], Random& random) {
  return list[random() % N];
}

// A record of about 40 characters of name, realistic in length and shape.
DatRom MakeRecord(const std::string& crc, int serial, Random& random) {
  char number[16];
  snprintf(number, sizeof number, "%04d", serial);
  std::string title = Pick(kWords, random);
  for (int word = 1; word < 4; ++word) title += " " + Pick(kWords, random);
  std::string name = title + " " + number + " (" + Pick(kCountries, random) + ")";
  long long size = (4ll << 20) << (random() % 4);
  unsigned kind = random() % 20;
  std::string category = kind < 16 ? "Roms" : kind == 16 ? "Beta" : kind == 17 ? "Pirate" : "Alt";
  std::string group = Pick(kGroups, random), scene = title;
  std::replace(scene.begin(), scene.end(), ' ', '_');
  return {crc, size, name, number, category, group, title, number + ("_" + scene) + "_" + group};
}

// A new image per call whose CRC no earlier image or record has: a fixed base with a
// four-byte tag, which changes the CRC for every tag of one length.
class ImageMaker {
 public:
  ImageMaker(size_t size, int seed, std::set<std::string>* taken)
      : base_(Image(seed, size)), taken_(taken) {}
  std::string Next(std::string* crc) {
    std::string image = base_;
    do {
      memcpy(&image[0], &tag_, std::min(image.size(), sizeof tag_));
      ++tag_;
      *crc = CrcKey(image);
    } while (!taken_->insert(*crc).second);
    return image;
  }

 private:
  std::string base_;
  std::set<std::string>* taken_;
  uint32_t tag_ = 0;
};

bool IsUnknown(int i) { return i % 20 == 19; }

// The zip collection's member: the base of its images, whose tag goes in the first bytes.
constexpr size_t kZipMemberSize = 1024;
constexpr int kZipMemberSeed = 11;

// Makes one-member stored zips fast: one zip made by the zip writer, its bytes kept, and per
// file its member's tag and both copies of the member's CRC patched, so that each file is a
// valid zip with its own CRC, written in one go. Creating the files is most of the cost still.
class ZipStamper {
 public:
  bool Begin(const std::string& scratch_path) {
    if (!WriteZip(scratch_path, {{"image.gba", Image(kZipMemberSeed, kZipMemberSize), false}}))
      return false;
    bytes_ = ReadFile(scratch_path);
    remove(scratch_path.c_str());
    // One stored member with its CRC in the local header (no data descriptor), then the
    // central directory and an end record without comment.
    if (bytes_.size() < 30 + kZipMemberSize + 46 + 22) return false;
    const size_t end = bytes_.size() - 22;
    if (bytes_.compare(0, 4, "PK\3\4") != 0 || (Get16(6) & 8) != 0 || Get16(8) != 0 ||
        Get32(18) != kZipMemberSize || bytes_.compare(end, 4, "PK\5\6") != 0)
      return false;
    data_at_ = 30 + Get16(26) + Get16(28);
    central_at_ = Get32(end + 16);
    return data_at_ + kZipMemberSize <= central_at_ && central_at_ + 46 <= end &&
           bytes_.compare(central_at_, 4, "PK\1\2") == 0;
  }
  // The zip whose member starts with tag; its member's CRC key in *crc.
  const std::string& Stamp(uint32_t tag, std::string* crc) {
    memcpy(&bytes_[data_at_], &tag, sizeof tag);
    uint32_t sum = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(&bytes_[data_at_]), kZipMemberSize));
    Put32(14, sum);
    Put32(central_at_ + 16, sum);
    char key[9];
    snprintf(key, sizeof key, "%08x", sum);
    *crc = key;
    return bytes_;
  }

 private:
  uint32_t Get16(size_t at) const {
    return static_cast<uint8_t>(bytes_[at]) | static_cast<uint8_t>(bytes_[at + 1]) << 8;
  }
  uint32_t Get32(size_t at) const { return Get16(at) | Get16(at + 2) << 16; }
  void Put32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<char>(value >> (8 * i));
  }
  std::string bytes_;
  size_t data_at_ = 0, central_at_ = 0;
};

// Names file i of a collection after its record (or as unknown) and counts it in.
CollectionFile NameFile(Collection& collection, int i, int record,
                        const std::vector<DatRom>& records, const char* ext) {
  CollectionFile file{"", record, record >= 0 && i % 2 == 1};
  char name[64];
  snprintf(name, sizeof name, "%s %05d.%s", record < 0 ? "unknown" : "dump", i, ext);
  bool named = record >= 0 && !file.wrong_name;
  file.name = named ? records[static_cast<size_t>(record)].name + "." + ext : name;
  ++(record >= 0 ? collection.known : collection.unknown);
  collection.wrong_names += file.wrong_name;
  return file;
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
  std::set<std::string> taken;
  // Images first, since the database is made from their CRCs: the zips' members kept in
  // memory (a kilobyte each), the loose images written under a temporary name at once (500
  // of them held would be a gigabyte).
  ImageMaker zip_images(kZipMemberSize, kZipMemberSeed, &taken),
      loose_images(sizes.loose_size, 12, &taken);
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
    if (taken.insert(crc = CrcKey("nobody's " + std::to_string(n))).second) crcs.push_back(crc);
  Random random(13);
  std::vector<int> record_of = MakeRecords(crcs, random, &out->records);

  size_t next = 0;  // the next known image's place in crcs
  for (int i = 0; i < sizes.zips; ++i) {
    CollectionFile file =
        NameFile(out->zips, i, IsUnknown(i) ? -1 : record_of[next++], out->records, "zip");
    std::string path = out->zips.folder + "/" + file.name;
    if (!WriteZip(path, {{"image.gba", members[static_cast<size_t>(i)], false}})) return false;
    out->zips.bytes += static_cast<int64_t>(fs::file_size(path));
    out->zips.files.push_back(file);
  }
  next = known_zips;
  for (int i = 0; i < sizes.loose; ++i) {
    CollectionFile file =
        NameFile(out->loose, i, IsUnknown(i) ? -1 : record_of[next++], out->records, "gba");
    std::string to = out->loose.folder + "/" + file.name;
    fs::rename(out->loose.folder + "/pending " + std::to_string(i), to, error);
    if (error) return false;
    out->loose.bytes += static_cast<int64_t>(fs::file_size(to));
    out->loose.files.push_back(file);
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
    collection.files.push_back(file);
    collection.bytes += static_cast<int64_t>(fs::file_size(to, error));
    ++(file.record >= 0 ? collection.known : collection.unknown);
    collection.wrong_names += file.wrong_name;
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

bool MakeZipScale(const ScanWorkload& workload, const std::string& work, ScalePair* out) {
  const Collection& zips = workload.zips;
  ZipStamper stamper;
  if (!NewCollection(work + "/scale-zips", &out->large) ||
      !NewCollection(work + "/scale-zips-small", &out->small) ||
      !stamper.Begin(work + "/stamp.zip"))
    return false;
  // The zip collection's images took the member's first tags, and a tag gives every image of
  // one length a CRC of its own, so tags from 2^31 on give new CRCs; those that match a record
  // are passed over, as the new images must stay unknown.
  std::set<std::string> records;
  for (const DatRom& record : workload.records) records.insert(record.crc);
  uint32_t tag = 1u << 31;
  std::string crc;
  for (size_t i = 0; i < 10 * zips.files.size(); ++i) {
    if (i % 10 == 0) {
      if (!LinkFiles(zips, i / 10, 1, out->large)) return false;
      continue;
    }
    const std::string* bytes;
    do {
      bytes = &stamper.Stamp(tag++, &crc);
    } while (records.count(crc) != 0);
    char name[64];
    snprintf(name, sizeof name, "unlisted %05zu.zip", i);
    if (!WriteFile(out->large.folder + "/" + name, *bytes)) return false;
    out->large.files.push_back({name, -1, false});
    out->large.bytes += static_cast<int64_t>(bytes->size());
    ++out->large.unknown;
  }
  return LinkFiles(out->large, 0, zips.files.size(), out->small);
}

bool MakeLooseScale(const ScanWorkload& workload, const std::string& work, ScalePair* out) {
  out->large = workload.loose;
  return NewCollection(work + "/scale-loose-small", &out->small) &&
         LinkFiles(workload.loose, 0, workload.loose.files.size() / 10, out->small);
}

}  // namespace bench
