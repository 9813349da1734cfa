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
// Where the PEB keeps the table's address.
constexpr size_t kPebGdiSharedHandleTable = sizeof(void*) == 8 ? 0xF8 : 0x94;

bool Read(HANDLE process, const void* address, void* into, size_t bytes) {
  SIZE_T done = 0;
  return ::ReadProcessMemory(process, address, into, bytes, &done) && done == bytes;
}

const void* HandleTableOf(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (!NT_SUCCESS(::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr)))
    return nullptr;
  const void* table = nullptr;
  const auto* field = reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kPebGdiSharedHandleTable;
  if (!Read(process, field, &table, sizeof table)) return nullptr;
  return table;
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
  if (::GetProcessId(process) == ::GetCurrentProcessId())
    return Count(static_cast<const HandleEntry*>(table));
  std::vector<HandleEntry> copy(kHandleCount);
  if (!Read(process, table, copy.data(), copy.size() * sizeof(HandleEntry))) return std::nullopt;
  return Count(copy.data());
}

}  // namespace support
