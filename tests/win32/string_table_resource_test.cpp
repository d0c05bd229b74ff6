// The module's STRINGTABLE is generated from the same text file as the
// core's table: every text must come back from LoadStringW exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "strings/string_table.h"

namespace qm {
namespace {

TEST(StringTableResource, EveryTextMatchesTheCoreTable) {
  int count = 0;
  for (const StringTableEntry* e = StringTableBegin(); e != StringTableEnd(); ++e) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, which is not terminated.
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr),
                                     static_cast<UINT>(e->id),
                                     reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_GT(length, 0) << "string " << e->id << " is missing";
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text),
                             static_cast<std::size_t>(length)),
              e->text)
        << "string " << e->id;
    ++count;
  }
  EXPECT_GT(count, 50);
  // An id the table lacks is no resource either.
  wchar_t buffer[8];
  EXPECT_EQ(::LoadStringW(::GetModuleHandleW(nullptr), 123, buffer, 8), 0);
}

}  // namespace
}  // namespace qm
