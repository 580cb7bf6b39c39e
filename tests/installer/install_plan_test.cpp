// The install plan: what goes where, the tool and its parameters by Windows
// kind, the device key, and the folders a destination needs.
#include <gtest/gtest.h>

#include "install_plan.h"

namespace {

TEST(InstallPlan, ThirteenCopiesInOrderAndTheToolsStayInTemp) {
  const auto Jobs = CopyJobs("T:\\tmp\\", "C:\\WINDOWS\\system32\\", "C:\\Program Files\\Quorvale\\Desktop\\");
  const char* const Expected[][2] = {
      {"T:\\tmp\\Quorvale.exe", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.exe"},
      {"T:\\tmp\\Quorvale.en", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.en"},
      {"T:\\tmp\\Quorvale.nl", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.nl"},
      {"T:\\tmp\\Quorvale.fr", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.fr"},
      {"T:\\tmp\\Quorvale.it", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.it"},
      {"T:\\tmp\\Quorvale.es", "C:\\Program Files\\Quorvale\\Desktop\\Quorvale.es"},
      {"T:\\tmp\\QVProt.dll", "C:\\WINDOWS\\system32\\QVProt.dll"},
      {"T:\\tmp\\ThemedDLL.dll", "C:\\WINDOWS\\system32\\ThemedDLL.dll"},
      {"T:\\tmp\\wdlib.dll", "C:\\WINDOWS\\system32\\wdlib.dll"},
      {"T:\\tmp\\wd_utils.dll", "C:\\WINDOWS\\system32\\wd_utils.dll"},
      {"T:\\tmp\\windrvr6.sys", "C:\\Program Files\\Quorvale\\Desktop\\USBDriver\\windrvr6.sys"},
      {"T:\\tmp\\windrvr6.inf", "C:\\Program Files\\Quorvale\\Desktop\\USBDriver\\windrvr6.inf"},
      {"T:\\tmp\\Quorvale.inf", "C:\\Program Files\\Quorvale\\Desktop\\USBDriver\\Quorvale.inf"},
  };
  ASSERT_EQ(Jobs.size(), 13u);
  for (size_t I = 0; I < Jobs.size(); ++I) {
    EXPECT_EQ(Jobs[I].Source, Expected[I][0]) << I;
    EXPECT_EQ(Jobs[I].Dest, Expected[I][1]) << I;
  }
  EXPECT_STREQ(Payload[8].FileName, "wdreg16.exe");
  EXPECT_STREQ(Payload[9].FileName, "wdreg_gui.exe");
}

TEST(InstallPlan, ToolAndDeviceInfByWindowsKind) {
  const struct {
    TOSKind Kind;
    const char* Tool;
    bool DeviceInf;
  } Cases[] = {{os98, "WDREG16.EXE", false},   {osME, "WDREG16.EXE", false},  {os2000, "WDREG_GUI.EXE", true},
               {osXP, "WDREG_GUI.EXE", true},  {osUnknown, "WDREG_GUI.EXE", true}};
  for (const auto& C : Cases) {
    EXPECT_STREQ(RegistrationTool(C.Kind), C.Tool) << int(C.Kind);
    EXPECT_EQ(RegistersDeviceInf(C.Kind), C.DeviceInf) << int(C.Kind);
  }
  EXPECT_EQ(RegistrationParameters("C:\\P F\\Quorvale\\Desktop\\", KernelDriverInf),
            " -inf \"C:\\P F\\Quorvale\\Desktop\\USBDriver\\windrvr6.inf\" -silent install");
  EXPECT_EQ(DeviceInfPath("C:\\X\\"), "C:\\X\\USBDriver\\Quorvale.inf");
}

TEST(InstallPlan, DeviceKeyIsRelativeWithUpperCaseIds) {
  // A leading backslash would make the registry refuse the key every time.
  EXPECT_EQ(DeviceKeyPath(0x5a3c, 0x0101), "System\\CurrentControlSet\\Enum\\USB\\Vid_5A3C&Pid_0101");
  EXPECT_EQ(DeviceKeyPath(0x0001, 0xABCD), "System\\CurrentControlSet\\Enum\\USB\\Vid_0001&Pid_ABCD");
}

TEST(InstallPlan, FolderChainOutermostFirstWithoutDriveOrShare) {
  using V = std::vector<std::string>;
  EXPECT_EQ(FolderChain("C:\\Program Files\\Quorvale\\Desktop\\USBDriver\\"),
            (V{"C:\\Program Files", "C:\\Program Files\\Quorvale", "C:\\Program Files\\Quorvale\\Desktop",
               "C:\\Program Files\\Quorvale\\Desktop\\USBDriver"}));
  EXPECT_EQ(FolderChain("C:\\"), V{});
  EXPECT_EQ(FolderChain("C:\\a"), V{"C:\\a"});
  EXPECT_EQ(FolderChain("\\\\host\\share\\a\\b\\"), (V{"\\\\host\\share\\a", "\\\\host\\share\\a\\b"}));
  EXPECT_EQ(FolderChain("\\\\host\\share\\"), V{});
  EXPECT_EQ(FolderChain("a\\b\\"), (V{"a", "a\\b"}));
  EXPECT_EQ(FolderChain("C:\\a\\\\b\\"), (V{"C:\\a", "C:\\a\\\\b"})) << "a doubled backslash is no folder";
  EXPECT_EQ(FolderOf("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(FolderOf("b.txt"), "");
}

TEST(InstallPlan, MessageTitleIsTheProgramsNameInLowerCaseAfterItsFirstLetter) {
  EXPECT_EQ(MessageTitle("C:\\Setup Files\\INSTALL.EXE"), "Install");
  EXPECT_EQ(MessageTitle("Z:\\x.y\\install.exe"), "install");
  EXPECT_EQ(MessageTitle("Install"), "Install");
}

}  // namespace
