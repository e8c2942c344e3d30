// scan_cases.h: Scan, Rename and Move runs as rows (ROMs, files, mode, options) with what each
// leaves on disk, shared by the scan tests and the fault sweeps.
#pragma once

#include <string>
#include <vector>

// Lists are "; "-separated. Key K stands for the bytes "image K". Paths are relative to the
// program folder, "/"-joined; the folders src and dest always exist.
struct ScanCase {
  std::string name = "";
  // "Scan", "Rename" or "Move", then any of SUB, TYPE=n, NOLOG, TWICE, FROM=folder, TO=folder
  // (the path fields: src and dest unless given; "none" for empty; a drive root as it is).
  std::string run = "";
  std::string roms = "";   // "Name=K" or "Name=K|category|group"; "*Name=K" is owned already
  std::string files = "";  // "path=K", "path.zip=member:K,member:K" or "folder/"
  // What the folders hold afterwards, in the same notation, a folder named only when empty;
  // "=" for exactly the files given (all of them then in folders).
  std::string tree = "";
  std::string logs = "";      // "log.txt: line", any order; "@" is the program folder, "\"-joined
  std::string haves = "";     // the haves file's entries as keys, any order
  std::string progress = "";  // "14 28 ..."; not checked when empty
};

const std::vector<ScanCase>& ScanCases();
std::vector<std::string> List(const std::string& text);  // sorted

// Empties root and the window's record, then puts the row's ROMs in the table, with fresh
// options, and its files on disk.
void MakeScanCase(const ScanCase& c, const std::string& root);
// Runs the row in the main window from root as the working folder.
void RunScanCase(const ScanCase& c, const std::string& root);

// What is on disk under root's folders and in its logs and haves file, sorted, as rows say it.
std::vector<std::string> ScanTree(const std::string& root);
// Log lines with the program folder as "@"; a line without its end is marked.
std::vector<std::string> ScanLogs(const std::string& root);
std::vector<std::string> HaveKeys(const std::string& root);
