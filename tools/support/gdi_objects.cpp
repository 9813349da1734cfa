#include "support/gdi_objects.h"

#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace support {
namespace {

// Wine 8's GDI_HANDLE_ENTRY: the same 24 bytes on 32- and 64-bit.
#pragma pack(push, 1)
struct HandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;  // 0 once the object is deleted
  uint8_t flags;
  uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(HandleEntry) == 24);

constexpr size_t kHandleCount = 0x10000;
// Where a 64-bit PEB keeps the table's address.
constexpr size_t kPeb64GdiSharedHandleTable = 0xF8;
// A 32-bit process under Wine 8 leaves its own PEB's field (0x94) empty and fills in the 64-bit
// PEB's, which lies one page below the 32-bit one (measured).
constexpr size_t kPeb32GdiSharedHandleTable = 0x94;
constexpr size_t kPeb64BelowPeb32 = 0x1000;

bool Read(HANDLE process, const void* address, void* into, size_t bytes) {
  SIZE_T done = 0;
  return ::ReadProcessMemory(process, address, into, bytes, &done) && done == bytes;
}

const void* HandleTableOf(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (!NT_SUCCESS(::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr)))
    return nullptr;
  const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
  uint64_t table = 0;
  if constexpr (sizeof(void*) == 4) {
    uint32_t own = 0;
    if (Read(process, peb + kPeb32GdiSharedHandleTable, &own, sizeof own) && own)
      return reinterpret_cast<const void*>(static_cast<uintptr_t>(own));
    peb -= kPeb64BelowPeb32;
  }
  if (!Read(process, peb + kPeb64GdiSharedHandleTable, &table, sizeof table)) return nullptr;
  return reinterpret_cast<const void*>(static_cast<uintptr_t>(table));
}

GdiObjectCounts Count(const HandleEntry* entries) {
  GdiObjectCounts counts;
  for (size_t i = 0; i < kHandleCount; ++i) {
    if (entries[i].type == 0) continue;
    ++counts.byType[entries[i].type];
    ++counts.total;
  }
  return counts;
}

}  // namespace

std::optional<GdiObjectCounts> CountGdiObjects(HANDLE process) {
  const void* table = HandleTableOf(process);
  if (!table) return std::nullopt;
  // A copy for our own process too: a table that is not where we think fails the read, not us.
  std::vector<HandleEntry> copy(kHandleCount);
  if (!Read(process, table, copy.data(), copy.size() * sizeof(HandleEntry))) return std::nullopt;
  return Count(copy.data());
}

}  // namespace support
