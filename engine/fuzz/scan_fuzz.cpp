// Identification and repair of arbitrary files.  The first input byte picks
// a test infection to wrap the rest in (or none), the next two a byte to
// damage afterwards and the piece size to read in; the finding must not
// depend on the piece size, and a repair that succeeds must give exactly the
// planned size with the recorded CRC.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/samples.h"
#include "engine/scanner.h"

namespace {

Finding Scan(const SignatureSet& signatures, const std::string& file, size_t piece) {
  MemoryReader reader(file);
  std::string buffer(piece, '\0');
  Finding finding;
  if (!ScanStream(signatures, reader, reinterpret_cast<unsigned char*>(&buffer[0]), piece, &finding)) std::abort();
  return finding;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SignatureSet signatures;
  static bool built = signatures.Build();
  if (!built || size < 3) return 0;
  std::string file(reinterpret_cast<const char*>(data + 3), size - 3);
  switch (data[0] % 8) {
    case 1: file = InfectCloak(file); break;
    case 2: file = InfectMender(file); break;
    case 3: file = InfectSmear(file); break;
    case 4: file = InfectMorph(file); break;
    case 5: file = InfectInert(file); break;
    case 6: file = InfectMender(InfectCloak(file)); break;
    case 7: file = MakeEicarFile(file.substr(0, 60)); break;
  }
  if (data[0] & 0x80 && !file.empty()) file[data[1] % file.size()] ^= static_cast<char>(1 + (data[0] & 0x3F));
  size_t piece = 1 + data[2] % 97;

  Finding whole = Scan(signatures, file, 65536);
  Finding pieces = Scan(signatures, file, piece);
  if ((whole.name == nullptr) != (pieces.name == nullptr)) std::abort();
  if (whole.name && std::strcmp(whole.name, pieces.name) != 0) std::abort();
  if (whole.report != pieces.report || whole.fileSize != file.size()) std::abort();
  if (whole.treatment != Treatment::Repair) return 0;
  if (whole.plan.headSize != pieces.plan.headSize ||
      std::memcmp(whole.plan.head, pieces.plan.head, whole.plan.headSize) != 0 ||
      whole.plan.copyFrom != pieces.plan.copyFrom || whole.plan.copyLength != pieces.plan.copyLength ||
      whole.plan.crc != pieces.plan.crc) {
    std::abort();
  }
  MemoryReader reader(file);
  StringWriter writer;
  unsigned char buffer[61];
  if (WriteRepaired(whole.plan, reader, writer, buffer, sizeof buffer)) {
    if (writer.bytes.size() != whole.plan.Size()) std::abort();
    if (Crc32(0, writer.bytes.data(), writer.bytes.size()) != whole.plan.crc) std::abort();
    // Undamaged wrappings give back exactly what was wrapped.
    if (!(data[0] & 0x80) && (data[0] % 8 == 1 || data[0] % 8 == 2) &&
        writer.bytes != std::string(reinterpret_cast<const char*>(data + 3), size - 3)) {
      std::abort();
    }
  }
  return 0;
}
