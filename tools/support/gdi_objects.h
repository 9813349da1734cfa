// Counting a process's live GDI objects, to see that nothing leaks. GetGuiResources answers 0
// under Wine, so this reads the process's GDI handle table (where its PEB's
// GdiSharedHandleTable points) as Wine 8 lays it out.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

namespace support {

// The type byte of a handle-table entry.
enum class GdiObjectType : BYTE {
  Dc = 0x01,
  Region = 0x04,
  Palette = 0x08,
  Bitmap = 0x09,
  Font = 0x0a,
  Brush = 0x10,
  Pen = 0x30,
  MemoryDc = 0x41,
  ExtPen = 0x50,
};

struct GdiObjectCounts {
  std::array<int, 256> byType{};  // indexed by the type byte
  int total = 0;
  int Of(GdiObjectType type) const { return byType[static_cast<BYTE>(type)]; }
};

// Live objects of `process` (GetCurrentProcess() for our own), counted by type. The process
// must be of our own bitness and opened with PROCESS_QUERY_INFORMATION and PROCESS_VM_READ
// (a handle from CreateProcess has both). Empty when the table cannot be read.
std::optional<GdiObjectCounts> CountGdiObjects(HANDLE process);

}  // namespace support
