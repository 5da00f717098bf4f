// Path text of the product's programs: folders and ".." resolution, with
// Korean names.
#include "product/logic/product_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderOf, CutsAtTheLastBackslashAndKeepsADriveRoot) {
  EXPECT_EQ("C:\\Program Files\\Corvane", FolderOf("C:\\Program Files\\Corvane\\Unsetup.exe"));
  EXPECT_EQ("C:\\", FolderOf("C:\\Unsetup.exe"));
  EXPECT_EQ("", FolderOf("Unsetup.exe"));
  EXPECT_EQ("Unsetup.exe", NameOf("C:\\Program Files\\Corvane\\Unsetup.exe"));
  EXPECT_EQ("코르바네™ for Win9X", NameOf("C:\\windows\\Start Menu\\Programs\\코르바네™ for Win9X"));
}

TEST(CollapseDots, ResolvesParentsAsSetupBuildsTheFixedLinks) {
  EXPECT_EQ("C:\\windows\\Start Menu\\코르바네.LNK",
            CollapseDots("C:\\windows\\Start Menu\\Programs\\코르바네™ for Win9X\\..\\..\\코르바네.LNK"));
  EXPECT_EQ("C:\\A\\X", CollapseDots("C:\\A\\.\\B\\..\\X"));
  EXPECT_EQ("C:\\A", CollapseDots("C:\\A\\"));
  EXPECT_EQ("C:\\A\\B", CollapseDots("C:\\A\\\\B"));
}

TEST(CollapseDots, StopsAtTheRoot) {
  EXPECT_EQ("C:\\X", CollapseDots("C:\\A\\..\\..\\..\\X"));
  EXPECT_EQ("C:\\", CollapseDots("C:\\A\\.."));
  EXPECT_EQ("\\\\server\\share\\X", CollapseDots("\\\\server\\share\\A\\..\\..\\X"));
}

}  // namespace
