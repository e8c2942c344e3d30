// zip_writer.h: small zip archives written with minizip, for the demo, the test fixtures and
// the fuzz seeds.
#pragma once

#include <string>
#include <vector>

struct ZipMember {
  std::string name;
  std::string data;
  bool deflate = true;  // stored when false
};

// Writes the members in order, with no time stamps, so the same members give the same bytes.
// false when any step failed.
bool WriteZipArchive(const std::string& path, const std::vector<ZipMember>& members);
