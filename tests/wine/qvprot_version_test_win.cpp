// QVProt.dll's version resource as Windows reports it to a host: German with
// code page 1252, the fixed file and product versions and the three texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class VersionTest : public testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("QVProt.dll"), path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    FInfo.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, FInfo.data()));
  }
  std::string Text(const char* Name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040704E4\\") + Name;
    if (!VerQueryValueA(FInfo.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
    return value;
  }
  std::vector<char> FInfo;
};

TEST_F(VersionTest, FixedPartHoldsVersion1100) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(FInfo.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

TEST_F(VersionTest, TextsAreGermanInCodePage1252) {
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(FInfo.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0407);
  EXPECT_EQ(translation[1], 1252);
  EXPECT_EQ(Text("FileDescription"), "Quorvale Protokltreiber");
  EXPECT_EQ(Text("FileVersion"), "1.1.0.0");
  EXPECT_EQ(Text("ProductVersion"), "1.0.0.0");
}

}  // namespace
