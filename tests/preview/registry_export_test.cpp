#include <gtest/gtest.h>

#include "preview/exceptions.h"
#include "preview/registry_export.h"
#include "preview/registry_key.h"
#include "temp_folder.h"

using BrenlowSoftware::CRegKey;
using BrenlowSoftware::CRegKeyException;

namespace {

std::string Utf16Export(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

std::string ErrorOf(const std::string& bytes) {
  TempFolder folder;
  std::string path = folder.Write("x.reg", bytes);
  try {
    ReadRegistryExport(path);
  } catch (const ExceptionBase& e) {
    std::string message = e.what();
    return message.substr(message.find(".reg") + 4);
  }
  return "no error";
}

class RegistryExportTest : public ::testing::Test {
 protected:
  CRegKey Machine(const std::string& bytes) {
    root_ = ReadRegistryExport(folder_.Write("x.reg", bytes));
    return CRegKey::LocalMachine(*root_);
  }
  TempFolder folder_;
  std::unique_ptr<RegistryNode> root_;
};

TEST_F(RegistryExportTest, VersionFiveReadsEveryValueForm) {
  CRegKey key = Machine(Utf16Export("Windows Registry Editor Version 5.00\r\n\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n"
                                    "@=\"default\"\r\n"
                                    "\"Quoted\"=\"say \\\"hi\\\" C:\\\\dir\"\r\n"
                                    "\"Number\"=dword:0000001f\r\n"
                                    "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                    "\"Binary\"=hex:01,02,\\\r\n"
                                    "  03\r\n"
                                    "; a comment\r\n"
                                    "\"Lines\"=\"one\nt\\\\wo\n\"\r\n"))
                    .OpenKey("software\\TEST");
  std::string text;
  EXPECT_TRUE(key.ReadString("", text, "x"));
  EXPECT_EQ(text, "default");
  EXPECT_EQ(key.ReadString("quoted"), "say \"hi\" C:\\dir");
  EXPECT_EQ(key.ReadString("Expand"), "%A%");
  EXPECT_EQ(key.ReadString("Lines"), "one\nt\\wo\n");
  uint32_t number = 0;
  EXPECT_TRUE(key.ReadDword("Number", number, 0));
  EXPECT_EQ(number, 31u);
  const RegistryNode* node =
      root_->FindSubkey("HKEY_LOCAL_MACHINE")->FindSubkey("Software")->FindSubkey("Test");
  const RegistryValue* multi = node->FindValue("Multi");
  ASSERT_NE(multi, nullptr);
  EXPECT_EQ(multi->type, kRegMultiSz);
  EXPECT_EQ(multi->data, std::string("a\0b\0\0", 5));
  const RegistryValue* binary = node->FindValue("Binary");
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(binary->data, "\x01\x02\x03");
}

TEST_F(RegistryExportTest, Regedit4IsEightBitAndDeletionsApply) {
  CRegKey machine = Machine(
      "REGEDIT4\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\A\\Gone]\r\n"
      "\"x\"=\"1\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n"
      "\"Name\"=\"caf\xE9\"\r\n"
      "\"Path\"=hex(2):43,3a,5c,00\r\n"
      "\"Old\"=\"1\"\r\n"
      "\"Old\"=-\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\A\\Gone]\r\n"
      "\"ignored\"=\"in a deleted key\"\r\n");
  CRegKey key = machine.OpenKey("Software\\A");
  EXPECT_EQ(key.ReadString("Name"), "caf\xC3\xA9");
  EXPECT_EQ(key.ReadString("Path"), "C:\\");
  std::string text;
  EXPECT_FALSE(key.ReadString("Old", text, "fallback"));
  EXPECT_EQ(text, "fallback");
  EXPECT_FALSE(key.SubkeyExists("Gone"));
}

TEST_F(RegistryExportTest, ThirtyTwoBitViewPrefersWow6432NodeWhenTheExportHasIt) {
  const std::string keys =
      "REGEDIT4\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenlow]\r\n\"Where\"=\"64\"\r\n";
  EXPECT_EQ(Machine(keys).OpenKey("Software\\Brenlow").ReadString("Where"), "64");
  CRegKey machine = Machine(
      keys + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Brenlow]\r\n\"Where\"=\"32\"\r\n");
  EXPECT_EQ(machine.OpenKey("Software\\Brenlow").ReadString("Where"), "32");
  EXPECT_EQ(machine.OpenKey("Software").OpenKey("Brenlow").ReadString("Where"), "32");
}

TEST_F(RegistryExportTest, KeyFailuresCarryTheSystemsCodesAndTexts) {
  CRegKey machine = Machine(
      "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\K]\r\n\"D\"=dword:1\r\n\"S\"=\"s\"\r\n"
      "\"Long\"=\"" +
      std::string(300, 'x') + "\"\r\n");
  CRegKey key = machine.OpenKey("Software\\K");
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const CRegKeyException& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { machine.OpenKey("Software\\Missing"); }),
            "Failed to open key 'Software\\Missing', 2 - The system cannot find the file "
            "specified.");
  EXPECT_EQ(message([&] { key.ReadString("D"); }),
            "Failed to query value 'D', 13 - The data is invalid.");
  EXPECT_EQ(message([&] { key.ReadString("Nothing"); }),
            "Failed to query value 'Nothing', 2 - The system cannot find the file specified.");
  EXPECT_EQ(message([&] {
              uint32_t n;
              key.ReadDword("S", n, 0);
            }),
            "Failed to query value 'S', 13 - The data is invalid.");
  EXPECT_EQ(message([&] { machine.SubkeyExists("\\Software"); }),
            "Failed while checking for existence of subkey '\\Software', 161 - The specified "
            "path is invalid.");
  try {
    key.OpenKey("Nothing");
  } catch (const CRegKeyException& e) {
    EXPECT_EQ(e.Code(), 2);
  }
  EXPECT_EQ(key.ReadString("Long"), std::string(300, 'x'));  // past the first 200-byte read

  uint32_t index = 0;
  std::string name, text;
  EXPECT_EQ(message([&] { key.EnumValue(index, name, text); }),
            "Failed to enumerate key, 13 - The data is invalid.");
  index = 1;
  EXPECT_TRUE(key.EnumValue(index, name, text));
  EXPECT_EQ(name, "S");
  EXPECT_EQ(index, 2u);
  index = 3;
  EXPECT_FALSE(key.EnumValue(index, name, text));
}

