// The registered versions of a type library: the hexadecimal key names and which versions a
// program of each bitness can load.

#include "host/type_libraries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace host {
namespace {

TEST(VersionKey, IsHexadecimalMajorDotMinor) {
  EXPECT_EQ(ParseVersionKey(u"9.5"), (LibraryVersion{9, 5}));
  EXPECT_EQ(ParseVersionKey(u"a.0"), (LibraryVersion{10, 0}));
  EXPECT_EQ(ParseVersionKey(u"1.10"), (LibraryVersion{1, 16}));
  EXPECT_EQ(ParseVersionKey(u"2.B"), (LibraryVersion{2, 11}));
  EXPECT_EQ(ParseVersionKey(u"A.F"), (LibraryVersion{10, 15}));
  EXPECT_EQ(ParseVersionKey(u"ffff.ffff"), (LibraryVersion{65535, 65535}));
  for (const char16_t* bad :
       {u"", u"9", u"9.", u".5", u"g.0", u"9.5.1", u"10000.0", u"9,5", u" 9.5", u"-1.0", u"FLAGS"})
    EXPECT_EQ(ParseVersionKey(bad), std::nullopt) << ToUtf8(bad);
}

TEST(VersionKey, IsShownInDecimal) {
  EXPECT_EQ(DecimalVersion({10, 0}), u"10.0");
  EXPECT_EQ(DecimalVersion({1, 16}), u"1.16");
}

RegisteredVersion Version(LibraryVersion version, std::vector<TypeLibraryLocale> locales) {
  return {version, u"Library " + DecimalVersion(version), std::move(locales)};
}

TypeLibraryLocale Both(const char16_t* lcid, bool win32Exists, bool win64Exists) {
  return {lcid, TypeLibraryFile{u"C:\\x86.tlb", win32Exists},
          TypeLibraryFile{u"C:\\x64.olb", win64Exists}};
}

std::vector<LibraryVersion> Versions(const std::vector<RegisteredVersion>& loadable) {
  std::vector<LibraryVersion> versions;
  for (const auto& v : loadable) versions.push_back(v.version);
  return versions;
}

TEST(Loadable, NewestFirstAmongThoseWithAFileOfTheProgramsBitness) {
  const std::vector<RegisteredVersion> registered{
      Version({9, 4}, {Both(u"0", false, true)}),
      Version({1, 16}, {Both(u"0", true, true)}),
      Version({10, 0}, {Both(u"0", true, false)}),  // a.0: the 32-bit file only
      Version({9, 5}, {Both(u"0", false, true)}),
  };
  EXPECT_THAT(
      Versions(Loadable(registered, Bitness::Win64)),
      ::testing::ElementsAre(LibraryVersion{9, 5}, LibraryVersion{9, 4}, LibraryVersion{1, 16}));
  EXPECT_THAT(Versions(Loadable(registered, Bitness::Win32)),
              ::testing::ElementsAre(LibraryVersion{10, 0}, LibraryVersion{1, 16}));
}

TEST(Loadable, AnyLocaleWithAFileWillDo) {
  const std::vector<RegisteredVersion> registered{
      Version({2, 0}, {Both(u"0", false, false), Both(u"409", false, true)}),
      Version({3, 0}, {Both(u"407", false, false)}),
      // A locale with no key for this bitness at all.
      Version({4, 0}, {{u"0", TypeLibraryFile{u"C:\\x86.tlb", true}, std::nullopt}}),
      Version({5, 0}, {}),
  };
  EXPECT_THAT(Versions(Loadable(registered, Bitness::Win64)),
              ::testing::ElementsAre(LibraryVersion{2, 0}));
  EXPECT_THAT(Versions(Loadable(registered, Bitness::Win32)),
              ::testing::ElementsAre(LibraryVersion{4, 0}));
}

}  // namespace
}  // namespace host
