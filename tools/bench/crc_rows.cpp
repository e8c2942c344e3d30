// crc_rows.cpp: CRC-32 throughput of loose images of 4 to 32 MiB, against zlib's crc32() and
// against reading the same files to nowhere; and of the CRC alone, in memory.
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "scanner/crc32.h"
#include "tools/bench/sections.h"

namespace bench {

bool RunCrcRows(const Context& context) {
  std::string folder = context.work + "/crc";
  std::error_code error;
  if (!Check(std::filesystem::create_directory(folder, error), "cannot make " + folder))
    return false;
  for (int mib : {4, 8, 16, 32}) {
    // 64 MiB of each size in a full run, so every size reads the same bytes.
    int count = context.sizes.crc_files_per_size > 0 ? context.sizes.crc_files_per_size : 64 / mib;
    std::vector<std::string> files;
    std::vector<unsigned long> expected;
    double bytes = 0;
    for (int k = 0; k < count; ++k) {
      std::string path = folder + "/" + std::to_string(mib) + "-" + std::to_string(k) + ".gba";
      std::string image = Image(1000 * mib + k, static_cast<size_t>(mib) << 20);
      if (!Check(WriteFile(path, image), "cannot write " + path)) return false;
      files.push_back(path);
      expected.push_back(strtoul(CrcKey(image).c_str(), nullptr, 16));
      bytes += static_cast<double>(image.size());
    }
    for (const std::string& path : files) ReadToNowhere(path);  // into the page cache

    bool right = true;
    double ours = MedianMs(context.sizes.fast_reps, [&] {
      for (size_t i = 0; i < files.size(); ++i) {
        FILE* file = fopen(files[i].c_str(), "rb");
        right &= file != nullptr && CrcOfStream(file) == expected[i];
        if (file != nullptr) fclose(file);
      }
    });
    double zlib = MedianMs(context.sizes.fast_reps, [&] {
      for (size_t i = 0; i < files.size(); ++i) {
        unsigned long crc = crc32(0, nullptr, 0);
        right &= ReadToNowhere(files[i], &crc) >= 0 && crc == expected[i];
      }
    });
    double read = MedianMs(context.sizes.fast_reps, [&] {
      for (const std::string& path : files) ReadToNowhere(path);
    });
    if (!Check(right, "CRC-32 of a " + std::to_string(mib) + " MiB image differs from zlib's"))
      return false;
    std::string workload =
        "CRC-32, " + std::to_string(count) + " x " + std::to_string(mib) + " MiB images";
    PrintRow({workload, MegabytesPerSecond(bytes, ours), "MB/s", "zlib crc32(), 64 KiB freads",
              MegabytesPerSecond(bytes, zlib), "<= 0.4"});  // 2.5 times zlib's speed
    PrintRow({workload, MegabytesPerSecond(bytes, ours), "MB/s", "read to nowhere, 64 KiB freads",
              MegabytesPerSecond(bytes, read), ""});
    for (const std::string& path : files) remove(path.c_str());
  }
  // The CRC alone: 32 MiB of CRC over a 256 KiB block that stays in the cache, as a file's
  // 64 KiB blocks do, so neither reading nor memory bandwidth sets the pace.
  const std::string block = Image(99, 256u << 10);
  const auto* data = reinterpret_cast<const unsigned char*>(block.data());
  constexpr int kPasses = 128;
  uint32_t ours_crc = 0, zlib_crc = 0;
  double ours = MedianMs(context.sizes.fast_reps, [&] {
    for (int pass = 0; pass < kPasses; ++pass) ours_crc = libdeflate_crc32(0, data, block.size());
  });
  double zlib = MedianMs(context.sizes.fast_reps, [&] {
    for (int pass = 0; pass < kPasses; ++pass)
      zlib_crc = static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(block.size())));
  });
  if (!Check(ours_crc == zlib_crc, "CRC-32 in memory differs from zlib's")) return false;
  double bytes = static_cast<double>(block.size()) * kPasses;
  PrintRow({"CRC-32 in cache, 128 x 256 KiB (libdeflate)", MegabytesPerSecond(bytes, ours), "MB/s",
            "zlib crc32(), same block", MegabytesPerSecond(bytes, zlib), "<= 0.4"});
  return true;
}

}  // namespace bench
