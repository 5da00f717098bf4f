// The engine's own test infections: how each one is laid out in a file, and
// how a repairable one gives back the original.  samples.h makes them.
//
// Each marker below is a 16-byte pattern of signatures.h; numbers are 32-bit
// little-endian.
//
//   CvTest.Cloak   repairable (report 0).  A 64-byte header put in front of
//                  the original: marker, original size, CRC-32 of the
//                  original, 40 bytes of body.  Recognised by its marker at
//                  offset 0; repair drops the header.
//   CvTest.Mender  repairable (report 0).  Overwrites the first 32 bytes (all
//                  of a shorter original) with a stub (marker, 16 bytes of
//                  body) and appends a 64-byte trailer: the 32 displaced
//                  bytes (zero-padded), their count, the original size, its
//                  CRC-32, 4 zero bytes, the tail marker.  Recognised by its
//                  stub at offset 0; repair puts the displaced bytes back and
//                  cuts the stub's leftovers and the trailer.
//   CvTest.Smear   cannot be repaired (report 1, deleted).  A 48-byte body
//                  (marker, 32 bytes) written over the start of the file,
//                  destroying what was there.
//   CvTest.Morph   this version cannot treat it (report 2, deleted).  A
//                  48-byte body inserted in the middle of the file.
//   CvTest.Inert   left alone (report 3; treatment changes nothing and
//                  returns 3).  A 48-byte body appended to the file.
//   EICAR-Test-File  the standard 68-byte test string at the start of a file
//                  of at most 128 bytes, followed only by white space
//                  (report 1, deleted).
//
// Infections nest: infecting an infected file wraps it, and the outer layer
// is the one found first.  Cloak and Mender always sit at offset 0, so a file
// whose head is theirs is treated for that layer first; the others count
// from their first occurrence anywhere.  A Cloak or Mender head whose layout
// does not check out (a cut or damaged file) is reported as untreatable
// (report 2, deleted).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "repair.h"

constexpr size_t kCloakHeaderSize = 64;
constexpr size_t kCloakSizeAt = 16;
constexpr size_t kCloakCrcAt = 20;

constexpr size_t kMenderStubSize = 32;
constexpr size_t kMenderTrailerSize = 64;
constexpr size_t kMenderSavedAt = 0;
constexpr size_t kMenderCountAt = 32;
constexpr size_t kMenderSizeAt = 36;
constexpr size_t kMenderCrcAt = 40;
constexpr size_t kMenderTailAt = 48;

constexpr size_t kBodySize = 48;
constexpr size_t kEicarMaxFileSize = 128;

// Recognising a layer from what a scan keeps of a file: its size, its first
// bytes (`head`, the whole file when it is short) and its last bytes (`tail`).
bool IsEicarFile(const unsigned char* head, size_t headSize, uint64_t size);
// True when the header at the head of the file checks out; fills `plan`.
bool ReadCloakLayer(const unsigned char* head, size_t headSize, uint64_t size, RepairPlan* plan);
// True when the trailer at the tail of the file checks out; fills `plan`.
bool ReadMenderLayer(const unsigned char* tail, size_t tailSize, uint64_t size, RepairPlan* plan);
