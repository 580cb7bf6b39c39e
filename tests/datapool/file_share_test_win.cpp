// Windows only: the data file is open for one opener at a time, for loading
// and for saving alike, as the program's share mode asks of the system.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "qvdp_all.h"
#include "stream.h"

TEST(FileShare, AnOpenDataFileIsSharedWithNobody) {
  const std::string name = testing::TempDir() + "file_share_test.qvd";
  TQVDP_ALL pools;
  ASSERT_TRUE(pools.SaveToFile(name)) << pools.ErrorText();
  {
    TFileStream reading(name, fmOpenRead);
    EXPECT_THROW(TFileStream(name, fmOpenRead), EFileStreamError);
    EXPECT_FALSE(pools.LoadFromFile(name));
    EXPECT_EQ(pools.ErrorText(), "Datei " + name + " kann nicht ge\xF6" "ffnet werden");
    EXPECT_FALSE(pools.SaveToFile(name)) << "an open data file is not replaced";
  }
  EXPECT_TRUE(pools.LoadFromFile(name)) << pools.ErrorText();
  std::remove(name.c_str());
  std::remove((name + ".tmp").c_str());
}