TEST(RegistryExportErrors, NameTheFileTheLineAndTheFault) {
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"open\r\n"),
            "', line 3: unterminated string");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=hex:01,zz\r\n"),
            "', line 3: bad hex byte \"zz\"");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=hex:01,\\"),
            "', line 3: truncated: the hex value goes on past the end of the file");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=dword:123456789\r\n"),
            "', line 3: bad dword value \"dword:123456789\"");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n"),
            "', line 2: key name without a closing \"]\"");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_NOWHERE\\A]\r\n"),
            "', line 2: unknown root key \"HKEY_NOWHERE\"");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n\"v\"=\"1\"\r\n"), "', line 2: value outside a key");
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\nv=1\r\n"),
            "', line 3: not a key, a value or a comment");
  EXPECT_EQ(ErrorOf(Utf16Export("Windows Registry Editor Version 5.00\r\n") + "x"),
            "' is truncated: it ends in half a UTF-16 unit");
  EXPECT_EQ(
      ErrorOf(Utf16Export("Windows Registry Editor Version 5.00\r\n") + std::string("\x00\xD8", 2)),
      "' is not valid UTF-16");
  // A version 5 export saved as UTF-16 without its byte-order mark.
  EXPECT_EQ(ErrorOf(Utf16Export("Windows Registry Editor Version 5.00\r\n").substr(2)),
            "' does not begin with \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
  EXPECT_EQ(ErrorOf(Utf16Export("Windows Registry Editor Version 5.00\r\n"
                                "[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=hex(2):41,00,42\r\n")),
            "', line 3: odd number of bytes in a UTF-16 string value");
}

TEST(RegistryExportErrors, SizesAreBounded) {
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"" +
                    std::string(size_t{2} << 20, 'x') + "\"\r\n"),
            "', line 3: value larger than 1 MiB");
  TempFolder folder;
  std::string path = folder.Write("big.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"" +
                                                 std::string(size_t{50} << 20, 'x') + "\"\r\n");
  try {
    ReadRegistryExport(path);
    FAIL() << "a 50 MB export was read";
  } catch (const ExceptionBase& e) {
    EXPECT_EQ(std::string(e.what()), "File '" + path + "' is larger than 32 MiB");
  }
  try {
    ReadRegistryExport(folder.Path() + "/missing.reg");
    FAIL() << "a missing export was read";
  } catch (const ExceptionBase& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot read registry export '" + folder.Path() + "/missing.reg'");
  }
}

}  // namespace
