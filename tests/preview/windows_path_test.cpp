#include <gtest/gtest.h>

#include "preview/exceptions.h"
#include "preview/windows_path.h"
#include "temp_folder.h"

namespace {

TEST(JoinWindowsPath, FollowsTheGatewaysRules) {
  EXPECT_EQ(JoinWindowsPath("", "Config"), "Config");
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane", "Config"), "C:\\Corvane\\Config");
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane\\", "Config"), "C:\\Corvane\\Config");
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane", "D:\\Other"), "D:\\Other");
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane", "\\\\server\\share\\x"), "\\\\server\\share\\x");
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane", "\\Config"), "C:\\Config");
  EXPECT_EQ(JoinWindowsPath("\\\\srv\\share\\Corvane", "/Config"), "\\\\srv\\share/Config");
  // Too short to be rooted: appended.
  EXPECT_EQ(JoinWindowsPath("C:\\Corvane", "\\x"), "C:\\Corvane\\x");
  EXPECT_EQ(JoinWindowsPath("Corvane", "Config"), "Corvane\\Config");
  try {
    JoinWindowsPath("Corvane", "\\Config");
    FAIL();
  } catch (const ExceptionBase& e) {
    EXPECT_STREQ(e.what(), "Invalid base path <Corvane>");
  }
}

TEST(DriveMap, ResolvesComponentsWithoutRegardToCaseAndStaysOnTheDrive) {
  TempFolder disk;
  disk.Write("Program Files/Corvane/CONFIG/a.xml", "");
  DriveMap drives;
  drives.Map('c', disk.Path());
  EXPECT_EQ(drives.LocalPath("C:\\program files\\corvane\\Config"),
            disk.Path() + "/Program Files/Corvane/CONFIG");
  EXPECT_EQ(drives.LocalPath("c:/PROGRAM FILES/x/../Corvane/config/A.XML"),
            disk.Path() + "/Program Files/Corvane/CONFIG/a.xml");
  EXPECT_EQ(drives.LocalPath("C:\\..\\..\\Program Files"), disk.Path() + "/Program Files");
  EXPECT_EQ(drives.LocalPath("C:\\Missing\\Config"), disk.Path() + "/Missing/Config");
  EXPECT_EQ(drives.LocalPath("Config"), "./Config");
}

TEST(DriveMap, RefusesWhatItCannotRead) {
  DriveMap drives;
  auto message = [&](const std::string& path) {
    try {
      drives.LocalPath(path);
    } catch (const ExceptionBase& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("D:\\Corvane"),
            "Drive D: of 'D:\\Corvane' is not mapped to a folder (use --drive D:=DIR)");
  EXPECT_EQ(message("\\\\server\\share"),
            "Cannot read the network path '\\\\server\\share': copy it to a folder and map a "
            "drive to that folder with --drive");
  EXPECT_EQ(message("\\Corvane"), "Path '\\Corvane' names no drive");
}

TEST(ListXmlFiles, MatchesTheExtensionInAnyCaseInUpperCaseNameOrder) {
  TempFolder folder;
  for (const char* name : {"b.xml", "A.XML", "c.Xml", "notes.txt", "d.xml.bak", "_x.xml"}) {
    folder.Write(name, "");
  }
  folder.Write("dir.xml/inside.xml", "");
  EXPECT_EQ(ListXmlFiles(folder.Path()),
            (std::vector<std::string>{"A.XML", "b.xml", "c.Xml", "_x.xml"}));
  EXPECT_TRUE(ListXmlFiles(folder.Path() + "/missing").empty());
}

}  // namespace
