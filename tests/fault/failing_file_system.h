// failing_file_system.h: the platform's file layer with one chosen operation made to fail, so
// tests can prove that a failure at any point loses nothing and is reported as a failure.
#pragma once

enum class Fault {
  kOpen,           // OpenFile gives nullptr
  kWrite,          // a write of a stream reaches the disk in part, then the disk is full
  kClose,          // CloseFile or FlushFile fails; what was still buffered is lost
  kMove,           // MovePath or ReplacePath fails and changes nothing
  kMakeDirectory,  // MakeDirectory fails
  kRemove,         // RemovePath fails and the file stays
  kResize,         // ResizeFile fails and the file keeps its size
  kList,           // OpenFolderListing gives nullptr
};
constexpr int kFaultKinds = 8;
const char* FaultName(Fault kind);

// Counts operations of every kind from zero and disarms any fault.
void ResetFaults();
// Makes the n-th operation of kind from now (1 for the next) fail; every other one works.
// With from_then_on, every later operation of that kind fails too, as on a disk that is full.
void ArmFault(Fault kind, int n, bool from_then_on = false);
// Operations of kind since the last reset, the failed one included.
int FaultCount(Fault kind);
// True once the armed fault has happened.
bool FaultFired();
