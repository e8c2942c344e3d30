// workloads.cpp: writing the benchmark's collections and database from fixed seeds.
#include "tools/bench/workloads.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unordered_set>

#include "tools/zip_writer.h"

namespace bench {

std::string RandomBytes(size_t size, uint64_t seed) {
  Random random(seed);
  std::string bytes(size, '\0');
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word = random.Next();
    memcpy(&bytes[i], &word, 8);
  }
  for (; i < size; ++i) bytes[i] = static_cast<char>(random.Next());
  return bytes;
}

uint32_t ZlibCrc(const std::string& bytes) {
  // In slices: zlib's length argument is 32 bits.
  uLong crc = crc32(0, nullptr, 0);
  for (size_t at = 0; at < bytes.size(); at += 1u << 30) {
    size_t length = std::min(bytes.size() - at, size_t{1} << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(length));
  }
  return static_cast<uint32_t>(crc);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

int64_t FileSize(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

std::string SystemPath(std::string native_path) {
  std::replace(native_path.begin(), native_path.end(), '/', '\\');
  return native_path;
}

Sizes FullSizes() { return {0, 8000, 500, 2u << 20, 8096, 5, 5}; }
// A few seconds in all: enough to run every row once.
Sizes QuickSizes() { return {1, 200, 20, 256u << 10, 1024, 1, 1}; }

namespace {

const char* const kWords[] = {"Lantern", "Valley", "Moss",    "Marrow",  "Harbour", "Quest",
                              "Ember",   "Drift",  "Saffron", "Citadel", "Tundra",  "Racer",
                              "Hollow",  "Legend", "Pixel",   "Thunder", "Orchard", "Comet"};
const char* const kCountries[] = {"U", "E", "J", "X", "G", "F", "S", "I"};
const char* const kGroups[] = {"Vellum", "Eurasia",    "Trashman",
                               "Mode7",  "Rising Sun", "Lightforce"};

template <size_t N>
const char* Pick(const char* const (&list)[N], Random& random) {
  return list[random.Below(N)];
}

// A record of about 40 characters of name, realistic in length and shape.
DatRecord MakeRecord(uint32_t crc, int serial, Random& random) {
  DatRecord record;
  char text[256];
  snprintf(text, sizeof text, "%08x", crc);
  record.crc = text;
  record.size = static_cast<int32_t>((4u << 20) << random.Below(4));
  std::string title = std::string(Pick(kWords, random)) + " " + Pick(kWords, random) + " " +
                      Pick(kWords, random) + " " + Pick(kWords, random);
  snprintf(text, sizeof text, "%s %04d (%s)", title.c_str(), serial, Pick(kCountries, random));
  record.name = text;
  uint32_t kind = random.Below(20);
  record.category = kind < 16 ? "Roms" : kind == 16 ? "Beta" : kind == 17 ? "Pirate" : "Alt";
  record.group = Pick(kGroups, random);
  record.friendly_name = title;
  std::string scene = title;
  std::replace(scene.begin(), scene.end(), ' ', '_');
  snprintf(text, sizeof text, "%04d_%s_%s", serial, scene.c_str(), record.group.c_str());
  record.scene_name = text;
  return record;
}

// A new image per call whose CRC no earlier image or record has: a fixed random base with a
// four-byte tag, which changes the CRC for every tag of one length.
class ImageMaker {
 public:
  ImageMaker(size_t size, uint64_t seed, std::unordered_set<uint32_t>* taken)
      : base_(RandomBytes(size, seed)), taken_(taken) {}
  std::string Next(uint32_t* crc) {
    std::string image = base_;
    do {
      uint32_t tag = tag_++;
      memcpy(&image[0], &tag, std::min(image.size(), sizeof tag));
      *crc = ZlibCrc(image);
    } while (!taken_->insert(*crc).second);
    return image;
  }

 private:
  std::string base_;
  std::unordered_set<uint32_t>* taken_;
  uint32_t tag_ = 0;
};

bool IsUnknown(int i) { return i % 20 == 19; }

// Names file i of a collection after its record (or as unknown) and counts it in.
CollectionFile NameFile(Collection& collection, int i, int record,
                        const std::vector<DatRecord>& records, const char* ext) {
  CollectionFile file{"", record, false};
  char name[64];
  if (record >= 0) {
    file.wrong_name = i % 2 == 1;
    snprintf(name, sizeof name, "dump %05d.%s", i, ext);
    file.name = file.wrong_name ? name : records[static_cast<size_t>(record)].name + "." + ext;
    ++collection.known;
    if (file.wrong_name) ++collection.wrong_names;
  } else {
    snprintf(name, sizeof name, "unknown %05d.%s", i, ext);
    file.name = name;
    ++collection.unknown;
  }
  return file;
}

// Shuffles the crcs into table order and makes a record of each; returns for every crc (in
// the order given) its record's index.
std::vector<int> MakeRecords(const std::vector<uint32_t>& crcs, Random& random,
                             std::vector<DatRecord>* records) {
  std::vector<int> crc_at(crcs.size());
  for (size_t i = 0; i < crc_at.size(); ++i) crc_at[i] = static_cast<int>(i);
  for (size_t i = crc_at.size(); i > 1; --i)
    std::swap(crc_at[i - 1], crc_at[random.Below(static_cast<uint32_t>(i))]);
  std::vector<int> record_of(crcs.size());
  records->clear();
  for (size_t p = 0; p < crc_at.size(); ++p) {
    size_t c = static_cast<size_t>(crc_at[p]);
    record_of[c] = static_cast<int>(p);
    records->push_back(MakeRecord(crcs[c], static_cast<int>(p) + 1, random));
    char number[32];
    snprintf(number, sizeof number, "%04zu", p + 1);
    records->back().number = number;
  }
  return record_of;
}

}  // namespace

bool MakeScanWorkload(const Sizes& sizes, const std::string& work, ScanWorkload* out) {
  std::unordered_set<uint32_t> taken;
  // Images first, since the database is made from their CRCs: the zips' members kept in
  // memory (a kilobyte each), the loose images written under a temporary name at once (500
  // of them held would be a gigabyte).
  ImageMaker zip_images(1024, 11, &taken), loose_images(sizes.loose_size, 12, &taken);
  std::vector<std::string> members;
  std::vector<uint32_t> crcs;  // known images: zips, then loose images
  for (int i = 0; i < sizes.zips; ++i) {
    uint32_t crc;
    members.push_back(zip_images.Next(&crc));
    if (!IsUnknown(i)) crcs.push_back(crc);
  }
  size_t known_zips = crcs.size();
  out->loose.folder = work + "/loose";
  if (!MakeFolder(out->loose.folder)) return false;
  for (int i = 0; i < sizes.loose; ++i) {
    uint32_t crc;
    if (!WriteBytes(out->loose.folder + "/pending " + std::to_string(i), loose_images.Next(&crc)))
      return false;
    if (!IsUnknown(i)) crcs.push_back(crc);
  }
  if (static_cast<int>(crcs.size()) > sizes.database_records) return false;
  // The rest of the database: records of images nobody has.
  Random random(13);
  while (static_cast<int>(crcs.size()) < sizes.database_records) {
    uint32_t crc = static_cast<uint32_t>(random.Next());
    if (taken.insert(crc).second) crcs.push_back(crc);
  }
  std::vector<int> record_of = MakeRecords(crcs, random, &out->records);

  size_t next = 0;  // the next known image's place in crcs
  out->zips.folder = work + "/zips";
  if (!MakeFolder(out->zips.folder)) return false;
  for (int i = 0; i < sizes.zips; ++i) {
    int record = IsUnknown(i) ? -1 : record_of[next++];
    CollectionFile file = NameFile(out->zips, i, record, out->records, "zip");
    std::string path = out->zips.folder + "/" + file.name;
    if (!WriteZipArchive(path, {{"image.gba", members[static_cast<size_t>(i)], false}}))
      return false;
    out->zips.bytes += FileSize(path);
    out->zips.files.push_back(file);
  }
  next = known_zips;
  for (int i = 0; i < sizes.loose; ++i) {
    int record = IsUnknown(i) ? -1 : record_of[next++];
    CollectionFile file = NameFile(out->loose, i, record, out->records, "gba");
    std::string from = out->loose.folder + "/pending " + std::to_string(i);
    std::string to = out->loose.folder + "/" + file.name;
    if (rename(from.c_str(), to.c_str()) != 0) return false;
    out->loose.bytes += FileSize(to);
    out->loose.files.push_back(file);
  }
  out->database_zip = work + "/database (QVX).zip";
  return WriteZipArchive(out->database_zip, {{"database.dat", DatText(out->records), true}});
}

std::string DatText(const std::vector<DatRecord>& records) {
  std::string dat =
      "[QVXDAT]\r\n[COMMENT]\r\nTarnwick GBA benchmark database, generated from fixed seeds.\r\n"
      "[ROMS]\r\n";
  for (const DatRecord& r : records) {
    dat += r.crc + ":" + std::to_string(r.size) + ":" + r.name + ":" + r.number + ":" + r.category +
           ":" + r.group + ":" + r.friendly_name + ":" + r.scene_name + "\r\n";
  }
  return dat + "[END]\r\n";
}

bool LinkCollection(const Collection& collection, const std::string& to_folder) {
  if (!MakeFolder(to_folder)) return false;
  for (const CollectionFile& file : collection.files) {
    std::string from = collection.folder + "/" + file.name, to = to_folder + "/" + file.name;
    if (link(from.c_str(), to.c_str()) == 0) continue;
    std::error_code error;
    if (!std::filesystem::copy_file(from, to, error)) return false;
  }
  return true;
}

}  // namespace bench
