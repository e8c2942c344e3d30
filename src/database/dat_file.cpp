// dat_file.cpp: the database file into memory, and its format told from its content, in this
// one place: the readers never guess from a file name.
#include "database/dat_file.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "database/clrmamepro_dat.h"
#include "database/logiqx_dat.h"
#include "platform/file_system.h"
#include "platform/zip_file.h"

namespace {

// The first entry of an open zip, whole and checked; the zip is closed.
DatRead ReadFirstEntry(unzFile zip, char** dat, size_t* length) {
  // The 64-bit information: where uLong is 32 bits, the plain call would cut a zip64 claim
  // of 4 GiB and more to its low bits, and a dat of that cut size would load as a whole one.
  unz_file_info64 info;
  char entry_name[1024];
  if (unzGoToFirstFile(zip) != UNZ_OK ||
      unzGetCurrentFileInfo64(zip, &info, entry_name, sizeof(entry_name), nullptr, 0, nullptr, 0) !=
          UNZ_OK) {
    unzClose(zip);
    return DatRead::kUnreadable;
  }
  if (info.uncompressed_size > kMaxDatSize) {
    unzClose(zip);
    return DatRead::kTooLarge;
  }
  // The entry's own bytes, inflated here by libdeflate, twice as fast as minizip's zlib on a
  // dat of megabytes. A claim that deflate could not have made is refused unread: deflate
  // never grows data by more than a few bytes a block.
  size_t size = static_cast<size_t>(info.uncompressed_size);
  if (info.compressed_size > info.uncompressed_size + info.uncompressed_size / 8 + 1024) {
    unzClose(zip);
    return DatRead::kUnreadable;
  }
  size_t packed_size = static_cast<size_t>(info.compressed_size);
  int method = 0;
  if (unzOpenCurrentFile2(zip, &method, nullptr, 1) != UNZ_OK) {
    unzClose(zip);
    return DatRead::kUnreadable;
  }
  const bool stored = method == 0;
  char* buffer = static_cast<char*>(malloc(size + 1));
  char* packed = stored ? buffer : static_cast<char*>(malloc(packed_size + 1));
  DatRead result = buffer == nullptr || packed == nullptr ? DatRead::kTooLarge : DatRead::kRead;
  if (result == DatRead::kRead) {
    int got =
        packed_size == 0 ? 0 : unzReadCurrentFile(zip, packed, static_cast<unsigned>(packed_size));
    bool whole = got >= 0 && static_cast<size_t>(got) == packed_size;
    if (stored) {
      whole = whole && packed_size == size;
    } else if (whole && method == Z_DEFLATED) {
      libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
      size_t inflated = 0;
      whole = inflater != nullptr &&
              libdeflate_deflate_decompress(inflater, packed, packed_size, buffer, size,
                                            &inflated) == LIBDEFLATE_SUCCESS &&
              inflated == size;
      libdeflate_free_decompressor(inflater);
    } else {
      whole = false;  // a method that is neither stored nor deflated
    }
    // Read raw, the entry is not checked by minizip: its CRC is checked here.
    if (!whole || libdeflate_crc32(0, buffer, size) != info.crc) result = DatRead::kUnreadable;
  }
  unzCloseCurrentFile(zip);
  unzClose(zip);
  if (!stored) free(packed);
  if (result != DatRead::kRead) {
    free(buffer);
    return result;
  }
  *dat = buffer;
  *length = size;
  return DatRead::kRead;
}

// A plain file, read whole if it begins as a dat of today's formats. The first read is small,
// so a large file of another kind is refused without being read.
DatRead ReadPlainDat(const char* path, char** dat, size_t* length) {
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return DatRead::kUnreadable;
  size_t capacity = 64 * 1024, used = 0;
  char* buffer = static_cast<char*>(malloc(capacity + 1));
  DatRead result = buffer == nullptr ? DatRead::kTooLarge : DatRead::kRead;
  for (bool first = true; result == DatRead::kRead; first = false) {
    used += fread(buffer + used, 1, capacity - used, file);
    if (first && (used == 0 || SniffDatFormat(buffer, used) == DatFormat::kQvx)) {
      result = DatRead::kUnreadable;
    } else if (used == capacity) {
      if (capacity > kMaxDatSize) {
        result = DatRead::kTooLarge;
        break;
      }
      capacity = capacity * 4 > kMaxDatSize ? kMaxDatSize + 1 : capacity * 4;
      char* grown = static_cast<char*>(realloc(buffer, capacity + 1));
      if (grown == nullptr)
        result = DatRead::kTooLarge;
      else
        buffer = grown;
    } else {
      break;  // the end of the file, or a read error
    }
  }
  if (result == DatRead::kRead && ferror(file)) result = DatRead::kUnreadable;
  CloseFile(file);
  if (result != DatRead::kRead) {
    free(buffer);
    return result;
  }
  *dat = buffer;
  *length = used;
  return DatRead::kRead;
}

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

DatRead ReadDatabaseFile(const char* path, char** dat, size_t* length) {
  unzFile zip = OpenZip(path);
  return zip != nullptr ? ReadFirstEntry(zip, dat, length) : ReadPlainDat(path, dat, length);
}

DatFormat SniffDatFormat(const char* text, size_t length) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = at + length;
  // UTF-16 has a byte-order mark; the XML reader finds the rest from it.
  if (length >= 2 && ((at[0] == 0xFF && at[1] == 0xFE) || (at[0] == 0xFE && at[1] == 0xFF)))
    return DatFormat::kLogiqx;
  if (length >= 3 && at[0] == 0xEF && at[1] == 0xBB && at[2] == 0xBF) at += 3;
  for (;;) {
    while (at != end && IsBlank(*at)) ++at;
    if (end - at < 2 || at[0] != '/' || at[1] != '/') break;
    while (at != end && *at != '\n') ++at;  // a clrmamepro comment
  }
  if (at != end && *at == '<') return DatFormat::kLogiqx;
  const unsigned char* word = at;
  while (at != end && IsWordByte(*at)) ++at;
  size_t word_length = static_cast<size_t>(at - word);
  while (at != end && IsBlank(*at)) ++at;
  if (at == end || *at != '(') return DatFormat::kQvx;
  for (const char* block : {"clrmamepro", "game", "machine", "resource"})
    if (word_length == strlen(block) && memcmp(word, block, word_length) == 0)
      return DatFormat::kClrmamepro;
  return DatFormat::kQvx;
}

DatParse ParseDatabase(char* text, size_t length, DatRecordHook hook, void* context,
                       DatError* error) {
  switch (SniffDatFormat(text, length)) {
    case DatFormat::kLogiqx:
      return ParseLogiqxDat(text, length, hook, context, error);
    case DatFormat::kClrmamepro:
      return ParseClrmameproDat(text, length, hook, context, error);
    case DatFormat::kQvx:
      break;
  }
  return ParseDat(text, length, hook, context) ? DatParse::kParsed : DatParse::kNotADat;
}
